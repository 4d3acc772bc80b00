// The automation properties: declaration order, every write's side effect on the child
// controls and its notification, the language rule and refused settings.
#include "Control/core/PelmoraC02.h"
#include "Control/properties/ButtonProperties.h"
#include "platform/chart/Chart2D.h"
#include "platform/chart/Chart3D.h"
#include "platform/grid/FlexGrid.h"
#include "platform/grid/OleColor.h"
#include "platform/runtime/Error.h"
#include "platform/widgets/ElasticPanel.h"
#include "platform/widgets/ImageList.h"
#include "platform/widgets/Toolbar.h"
#include "tests/Control/properties/PropertyTestSupport.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QMetaEnum>
#include <QMetaProperty>

#include <functional>

using platform::grid::FlexGrid;
using propertytest::Notifications;

namespace {

QList<FlexGrid *> grids(const PelmoraC02 &control)
{
    return {control.grdTitulos, control.grdResults};
}

QStringList toolTips(const PelmoraC02 &control)
{
    QStringList tips;
    for (int i = 1; i <= control.tbToolBar->buttonCount(); ++i)
        tips << control.tbToolBar->button(i)->toolTipText();
    return tips;
}

} // namespace

TEST(PublicProperties, AreDeclaredInTheOrderOfTheirDispatchIds)
{
    const QMetaObject &meta = PelmoraC02::staticMetaObject;
    QStringList declared;
    for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i)
        declared << QString::fromLatin1(meta.property(i).name());
    EXPECT_EQ(declared, propertytest::publicPropertyNames());
    EXPECT_EQ(declared.size(), 70);
    for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i) {
        EXPECT_TRUE(meta.property(i).isWritable()) << meta.property(i).name();
        EXPECT_TRUE(meta.property(i).isReadable()) << meta.property(i).name();
    }
    // The attribute properties of the fonts are no automation properties.
    EXPECT_EQ(meta.indexOfProperty("FontBold"), -1);
    EXPECT_EQ(meta.indexOfProperty("FontDataName"), -1);
}

TEST(PublicProperties, TheEnumerationsAreKnownByName)
{
    const struct
    {
        const char *enumeration;
        QList<QPair<const char *, int>> members;
    } cases[] = {
        {"pelmoraLanguageIds", {{"English", 0}, {"Spanish", 1}}},
        {"pelmoraValueTypes",
         {{"pelmoraVTNormal", 0}, {"pelmoraVTPositiveNegative", 1}, {"pelmoraVTSemaphore", 2}}},
        {"pelmoraAppearanceSettings",
         {{"pelmoraFlat", 0}, {"pelmora3D", 1}, {"pelmora3DLight", 2}}},
    };
    const QMetaObject &meta = pelmora::staticMetaObject;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.enumeration);
        const int index = meta.indexOfEnumerator(c.enumeration);
        ASSERT_GE(index, 0);
        const QMetaEnum e = meta.enumerator(index);
        ASSERT_EQ(e.keyCount(), c.members.size());
        for (int k = 0; k < e.keyCount(); ++k) {
            EXPECT_STREQ(e.key(k), c.members[k].first);
            EXPECT_EQ(e.value(k), c.members[k].second);
        }
    }
}

// Each property written by name as a container does: it reads back, reaches the child
// controls, and is announced once under its name.
TEST(PublicProperties, EachWriteReachesTheChildrenAndIsAnnounced)
{
    using Check = std::function<void(PelmoraC02 &)>;
    const auto member = [](auto get, auto expected) {
        return Check([get, expected](PelmoraC02 &c) { EXPECT_EQ(get(c), expected); });
    };
    const auto onGrids = [](auto get, auto expected) {
        return Check([get, expected](PelmoraC02 &c) {
            for (FlexGrid *grid : grids(c))
                EXPECT_EQ(get(*grid), expected) << grid->objectName().toStdString();
        });
    };
    const auto labelColour = [](QPalette::ColorRole role, int ole) {
        return Check([role, ole](PelmoraC02 &c) {
            EXPECT_EQ(c.lblCubo->palette().color(role), platform::grid::oleToColor(ole));
        });
    };
    const auto both = [](Check a, Check b) {
        return Check([a, b](PelmoraC02 &c) {
            a(c);
            b(c);
        });
    };
    const struct
    {
        const char *property;
        QVariant value;
        Check effect;
        const char *notification;
    } cases[] = {
        {"VisibleTitle", false, [](PelmoraC02 &c) { EXPECT_TRUE(c.lblCubo->isHidden()); },
         "VisibleTitle"},
        {"VisibleHeading", false, [](PelmoraC02 &c) { EXPECT_TRUE(c.grdTitulos->isHidden()); },
         "VisibleHeading"},
        {"VisibleMatrix", false, [](PelmoraC02 &c) { EXPECT_TRUE(c.grdResults->isHidden()); },
         "VisibleMatrix"},
        {"VisibleChart", false,
         [](PelmoraC02 &c) {
             // Both charts, where the control has them.
             if (c.grf2d) {
                 EXPECT_TRUE(c.grf2d->isHidden());
             }
             if (c.grf3d) {
                 EXPECT_TRUE(c.grf3d->isHidden());
             }
         },
         "VisibleChart"},
        {"VisibleToolBar", false, [](PelmoraC02 &c) { EXPECT_TRUE(c.tbToolBar->isHidden()); },
         "VisibleToolBar"},
        {"OpenServer", "olap1",
         member([](PelmoraC02 &c) { return c.openParams.OpenServer; }, QString("olap1")),
         "OpenServer"},
        {"OpenDB", "FoodMart",
         member([](PelmoraC02 &c) { return c.openParams.OpenDB; }, QString("FoodMart")), "OpenDB"},
        {"openCube", "Sales",
         member([](PelmoraC02 &c) { return c.openParams.openCube; }, QString("Sales")), "OpenCube"},
        {"OpenFile", "/c/s.cub",
         member([](PelmoraC02 &c) { return c.openParams.OpenFile; }, QString("/c/s.cub")),
         "OpenFile"},
        {"OpenWWWDir", "http://h/s.cub",
         member([](PelmoraC02 &c) { return c.openParams.OpenWWWDir; }, QString("http://h/s.cub")),
         "OpenWWWDir"},
        {"OpenView", "/v/a.vcg",
         member([](PelmoraC02 &c) { return c.openParams.OpenView; }, QString("/v/a.vcg")),
         "OpenView"},
        {"MDX", "SELECT FROM [Sales]",
         member([](PelmoraC02 &c) { return c.openParams.MDX; }, QString("SELECT FROM [Sales]")),
         "MDX"},
        {"ValueType", 2, member([](PelmoraC02 &c) { return c.valueFormat.ValueType; }, 2),
         "ValueType"},
        {"SemaphoreMinValue", 10.5,
         member([](PelmoraC02 &c) { return c.valueFormat.SemaphoreMinValue; }, 10.5),
         "SemaphoreMinValue"},
        {"SemaphoreMaxValue", 2000.25,
         member([](PelmoraC02 &c) { return c.valueFormat.SemaphoreMaxValue; }, 2000.25),
         "SemaphoreMaxValue"},
        {"ThresholdMinBackColor", 0xFF0000,
         member([](PelmoraC02 &c) { return c.valueFormat.ThresholdMinBackColor; }, 0xFF0000),
         "ThresholdMinBackColor"},
        {"ThresholdMedBackColor", 0x00FF00,
         member([](PelmoraC02 &c) { return c.valueFormat.ThresholdMedBackColor; }, 0x00FF00),
         "ThresholdMedBackColor"},
        {"ThresholdMaxBackColor", 0x0000FF,
         member([](PelmoraC02 &c) { return c.valueFormat.ThresholdMaxBackColor; }, 0x0000FF),
         "ThresholdMaxBackColor"},
        {"ThresholdMinForeColor", 1,
         member([](PelmoraC02 &c) { return c.valueFormat.ThresholdMinForeColor; }, 1),
         "ThresholdMinForeColor"},
        {"ThresholdMedForeColor", 2,
         member([](PelmoraC02 &c) { return c.valueFormat.ThresholdMedForeColor; }, 2),
         "ThresholdMedForeColor"},
        {"ThresholdMaxForeColor", 3,
         member([](PelmoraC02 &c) { return c.valueFormat.ThresholdMaxForeColor; }, 3),
         "ThresholdMaxForeColor"},
        {"Interactive", false,
         member([](PelmoraC02 &c) { return c.controlFlags.Interactive; }, false), "Interactive"},
        {"Caption", "Sales by store",
         [](PelmoraC02 &c) { EXPECT_EQ(c.lblCubo->text(), "Sales by store"); }, "Caption"},
        {"BackColorData", 0x0000FF, onGrids([](FlexGrid &g) { return g.backColor(); }, 0x0000FF),
         "BackColorData"},
        {"BackColorSubtotal", 0x123456,
         member([](PelmoraC02 &c) { return c.gridFormat.BackColorSubtotal; }, 0x123456),
         "BackColorSubtotal"},
        {"BackColorDataSubtotal", 0x654321,
         member([](PelmoraC02 &c) { return c.gridFormat.BackColorDataSubtotal; }, 0x654321),
         "BackColorDataSubtotal"},
        {"BackColor", 0x00FF00,
         both(labelColour(QPalette::Window, 0x00FF00),
              onGrids([](FlexGrid &g) { return g.backColorFixed(); }, 0x00FF00)),
         "BackColor"},
        {"ForeColorData", 0xFF0000, onGrids([](FlexGrid &g) { return g.foreColor(); }, 0xFF0000),
         "ForeColorData"},
        {"ForeColorSubtotal", 0x111111,
         member([](PelmoraC02 &c) { return c.gridFormat.ForeColorSubtotal; }, 0x111111),
         "ForeColorSubtotal"},
        {"ForeColorDataSubtotal", 0x222222,
         member([](PelmoraC02 &c) { return c.gridFormat.ForeColorDataSubtotal; }, 0x222222),
         "ForeColorDataSubtotal"},
        {"ForeColor", 0x0000FF,
         both(labelColour(QPalette::WindowText, 0x0000FF),
              onGrids([](FlexGrid &g) { return g.foreColorFixed(); }, 0x0000FF)),
         "ForeColor"},
        {"GridColorData", 0x333333, onGrids([](FlexGrid &g) { return g.gridColor(); }, 0x333333),
         "GridColorData"},
        {"GridColor", 0x444444, onGrids([](FlexGrid &g) { return g.gridColorFixed(); }, 0x444444),
         "GridColor"},
        {"WordWrap", true, onGrids([](FlexGrid &g) { return g.wordWrap(); }, true), "WordWrap"},
        {"Appearance", 0, onGrids([](FlexGrid &g) { return g.appearance(); }, 0), "Appearance"},
        {"DataFormat", "0.00",
         member([](PelmoraC02 &c) { return c.gridFormat.DataFormat; }, QString("0.00")),
         "DataFormat"},
        {"GridLinesData", 3, onGrids([](FlexGrid &g) { return g.gridLines(); }, 3),
         "GridLinesData"},
        {"GridLines", 4, onGrids([](FlexGrid &g) { return g.gridLinesFixed(); }, 4), "GridLines"},
        {"GridLinesWidth", 3, onGrids([](FlexGrid &g) { return g.gridLineWidth(); }, 3),
         "GridLinesWidth"},
        {"FormatSubtotal", true,
         member([](PelmoraC02 &c) { return c.gridFormat.FormatSubtotal; }, true), "FormatSubtotal"},
        {"FormatSubtotalLevel", 3,
         member([](PelmoraC02 &c) { return c.gridFormat.FormatSubtotalLevel; }, 3),
         "FormatSubtotalLevel"},
        {"PreviewComment", "abc",
         member([](PelmoraC02 &c) { return c.previewOptions.PreviewComment; }, QString("abc")),
         "PreviewComment"},
        {"PreviewHeaderAndFooter", false,
         member([](PelmoraC02 &c) { return c.previewOptions.PreviewHeaderAndFooter; }, false),
         "PreviewHeaderAndFooter"},
        {"PreviewComments", true,
         member([](PelmoraC02 &c) { return c.previewOptions.PreviewComments; }, true),
         "PreviewComments"},
        {"PreviewTitle", false,
         member([](PelmoraC02 &c) { return c.previewOptions.PreviewTitle; }, false),
         "PreviewTitle"},
        {"PreviewHeadings", false,
         member([](PelmoraC02 &c) { return c.previewOptions.PreviewHeadings; }, false),
         "PreviewHeadings"},
        {"PreviewData", false,
         member([](PelmoraC02 &c) { return c.previewOptions.PreviewData; }, false), "PreviewData"},
        {"PreviewChart", false,
         member([](PelmoraC02 &c) { return c.previewOptions.PreviewChart; }, false),
         "PreviewChart"},
        {"PreviewChartInNewPage", true,
         member([](PelmoraC02 &c) { return c.previewOptions.PreviewChartInNewPage; }, true),
         "PreviewChartInNewPage"},
        {"PreviewBW", true, member([](PelmoraC02 &c) { return c.previewOptions.PreviewBW; }, true),
         "PreviewBW"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.property);
        PelmoraC02 control;
        Notifications notified(control);
        ASSERT_TRUE(control.setProperty(c.property, c.value));
        EXPECT_EQ(control.property(c.property), c.value);
        c.effect(control);
        EXPECT_EQ(notified.names(), QStringList{c.notification});
    }
}

TEST(PublicProperties, ButtonPropertiesAreTheButtonsOwnVisibility)
{
    for (const pelmora::ButtonProperty &button : pelmora::buttonProperties) {
        SCOPED_TRACE(button.property);
        PelmoraC02 control;
        platform::widgets::ToolbarButton *item = control.tbToolBar->button(button.index);
        EXPECT_EQ(item->key(), button.key);
        for (bool visible : {false, true}) {
            Notifications notified(control);
            ASSERT_TRUE(control.setProperty(button.property, visible));
            EXPECT_EQ(item->isVisible(), visible);
            EXPECT_EQ(notified.names(), QStringList{button.property});
        }
        // No member: a change made to the button shows through the property.
        item->setVisible(false);
        EXPECT_FALSE(control.property(button.property).toBool());
    }
}

TEST(PublicProperties, EnabledReachesTheControlAndItsChildren)
{
    PelmoraC02 control;
    Notifications notified(control);
    const QList<QWidget *> children{&control,           control.lblCubo,    control.el1,
                                    control.grdTitulos, control.grdResults, control.tbToolBar};
    control.setProperty("Enabled", false);
    for (QWidget *w : children) {
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
        // Each one is disabled itself, not only through its parent.
        EXPECT_TRUE(w->testAttribute(Qt::WA_ForceDisabled)) << w->objectName().toStdString();
    }
    EXPECT_FALSE(control.property("Enabled").toBool());
    control.setProperty("Enabled", true);
    for (QWidget *w : children)
        EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_EQ(notified.names(), QStringList({"Enabled", "Enabled"}));
    // The read is the member, whatever the window's own state.
    control.setEnabled(false);
    EXPECT_TRUE(control.property("Enabled").toBool());
}

TEST(PublicProperties, LanguageIdIsEnglishUnlessExactlySpanish)
{
    // clang-format off
    const QStringList english{"Open cube", "View Save", "View print", "View export",
                              "Copy data to clipboard", "MDX Direct screen",
                              "Show / hide screen elements", "Show 2D chart", "Show 3D chart",
                              "Swap XY axis", "Changes cube layout", "Changes dimension options",
                              "Changes cube format options", "Shows about me screen..."};
    // clang-format on
    const auto buttonTips = [](const PelmoraC02 &c) {
        QStringList tips;
        for (const pelmora::ButtonProperty &button : pelmora::buttonProperties)
            tips << c.tbToolBar->button(button.index)->toolTipText();
        return tips;
    };
    for (int value : {7, -1, 0}) {
        SCOPED_TRACE(value);
        PelmoraC02 control;
        Notifications notified(control);
        control.setProperty("LanguageID", value);
        EXPECT_EQ(control.property("LanguageID").toInt(), 0);
        EXPECT_EQ(buttonTips(control), english);
        EXPECT_EQ(notified.names(), QStringList{"LanguageID"});
    }
    PelmoraC02 control;
    const QStringList built = toolTips(control);
    EXPECT_NE(buttonTips(control), english);
    control.setProperty("LanguageID", 1);
    EXPECT_EQ(control.property("LanguageID").toInt(), 1);
    EXPECT_EQ(toolTips(control), built);
    // After English, Spanish keeps the English tooltips.
    control.setProperty("LanguageID", 0);
    control.setProperty("LanguageID", 1);
    EXPECT_EQ(buttonTips(control), english);
}

TEST(PublicProperties, CaptionAndWordWrapReadTheChildren)
{
    PelmoraC02 control;
    control.setProperty("Caption", "Sales");
    control.lblCubo->setText("Changed elsewhere");
    EXPECT_EQ(control.property("Caption").toString(), "Changed elsewhere");
    control.grdResults->setWordWrap(true);
    EXPECT_TRUE(control.property("WordWrap").toBool());
}

TEST(PublicProperties, VisibleChartWithoutChartsStillStores)
{
    PelmoraC02 control;
    Notifications notified(control);
    control.grf2d = nullptr;
    control.grf3d = nullptr;
    control.setVisibleChart(false);
    EXPECT_FALSE(control.visibleChart());
    control.setVisibleChart(true);
    EXPECT_TRUE(control.visibleChart());
    EXPECT_EQ(notified.names(), QStringList({"VisibleChart", "VisibleChart"}));
}

// A setting a grid refuses propagates after the member was stored; nothing is announced.
TEST(PublicProperties, ARefusedSettingIsNotAnnounced)
{
    const struct
    {
        const char *name;
        std::function<void(PelmoraC02 &)> write;
        std::function<int(PelmoraC02 &)> member;
        int value;
    } cases[] = {
        {"Appearance", [](PelmoraC02 &c) { c.setAppearance(9); },
         [](PelmoraC02 &c) { return c.gridFormat.Appearance; }, 9},
        {"GridLinesData", [](PelmoraC02 &c) { c.setGridLinesData(14); },
         [](PelmoraC02 &c) { return c.gridFormat.GridLinesData; }, 14},
        {"GridLines", [](PelmoraC02 &c) { c.setGridLines(-1); },
         [](PelmoraC02 &c) { return c.gridFormat.GridLines; }, -1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        PelmoraC02 control;
        Notifications notified(control);
        EXPECT_THROW(c.write(control), platform::Error);
        EXPECT_EQ(c.member(control), c.value);
        EXPECT_TRUE(notified.names().isEmpty());
    }
}
