// The four fonts: the copy Font hands out against the member objects of the others, what a
// font write copies and announces, and where the data font lands.
#include "Control/core/PelmoraC02.h"
#include "platform/forms/FontObject.h"
#include "platform/grid/FlexGrid.h"
#include "platform/runtime/Error.h"
#include "tests/Control/properties/PropertyTestSupport.h"

#include <gtest/gtest.h>

#include <QLabel>

#include <functional>

using platform::forms::FontObject;
using platform::grid::CellSetting;
using platform::grid::FlexGrid;
using propertytest::Notifications;

namespace {

FontObject *fontIn(const QVariant &value)
{
    return qobject_cast<FontObject *>(value.value<QObject *>());
}

// A font unlike the default one in every attribute.
void makeUnusual(FontObject &font)
{
    font.setName("Courier New");
    font.setSize(13.5);
    font.setItalic(true);
    font.setUnderline(true);
    font.setStrikethrough(true);
    font.setWeight(800);
    font.setCharset(2);
}

} // namespace

TEST(FontProperties, FontIsACopyTheOthersAreTheMembers)
{
    PelmoraC02 control;
    FontObject *font = fontIn(control.property("Font"));
    ASSERT_NE(font, nullptr);
    EXPECT_NE(font, control.controlFont);
    const bool bold = control.controlFont->bold();
    font->setBold(!bold);
    EXPECT_EQ(control.controlFont->bold(), bold);
    EXPECT_EQ(fontIn(control.property("Font"))->bold(), bold);

    const struct
    {
        const char *property;
        std::shared_ptr<FontObject> &slot;
    } members[] = {
        {"FontData", control.gridFormat.FontData},
        {"FontSubtotal", control.gridFormat.FontSubtotal},
        {"FontDataSubtotal", control.gridFormat.FontDataSubtotal},
    };
    for (const auto &m : members) {
        SCOPED_TRACE(m.property);
        // Never set: a font with the default attributes, created on the first read.
        EXPECT_EQ(m.slot, nullptr);
        Notifications notified(control);
        FontObject *member = fontIn(control.property(m.property));
        ASSERT_NE(member, nullptr);
        EXPECT_EQ(member, m.slot.get());
        EXPECT_TRUE(member->sameAs(FontObject()));
        // Changing the object read changes the member, unannounced.
        member->setBold(true);
        EXPECT_TRUE(fontIn(control.property(m.property))->bold());
        EXPECT_TRUE(notified.names().isEmpty());
    }
}

TEST(FontProperties, FontCopiesEightAttributesTheOthersFive)
{
    FontObject unusual;
    makeUnusual(unusual);
    PelmoraC02 control;
    control.setProperty("Font", QVariant::fromValue<QObject *>(&unusual));
    EXPECT_TRUE(control.controlFont->sameAs(unusual));

    for (const char *property : {"FontData", "FontSubtotal", "FontDataSubtotal"}) {
        SCOPED_TRACE(property);
        control.setProperty(property, QVariant::fromValue<QObject *>(&unusual));
        const FontObject *member = fontIn(control.property(property));
        EXPECT_EQ(member->name(), "Courier New");
        EXPECT_EQ(member->size(), 13.5);
        EXPECT_TRUE(member->bold());
        EXPECT_TRUE(member->italic());
        EXPECT_TRUE(member->underline());
        // Strikethrough, weight and charset belong to the control's own font only.
        EXPECT_FALSE(member->strikethrough());
        EXPECT_EQ(member->weight(), 700);
        EXPECT_EQ(member->charset(), 0);
    }
    // The control never keeps the caller's object.
    unusual.setName("Arial");
    EXPECT_EQ(control.controlFont->name(), "Courier New");
    EXPECT_EQ(control.fontDataName(), "Courier New");
}

TEST(FontProperties, AFontWriteIsAnnouncedAttributeByAttribute)
{
    FontObject unusual;
    makeUnusual(unusual);
    const struct
    {
        const char *property;
        QStringList notifications;
    } cases[] = {
        {"Font",
         {"FontBold", "FontCharset", "FontItalic", "FontName", "FontSize", "FontStrikethrough",
          "FontUnderLine", "FontWeight"}},
        {"FontData",
         {"FontDataBold", "FontDataItalic", "FontDataName", "FontDataSize", "FontDataUnderLine",
          "FontData"}},
        {"FontSubtotal",
         {"FontSubtotalBold", "FontSubtotalItalic", "FontSubtotalName", "FontSubtotalSize",
          "FontSubtotalUnderLine", "FontSubtotal"}},
        {"FontDataSubtotal",
         {"FontDataSubtotalBold", "FontDataSubtotalItalic", "FontDataSubtotalName",
          "FontDataSubtotalSize", "FontDataSubtotalUnderLine", "FontDataSubtotal"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.property);
        PelmoraC02 control;
        Notifications notified(control);
        control.setProperty(c.property, QVariant::fromValue<QObject *>(&unusual));
        EXPECT_EQ(notified.names(), c.notifications);
        // Even an unchanged font is announced the same way.
        notified.clear();
        control.setProperty(c.property, QVariant::fromValue<QObject *>(&unusual));
        EXPECT_EQ(notified.names(), c.notifications);
    }
}

TEST(FontProperties, AttributeWritesReachTheirFontAndCarryTheirNames)
{
    PelmoraC02 control;
    FontObject *own = control.controlFont;
    FontObject &data = pelmora::fontOf(control.gridFormat.FontData);
    FontObject &subtotal = pelmora::fontOf(control.gridFormat.FontSubtotal);
    FontObject &dataSubtotal = pelmora::fontOf(control.gridFormat.FontDataSubtotal);
    const struct
    {
        const char *name;
        std::function<void()> write;
        std::function<bool()> landed;
    } cases[] = {
        {"FontBold", [&] { control.setFontBold(true); }, [&] { return own->bold(); }},
        {"FontCharset", [&] { control.setFontCharset(3); }, [&] { return own->charset() == 3; }},
        {"FontItalic", [&] { control.setFontItalic(true); }, [&] { return own->italic(); }},
        {"FontName", [&] { control.setFontName("Serif"); }, [&] { return own->name() == "Serif"; }},
        {"FontSize", [&] { control.setFontSize(21); }, [&] { return own->size() == 21; }},
        {"FontStrikethrough", [&] { control.setFontStrikethrough(true); },
         [&] { return own->strikethrough(); }},
        {"FontUnderLine", [&] { control.setFontUnderLine(true); },
         [&] { return own->underline(); }},
        {"FontWeight", [&] { control.setFontWeight(300); }, [&] { return own->weight() == 300; }},
        {"FontDataBold", [&] { control.setFontDataBold(true); }, [&] { return data.bold(); }},
        {"FontDataItalic", [&] { control.setFontDataItalic(true); }, [&] { return data.italic(); }},
        {"FontDataName", [&] { control.setFontDataName("Serif"); },
         [&] { return data.name() == "Serif"; }},
        {"FontDataSize", [&] { control.setFontDataSize(15); }, [&] { return data.size() == 15; }},
        {"FontDataUnderLine", [&] { control.setFontDataUnderLine(true); },
         [&] { return data.underline(); }},
        {"FontSubtotalBold", [&] { control.setFontSubtotalBold(true); },
         [&] { return subtotal.bold(); }},
        {"FontSubtotalItalic", [&] { control.setFontSubtotalItalic(true); },
         [&] { return subtotal.italic(); }},
        {"FontSubtotalName", [&] { control.setFontSubtotalName("Serif"); },
         [&] { return subtotal.name() == "Serif"; }},
        {"FontSubtotalSize", [&] { control.setFontSubtotalSize(16); },
         [&] { return subtotal.size() == 16; }},
        {"FontSubtotalUnderLine", [&] { control.setFontSubtotalUnderLine(true); },
         [&] { return subtotal.underline(); }},
        {"FontDataSubtotalBold", [&] { control.setFontDataSubtotalBold(true); },
         [&] { return dataSubtotal.bold(); }},
        {"FontDataSubtotalItalic", [&] { control.setFontDataSubtotalItalic(true); },
         [&] { return dataSubtotal.italic(); }},
        {"FontDataSubtotalName", [&] { control.setFontDataSubtotalName("Serif"); },
         [&] { return dataSubtotal.name() == "Serif"; }},
        {"FontDataSubtotalSize", [&] { control.setFontDataSubtotalSize(17); },
         [&] { return dataSubtotal.size() == 17; }},
        {"FontDataSubtotalUnderLine", [&] { control.setFontDataSubtotalUnderLine(true); },
         [&] { return dataSubtotal.underline(); }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Notifications notified(control);
        c.write();
        EXPECT_TRUE(c.landed());
        EXPECT_EQ(notified.names(), QStringList{c.name});
    }
}

// An attribute the font refuses propagates and is not announced.
TEST(FontProperties, ARefusedAttributeIsNotAnnounced)
{
    PelmoraC02 control;
    Notifications notified(control);
    EXPECT_THROW(control.setFontDataSize(0), platform::Error);
    EXPECT_TRUE(notified.names().isEmpty());
    EXPECT_THROW(control.setFontName(""), platform::Error);
    EXPECT_TRUE(notified.names().isEmpty());
    EXPECT_FALSE(control.controlFont->name().isEmpty());
}

TEST(FontProperties, AnythingButAFontChangesNothing)
{
    PelmoraC02 control;
    Notifications notified(control);
    const FontObject before;
    QObject other;
    for (const char *property : {"Font", "FontData", "FontSubtotal", "FontDataSubtotal"}) {
        SCOPED_TRACE(property);
        control.setProperty(property, QVariant::fromValue<QObject *>(nullptr));
        control.setProperty(property, QVariant::fromValue<QObject *>(&other));
        EXPECT_TRUE(fontIn(control.property(property))->sameAs(before));
    }
    EXPECT_TRUE(notified.names().isEmpty());
}

// The data font goes to the value cells of the data grid as it is, whatever its header counts,
// and to no header cell.
TEST(FontProperties, TheDataFontLandsOnTheValueCellsOnly)
{
    const struct
    {
        int fixedRows;
        int fixedCols;
    } shapes[] = {{1, 1}, {3, 1}, {2, 2}, {0, 0}};
    for (const auto &shape : shapes) {
        SCOPED_TRACE(testing::Message() << shape.fixedRows << " x " << shape.fixedCols);
        PelmoraC02 control;
        FlexGrid *grid = control.grdResults;
        grid->setRows(6);
        grid->setCols(4);
        grid->setFixedRows(shape.fixedRows);
        grid->setFixedCols(shape.fixedCols);
        control.setFontDataBold(true);
        const auto bold = [grid](int r, int c) {
            return grid->cell(CellSetting::FontBold, r, c).toBool();
        };
        for (int r = 0; r < 6; ++r) {
            for (int c = 0; c < 4; ++c) {
                const bool value = r >= shape.fixedRows && c >= shape.fixedCols;
                EXPECT_EQ(bold(r, c), value) << r << ", " << c;
            }
        }
        control.setFontDataName("Serif");
        EXPECT_EQ(grid->cell(CellSetting::FontName, 5, 3).toString(), "Serif");
        if (shape.fixedRows > 0) {
            EXPECT_NE(grid->cell(CellSetting::FontName, 0, 3).toString(), "Serif");
        }
    }
}

TEST(FontProperties, TheOwnFontReachesTheCaptionAndTheGrids)
{
    PelmoraC02 control;
    control.setFontStrikethrough(true);
    for (QWidget *w :
         {static_cast<QWidget *>(control.lblCubo), static_cast<QWidget *>(control.grdTitulos),
          static_cast<QWidget *>(control.grdResults)})
        EXPECT_TRUE(w->font().strikeOut()) << w->objectName().toStdString();
}
