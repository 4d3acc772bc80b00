// The control in a property bag: a new instance's defaults, the keys written in their order,
// a stored instance read back with every property and its effect on the children, partial
// and damaged bags, and the connection a stored instance makes when it is shown.
#include "Control/core/PelmoraC02.h"
#include "Control/properties/ButtonProperties.h"
#include "platform/automation/PropertyBag.h"
#include "platform/forms/FontObject.h"
#include "platform/grid/FlexGrid.h"
#include "platform/grid/OleColor.h"
#include "platform/widgets/ElasticPanel.h"
#include "platform/widgets/ImageList.h"
#include "platform/widgets/Toolbar.h"
#include "tests/Control/properties/PropertyTestSupport.h"
#include "tests/platform/olap/CubeFixtures.h"
#include "tests/support/ScriptedMsgBox.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDate>
#include <QLabel>
#include <QTemporaryDir>

using platform::automation::FilePropertyBag;
using platform::automation::MemoryPropertyBag;
using platform::forms::FontObject;
using platform::grid::FlexGrid;
using propertytest::Notifications;

namespace {

// The keys in the order of writing.
const QStringList &bagKeys()
{
    // clang-format off
    static const QStringList keys{
        "VisibleTitle", "VisibleHeading", "VisibleMatrix", "VisibleChart", "VisibleToolBar",
        "VisibleButtonOpen", "VisibleButtonSave", "VisibleButtonPrint", "VisibleButtonCopy",
        "VisibleButtonDirectMDX", "VisibleButtonShowElements", "VisibleButtonChart2d",
        "VisibleButtonChart3d", "VisibleButtonSwapXY", "VisibleButtonLayout",
        "VisibleButtonDimension", "VisibleButtonFormat", "VisibleButtonAbout", "LanguageID",
        "OpenServer", "OpenDB", "OpenCube", "OpenFile", "OpenWWWDir", "OpenView", "MDX",
        "ValueType", "SemaphoreMinValue", "SemaphoreMaxValue", "ThresholdMinBackColor",
        "ThresholdMedBackColor", "ThresholdMaxBackColor", "ThresholdMinForeColor",
        "ThresholdMedForeColor", "ThresholdMaxForeColor", "Interactive", "Enabled", "Caption",
        "FontBold", "FontCharSet", "FontItalic", "FontName", "FontSize", "FontStrikeThrough",
        "FontUnderline", "FontWeight", "FontDataBold", "FontDataItalic", "FontDataName",
        "FontDataSize", "FontDataUnderline", "FontSubtotalBold", "FontSubtotalItalic",
        "FontSubtotalName", "FontSubtotalSize", "FontSubtotalUnderline", "FontDataSubtotalBold",
        "FontDataSubtotalItalic", "FontDataSubtotalName", "FontDataSubtotalSize",
        "FontDataSubtotalUnderline", "BackColorData", "BackColor", "BackColorDataSubtotal",
        "BackColorSubtotal", "ForeColorData", "ForeColor", "ForeColorDataSubtotal",
        "ForeColorSubtotal", "GridColorData", "GridColor", "WordWrap", "Appearance",
        "DataFormat", "GridLinesData", "GridLines", "GridLinesWidth", "FormatSubtotal",
        "FormatSubtotalLevel", "PreviewComment", "PreviewHeaderAndFooter", "PreviewComments",
        "PreviewTitle", "PreviewHeadings", "PreviewData", "PreviewChart",
        "PreviewChartInNewPage", "PreviewBW"};
    // clang-format on
    return keys;
}

const QStringList fontProperties{"Font", "FontData", "FontSubtotal", "FontDataSubtotal"};

FontObject *fontIn(PelmoraC02 &control, const QString &property)
{
    return qobject_cast<FontObject *>(
        control.property(property.toLatin1().constData()).value<QObject *>());
}

QVariant fontValue(QObject *font)
{
    return QVariant::fromValue(font);
}

// Every property but VisibleButtonExport away from its default, each font unlike the others.
void changeEverything(PelmoraC02 &c)
{
    const QList<QPair<const char *, QVariant>> values{
        {"VisibleTitle", false},
        {"VisibleHeading", false},
        {"VisibleMatrix", false},
        {"VisibleChart", false},
        {"VisibleToolBar", true},
        {"VisibleButtonOpen", false},
        {"VisibleButtonSave", true},
        {"VisibleButtonPrint", true},
        {"VisibleButtonCopy", true},
        {"VisibleButtonDirectMDX", true},
        {"VisibleButtonShowElements", true},
        {"VisibleButtonChart2d", true},
        {"VisibleButtonChart3d", true},
        {"VisibleButtonSwapXY", true},
        {"VisibleButtonLayout", true},
        {"VisibleButtonDimension", true},
        {"VisibleButtonFormat", true},
        {"VisibleButtonAbout", false},
        {"LanguageID", 1},
        {"OpenServer", "olap1"},
        {"OpenDB", "FoodMart"},
        {"openCube", "Sales"},
        {"OpenFile", "/c/sales.cub"},
        {"OpenWWWDir", "http://h/s.cub"},
        {"OpenView", "/v/a.vcg"},
        {"MDX", "SELECT FROM [Sales]"},
        {"ValueType", 2},
        {"SemaphoreMinValue", 10.5},
        {"SemaphoreMaxValue", 99999.75},
        {"ThresholdMinBackColor", 0xFF0000},
        {"ThresholdMedBackColor", 0xFFFF00},
        {"ThresholdMaxBackColor", int(0x80000005)},
        {"ThresholdMinForeColor", 0x00FF00},
        {"ThresholdMedForeColor", 0x0000FF},
        {"ThresholdMaxForeColor", 0},
        {"Interactive", false},
        {"Enabled", false},
        {"Caption", "Sales by store"},
        {"BackColorData", 0xF0F0F0},
        {"BackColorSubtotal", 0xA0A0A0},
        {"BackColorDataSubtotal", 0xB0B0B0},
        {"BackColor", 0xFF8000},
        {"ForeColorData", 0xFF0000},
        {"ForeColorSubtotal", 0xC00000},
        {"ForeColorDataSubtotal", 0xD00000},
        {"ForeColor", 0xE00000},
        {"GridColorData", 0x101010},
        {"GridColor", 0x202020},
        {"WordWrap", true},
        {"Appearance", 0},
        {"DataFormat", "0.00"},
        {"GridLinesData", 3},
        {"GridLines", 5},
        {"GridLinesWidth", 4},
        {"FormatSubtotal", true},
        {"FormatSubtotalLevel", 3},
        {"PreviewComment", "Quarterly"},
        {"PreviewHeaderAndFooter", false},
        {"PreviewComments", true},
        {"PreviewTitle", false},
        {"PreviewHeadings", false},
        {"PreviewData", false},
        {"PreviewChart", false},
        {"PreviewChartInNewPage", true},
        {"PreviewBW", true},
    };
    for (const auto &[name, value] : values)
        ASSERT_TRUE(c.setProperty(name, value)) << name;
    FontObject font("Courier New", 13.5, true);
    font.setItalic(true);
    font.setUnderline(true);
    font.setStrikethrough(true);
    font.setWeight(800);
    font.setCharset(2);
    c.setProperty("Font", fontValue(&font));
    // The member fonts differ from the container's in all five attributes, so that each is
    // stored.
    const QList<QPair<const char *, FontObject *>> members{
        {"FontData", new FontObject("Serif", 9.25, true, &c)},
        {"FontSubtotal", new FontObject("Monospace", 11, true, &c)},
        {"FontDataSubtotal", new FontObject("Sans", 7.5, true, &c)},
    };
    for (const auto &[name, member] : members) {
        member->setItalic(true);
        member->setUnderline(true);
        c.setProperty(name, fontValue(member));
    }
}

// What a property shows on the child controls, for comparing two controls.
struct ChildState
{
    bool captionHidden, headingsHidden, matrixHidden, toolbarHidden;
    QList<bool> buttons;
    QList<bool> enabled;
    QString captionText;
    QColor captionBack, captionFore;
    QList<QVariantList> grids;

    bool operator==(const ChildState &) const = default;
};

ChildState childState(const PelmoraC02 &c)
{
    // clang-format off
    ChildState s{c.lblCubo->isHidden(), c.grdTitulos->isHidden(), c.grdResults->isHidden(),
                 c.tbToolBar->isHidden(), {}, {}, c.lblCubo->text(),
                 // clang-format on
                 c.lblCubo->palette().color(QPalette::Window),
                 c.lblCubo->palette().color(QPalette::WindowText),
                 {}};
    for (int i = 1; i <= c.tbToolBar->buttonCount(); ++i)
        s.buttons << c.tbToolBar->button(i)->isVisible();
    for (const QWidget *w :
         {static_cast<const QWidget *>(&c), static_cast<const QWidget *>(c.lblCubo),
          static_cast<const QWidget *>(c.el1), static_cast<const QWidget *>(c.grdTitulos),
          static_cast<const QWidget *>(c.grdResults), static_cast<const QWidget *>(c.tbToolBar)})
        s.enabled << w->testAttribute(Qt::WA_ForceDisabled);
    for (const FlexGrid *g : {c.grdTitulos, c.grdResults})
        // clang-format off
        s.grids << QVariantList{g->backColor(),  g->foreColor(),      g->backColorFixed(),
                                g->foreColorFixed(), g->gridColor(),  g->gridColorFixed(),
                                g->wordWrap(),   g->appearance(),     g->gridLines(),
                                // clang-format on
                                g->gridLinesFixed(), g->gridLineWidth()};
    return s;
}

void expectSameProperties(PelmoraC02 &expected, PelmoraC02 &actual,
                          const QStringList &skip = {"VisibleButtonExport"})
{
    for (const QString &name : propertytest::publicPropertyNames()) {
        if (skip.contains(name))
            continue;
        SCOPED_TRACE(name.toStdString());
        if (fontProperties.contains(name)) {
            FontObject *e = fontIn(expected, name);
            FontObject *a = fontIn(actual, name);
            const auto text = [](const FontObject *f) {
                return QStringLiteral("%1 %2 b%3 i%4 u%5 s%6 w%7 c%8")
                    .arg(f->name())
                    .arg(f->size())
                    .arg(f->bold())
                    .arg(f->italic())
                    .arg(f->underline())
                    .arg(f->strikethrough())
                    .arg(f->weight())
                    .arg(f->charset())
                    .toStdString();
            };
            EXPECT_TRUE(e->sameAs(*a)) << text(e) << " / " << text(a);
        } else {
            EXPECT_EQ(expected.property(name.toLatin1().constData()),
                      actual.property(name.toLatin1().constData()));
        }
    }
}

} // namespace

TEST(PropertyBag, ANewInstanceTakesTheDefaults)
{
    QWidget container;
    container.setFont(QFont("Serif", 14));
    auto *control = new PelmoraC02(&container);
    control->UserControl_InitProperties();
    const QList<QPair<const char *, QVariant>> defaults{
        // clang-format off
        {"VisibleTitle", true},       {"VisibleHeading", true},     {"VisibleMatrix", true},
        {"VisibleChart", true},       {"VisibleToolBar", false},    {"VisibleButtonOpen", true},
        {"VisibleButtonSave", false}, {"VisibleButtonFormat", false},
        {"VisibleButtonAbout", true}, {"LanguageID", 0},            {"openCube", ""},
        {"MDX", ""},                  {"ValueType", 0},             {"SemaphoreMinValue", 100.0},
        {"SemaphoreMaxValue", 1000.0}, {"ThresholdMinBackColor", 0},
        {"ThresholdMaxForeColor", 0xFFFFFF}, {"Interactive", true}, {"Enabled", true},
        {"Caption", ""},              {"BackColorData", 0xFFFFFF},  {"BackColor", 0xE6E6E6},
        {"BackColorDataSubtotal", 0xFFFFFF}, {"BackColorSubtotal", 0xE6E6E6},
        {"ForeColor", 0},             {"GridColorData", 0xE6E6E6},  {"GridColor", 0xE6E6E6},
        {"WordWrap", false},          {"Appearance", 2},            {"DataFormat", "#,##0"},
        {"GridLinesData", 1},         {"GridLines", 2},             {"GridLinesWidth", 1},
        {"FormatSubtotal", false},    {"FormatSubtotalLevel", 1},   {"PreviewComment", ""},
        {"PreviewHeaderAndFooter", true}, {"PreviewComments", false},
        {"PreviewChartInNewPage", false}, {"PreviewBW", false},
        // clang-format on
    };
    for (const auto &[name, value] : defaults)
        EXPECT_EQ(control->property(name), value) << name;
    EXPECT_EQ(control->grdResults->appearance(), 2);
    EXPECT_EQ(control->grdTitulos->gridLinesFixed(), 2);
    EXPECT_TRUE(control->tbToolBar->isHidden());
    EXPECT_EQ(control->tbToolBar->button(1)->toolTipText(), "Open cube");
    // The four fonts are the container's.
    for (const QString &name : fontProperties) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(fontIn(*control, name)->name(), "Serif");
        EXPECT_EQ(fontIn(*control, name)->size(), 14);
    }
}

TEST(PropertyBag, ANewInstanceStoresOnlyWhatDiffersFromTheKeysDefaults)
{
    PelmoraC02 control;
    control.UserControl_InitProperties();
    MemoryPropertyBag bag;
    control.UserControl_WriteProperties(bag);
    EXPECT_EQ(bag.names(), QStringList{"PreviewChartInNewPage"});
    EXPECT_EQ(bag.readProperty("PreviewChartInNewPage", QVariant()), QVariant(false));
}

TEST(PropertyBag, EveryPropertyComesBackFromTheBag)
{
    testing_support::ScriptedMsgBox boxes;
    PelmoraC02 original;
    original.UserControl_InitProperties();
    changeEverything(original);
    MemoryPropertyBag bag;
    original.UserControl_WriteProperties(bag);
    // Every key is stored, in the order of writing; none for VisibleButtonExport, and
    // PreviewChartInNewPage True is its key's default.
    QStringList stored = bagKeys();
    stored.removeOne("PreviewChartInNewPage");
    EXPECT_EQ(bag.names(), stored);

    // Through the container's file too.
    QTemporaryDir dir;
    FilePropertyBag file;
    original.UserControl_WriteProperties(file);
    file.save(dir.filePath("control.json"));
    FilePropertyBag loaded;
    loaded.load(dir.filePath("control.json"));

    for (platform::automation::PropertyBag *source :
         {static_cast<platform::automation::PropertyBag *>(&bag),
          static_cast<platform::automation::PropertyBag *>(&loaded)}) {
        PelmoraC02 restored;
        restored.UserControl_ReadProperties(*source);
        expectSameProperties(original, restored);
        EXPECT_EQ(childState(original), childState(restored));
        // The whole own font, not only what Font reads.
        EXPECT_TRUE(original.controlFont->sameAs(*restored.controlFont));
        EXPECT_EQ(restored.controlFont->charset(), 2);
    }
    EXPECT_EQ(boxes.count(), 0);
}

TEST(PropertyBag, ColoursKeepAllTheirBitsAndBoundsTheirFractions)
{
    const struct
    {
        const char *property;
        QVariant value;
    } cases[] = {
        {"ThresholdMinBackColor", 0xFF0000}, // blue
        {"ThresholdMedBackColor", 0x8000},   // above 16 bits' positive range
        {"ForeColorData", 0xFF0000},
        {"ForeColor", 0xFFFFFF},
        {"ForeColorSubtotal", int(0x80000008)}, // a system colour
        {"ForeColorDataSubtotal", 0x123456},
        {"SemaphoreMinValue", 10.5},
        {"SemaphoreMaxValue", -0.25},
    };
    PelmoraC02 original;
    original.UserControl_InitProperties();
    for (const auto &c : cases)
        original.setProperty(c.property, c.value);
    MemoryPropertyBag bag;
    original.UserControl_WriteProperties(bag);
    PelmoraC02 restored;
    restored.UserControl_ReadProperties(bag);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.property);
        EXPECT_EQ(bag.readProperty(c.property, QVariant()), c.value);
        EXPECT_EQ(restored.property(c.property), c.value);
    }
    // The keys after them were written and read too.
    EXPECT_FALSE(restored.previewChartInNewPage());
}

// Every paint of a title makes the data grid 3-D; the stored appearance is the user's.
TEST(PropertyBag, TheAppearanceIsStoredFromTheMember)
{
    PelmoraC02 original;
    original.UserControl_InitProperties();
    original.setAppearance(pelmora::pelmoraFlat);
    original.grdResults->setAppearance(pelmora::pelmora3D);
    MemoryPropertyBag bag;
    original.UserControl_WriteProperties(bag);
    EXPECT_EQ(bag.readProperty("Appearance", QVariant()), QVariant(0));
    PelmoraC02 restored;
    restored.UserControl_ReadProperties(bag);
    EXPECT_EQ(restored.appearance(), 0);
    EXPECT_EQ(restored.grdResults->appearance(), 0);
}

// The language and the enabled state first; the control's own font silently; the others
// through their attributes, each announced.
TEST(PropertyBag, ReadingFollowsTheKeysOrderWithLanguageAndEnabledFirst)
{
    PelmoraC02 original;
    original.UserControl_InitProperties();
    changeEverything(original);
    MemoryPropertyBag bag;
    original.UserControl_WriteProperties(bag);

    QStringList expected{"LanguageID", "Enabled"};
    for (int number = 1; number <= 88; ++number) {
        QString key = bagKeys()[number - 1];
        if (number == 37 || (number >= 39 && number <= 46))
            continue;
        if (number >= 47 && number <= 61)
            key.replace("Underline", "UnderLine");
        expected << key;
    }
    PelmoraC02 restored;
    Notifications notified(restored);
    restored.UserControl_ReadProperties(bag);
    EXPECT_EQ(notified.names(), expected);
}

TEST(PropertyBag, MissingKeysReadAsTheirDefaults)
{
    QWidget container;
    container.setFont(QFont("Serif", 14));
    auto *newInstance = new PelmoraC02(&container);
    newInstance->UserControl_InitProperties();

    MemoryPropertyBag bag;
    bag.writeProperty("Caption", "Partial", QString());
    bag.writeProperty("GridLines", 5, 2);
    bag.writeProperty("PreviewBW", true, false);
    auto *restored = new PelmoraC02(&container);
    restored->UserControl_ReadProperties(bag);
    EXPECT_EQ(restored->caption(), "Partial");
    EXPECT_EQ(restored->gridLines(), 5);
    EXPECT_EQ(restored->grdTitulos->gridLinesFixed(), 5);
    EXPECT_TRUE(restored->previewBW());
    // The key's own default, not a new instance's.
    EXPECT_TRUE(restored->previewChartInNewPage());
    // Everything else, the four fonts included, as a new instance has it.
    expectSameProperties(
        *newInstance, *restored,
        {"VisibleButtonExport", "Caption", "GridLines", "PreviewBW", "PreviewChartInNewPage"});
    EXPECT_EQ(restored->controlFont->name(), "Serif");
    EXPECT_EQ(fontIn(*restored, "FontDataSubtotal")->size(), 14);
}

// A font attribute equal to the container's is not stored; it comes back as the container's,
// not as the attribute some other font of the control has.
TEST(PropertyBag, FontAttributesLikeTheContainersComeBack)
{
    QWidget container;
    container.setFont(QFont("Serif", 14));
    auto *original = new PelmoraC02(&container);
    original->UserControl_InitProperties();
    FontObject title("Courier New", 10, true);
    title.setItalic(true);
    original->setProperty("Font", fontValue(&title));
    // The data font stays the container's; the subtotal font is the container's but bold.
    FontObject boldSerif("Serif", 14, true);
    original->setProperty("FontSubtotal", fontValue(&boldSerif));
    MemoryPropertyBag bag;
    original->UserControl_WriteProperties(bag);
    EXPECT_FALSE(bag.names().contains("FontDataBold"));
    EXPECT_FALSE(bag.names().contains("FontSubtotalName"));

    auto *restored = new PelmoraC02(&container);
    restored->UserControl_ReadProperties(bag);
    expectSameProperties(*original, *restored);
    const FontObject *data = fontIn(*restored, "FontData");
    EXPECT_EQ(data->name(), "Serif");
    EXPECT_FALSE(data->bold());
    EXPECT_FALSE(data->italic());
    EXPECT_EQ(data->size(), 14);
    EXPECT_EQ(fontIn(*restored, "FontSubtotal")->name(), "Serif");

    // The title font equal to the container's comes back as it, not as a new font.
    auto *plain = new PelmoraC02(&container);
    plain->UserControl_InitProperties();
    MemoryPropertyBag plainBag;
    plain->UserControl_WriteProperties(plainBag);
    auto *plainRestored = new PelmoraC02(&container);
    plainRestored->UserControl_ReadProperties(plainBag);
    EXPECT_EQ(plainRestored->controlFont->name(), "Serif");
    EXPECT_EQ(plainRestored->controlFont->size(), 14);
}

TEST(PropertyBag, AStoredLanguageOfSpanishLeavesTheTooltips)
{
    for (int language : {0, 1}) {
        SCOPED_TRACE(language);
        PelmoraC02 built;
        MemoryPropertyBag bag;
        bag.writeProperty("LanguageID", language, -1);
        PelmoraC02 restored;
        restored.UserControl_ReadProperties(bag);
        EXPECT_EQ(restored.languageId(), language);
        const QString tip = restored.tbToolBar->button(1)->toolTipText();
        EXPECT_EQ(tip,
                  language == 0 ? QString("Open cube") : built.tbToolBar->button(1)->toolTipText());
    }
}

TEST(PropertyBag, KeysAreReadWhateverTheirLetterCase)
{
    MemoryPropertyBag bag;
    bag.writeProperty("FontCharset", 2, 0);
    bag.writeProperty("fontstrikethrough", true, false);
    bag.writeProperty("OPENCUBE", "Sales", QString());
    PelmoraC02 restored;
    restored.UserControl_ReadProperties(bag);
    EXPECT_EQ(restored.controlFont->charset(), 2);
    EXPECT_TRUE(restored.controlFont->strikethrough());
    EXPECT_EQ(restored.openCube(), "Sales");
}

// What the host stores for its child windows' controls.
TEST(PropertyBag, TheHostsBagGivesFourArialFonts)
{
    MemoryPropertyBag bag;
    for (const char *key : {"FontName", "FontDataName", "FontSubtotalName", "FontDataSubtotalName"})
        bag.writeProperty(key, "Arial", QString());
    bag.writeProperty("PreviewChartInNewPage", false, true);
    PelmoraC02 control;
    control.UserControl_ReadProperties(bag);
    for (const QString &name : fontProperties)
        EXPECT_EQ(fontIn(control, name)->name(), "Arial") << name.toStdString();
    EXPECT_FALSE(control.previewChartInNewPage());
}

// A value of the wrong type, or one its property refuses, reads as the key's default; the
// keys after it are still read.
TEST(PropertyBag, DamagedValuesReadAsDefaultsAndTheRestStillReads)
{
    const struct
    {
        const char *key;
        QVariant stored;
        const char *property;
        QVariant expected;
    } cases[] = {
        {"VisibleTitle", "maybe", "VisibleTitle", true},
        {"VisibleHeading", "False", "VisibleHeading", false}, // a Boolean word is taken
        {"LanguageID", QStringList{"x"}, "LanguageID", 0},
        {"OpenServer", QVariant::fromValue(QStringList{"a", "b"}), "OpenServer", ""},
        {"ValueType", "2", "ValueType", 2}, // numeric text is taken
        {"SemaphoreMinValue", "ten", "SemaphoreMinValue", 100.0},
        {"SemaphoreMaxValue", "nan", "SemaphoreMaxValue", 1000.0},
        {"ThresholdMinForeColor", QDate(2020, 1, 1), "ThresholdMinForeColor", 0xFFFFFF},
        {"Caption", QVariant(), "Caption", ""},
        {"BackColor", 255.0, "BackColor", 255},
        {"WordWrap", QVariant::fromValue(QSize(1, 2)), "WordWrap", false},
        {"Appearance", 9, "Appearance", 2},
        {"GridLines", 99, "GridLines", 2},
        {"GridLinesWidth", 70000, "GridLinesWidth", 1},
        {"FormatSubtotalLevel", 2.5, "FormatSubtotalLevel", 2}, // half to even
    };
    MemoryPropertyBag bag;
    for (const auto &c : cases)
        bag.writeProperty(c.key, c.stored, QStringLiteral("never equal"));
    bag.writeProperty("FontSize", -3.0, 0.0);
    bag.writeProperty("FontWeight", 5000, 0);
    bag.writeProperty("FontDataName", "", QStringLiteral("x"));
    bag.writeProperty("FontDataSize", "big", 0.0);
    bag.writeProperty("FontSubtotalSize", 1e9, 0.0);
    bag.writeProperty("PreviewBW", true, false);

    testing_support::ScriptedMsgBox boxes;
    PelmoraC02 control;
    EXPECT_NO_THROW(control.UserControl_ReadProperties(bag));
    for (const auto &c : cases)
        EXPECT_EQ(control.property(c.property), c.expected) << c.key;
    EXPECT_EQ(control.grdResults->appearance(), 2);
    EXPECT_EQ(control.grdTitulos->gridLinesFixed(), 2);
    // Refused font attributes are the container's.
    const std::unique_ptr<FontObject> ambient = control.ambientFont();
    EXPECT_EQ(control.controlFont->size(), ambient->size());
    EXPECT_EQ(control.controlFont->weight(), ambient->weight());
    EXPECT_EQ(control.fontDataName(), ambient->name());
    EXPECT_EQ(control.fontDataSize(), ambient->size());
    EXPECT_EQ(control.fontSubtotalSize(), ambient->size());
    EXPECT_TRUE(control.previewBW());
    EXPECT_EQ(boxes.count(), 0);
}

// A stored instance that names a cube file opens it when the container shows it.
TEST(PropertyBag, AStoredInstanceConnectsWhenShown)
{
    QTemporaryDir dir;
    const QString cube = testing_support::buildFixtureCube(dir.path());
    testing_support::ScriptedMsgBox boxes;
    MemoryPropertyBag bag;
    bag.writeProperty("OpenFile", cube, QString());
    PelmoraC02 control;
    control.UserControl_ReadProperties(bag);
    EXPECT_FALSE(control.connState.connected);
    control.show();
    EXPECT_TRUE(control.connState.connected);
    EXPECT_GT(control.grdResults->rows(), 0);
    EXPECT_EQ(boxes.count(), 0) << boxes.texts().join("\n").toStdString();

    // A stored instance that is disabled stays closed.
    MemoryPropertyBag disabled;
    disabled.writeProperty("OpenFile", cube, QString());
    disabled.writeProperty("Enabled", false, true);
    PelmoraC02 idle;
    idle.UserControl_ReadProperties(disabled);
    idle.show();
    EXPECT_FALSE(idle.connState.connected);
}
