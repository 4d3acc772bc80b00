// The control's fonts onto the caption, the grids, the value cells and the 2-D chart's title.
#include "Control/core/PelmoraC02.h"
#include "platform/chart/Chart2D.h"
#include "platform/chart/Chart3D.h"
#include "platform/forms/FontObject.h"
#include "tests/support/ScriptedMsgBox.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPalette>

#include <functional>
#include <utility>

using platform::forms::FontObject;
using platform::grid::CellStyle;
using platform::grid::FlexGrid;

namespace {

// The drawing fonts of the caption label and the two grids.
std::vector<QFont> captionAndGridFonts(const PelmoraC02 &control)
{
    return {control.lblCubo->font(), control.grdTitulos->font(), control.grdResults->font()};
}

} // namespace

// Each attribute of the control's font reaches the caption, both grids and the 2-D chart's
// title through setFonts.
TEST(PaintFonts, SetFontsCopiesEveryAttribute)
{
    struct Case
    {
        const char *name;
        std::function<void(FontObject &)> change;
        std::function<bool(const QFont &)> onGrid; // empty: a drawing font has no such thing
        std::function<bool(const platform::chart::Font &)> onChart;
    };
    const Case cases[] = {
        {"strikethrough", [](FontObject &f) { f.setStrikethrough(true); },
         [](const QFont &f) { return f.strikeOut(); },
         [](const platform::chart::Font &f) { return f.strikethrough(); }},
        {"bold", [](FontObject &f) { f.setBold(true); }, [](const QFont &f) { return f.bold(); },
         [](const platform::chart::Font &f) { return f.bold() && f.weight() == 700; }},
        {"italic", [](FontObject &f) { f.setItalic(true); },
         [](const QFont &f) { return f.italic(); },
         [](const platform::chart::Font &f) { return f.italic(); }},
        {"underline", [](FontObject &f) { f.setUnderline(true); },
         [](const QFont &f) { return f.underline(); },
         [](const platform::chart::Font &f) { return f.underline(); }},
        {"name", [](FontObject &f) { f.setName("DejaVu Serif"); },
         [](const QFont &f) { return f.family() == "DejaVu Serif"; },
         [](const platform::chart::Font &f) { return f.name() == "DejaVu Serif"; }},
        {"size", [](FontObject &f) { f.setSize(17.5); },
         [](const QFont &f) { return f.pointSizeF() == 17.5; },
         [](const platform::chart::Font &f) { return f.size() == 17.5; }},
        {"weight", [](FontObject &f) { f.setWeight(800); },
         [](const QFont &f) { return f.weight() == QFont::ExtraBold && f.bold(); },
         [](const platform::chart::Font &f) { return f.weight() == 800 && f.bold(); }},
        {"charset", [](FontObject &f) { f.setCharset(2); }, nullptr,
         [](const platform::chart::Font &f) { return f.charset() == 2; }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        testing_support::ScriptedMsgBox boxes;
        PelmoraC02 control;
        ASSERT_NE(control.grf2d, nullptr);
        ASSERT_NE(control.grf3d, nullptr);
        c.change(*control.controlFont);
        control.setFonts();
        EXPECT_EQ(boxes.count(), 0);
        if (c.onGrid) {
            for (const QFont &font : captionAndGridFonts(control))
                EXPECT_TRUE(c.onGrid(font)) << font.toString().toStdString();
        }
        EXPECT_TRUE(c.onChart(control.grf2d->header().font()));
        EXPECT_TRUE(c.onChart(control.grf3d->header().font()));
    }
}

TEST(PaintFonts, SetFontsWithoutChartsReachesTheCaptionAndGrids)
{
    testing_support::ScriptedMsgBox boxes;
    PelmoraC02 control;
    // A control whose chart area holds no charts (they stay owned by the chart area).
    control.grf2d = nullptr;
    control.grf3d = nullptr;
    control.controlFont->setStrikethrough(true);
    control.setFonts();
    EXPECT_EQ(boxes.count(), 0);
    for (const QFont &font : captionAndGridFonts(control))
        EXPECT_TRUE(font.strikeOut());
}

// updFormat hands the caption and the grids the control's font object itself: later changes
// of its attributes reach them without another call.
TEST(PaintFonts, AfterUpdFormatTheCaptionAndGridsFollowTheControlsFont)
{
    testing_support::ScriptedMsgBox boxes;
    PelmoraC02 control;
    control.controlFont->setName("DejaVu Sans Mono");
    control.updFormat();
    control.updFormat(); // a second look change binds nothing twice
    for (const QFont &font : captionAndGridFonts(control))
        EXPECT_EQ(font.family(), "DejaVu Sans Mono");

    control.controlFont->setItalic(true);
    control.controlFont->setSize(21);
    for (const QFont &font : captionAndGridFonts(control)) {
        EXPECT_TRUE(font.italic());
        EXPECT_EQ(font.pointSizeF(), 21);
        EXPECT_EQ(font.family(), "DejaVu Sans Mono");
    }
    EXPECT_EQ(boxes.count(), 0);
}

TEST(PaintFonts, BeforeUpdFormatTheGridsKeepTheirOwnFont)
{
    PelmoraC02 control;
    const QFont before = control.grdResults->font();
    control.controlFont->setItalic(!before.italic());
    EXPECT_EQ(control.grdResults->font().italic(), before.italic());
}

// applyDataFont styles bold, italic, name, size and underline of the value cells only:
// rows from the header rows on and columns from the header columns on in the data grid,
// column 1 of the titles grid. Strikethrough is not a data-font attribute.
TEST(PaintFonts, ApplyDataFontStylesOnlyTheValueCells)
{
    testing_support::ScriptedMsgBox boxes;
    PelmoraC02 control;
    FontObject &data = pelmora::fontOf(control.gridFormat.FontData);
    data.setBold(true);
    data.setItalic(true);
    data.setUnderline(true);
    data.setStrikethrough(true);
    data.setName("DejaVu Serif");
    data.setSize(13);
    FlexGrid &results = *control.grdResults;
    results.setRows(6);
    results.setCols(4);
    FlexGrid &titles = *control.grdTitulos;
    titles.setRows(2);

    control.applyDataFont(3, 1);
    EXPECT_EQ(boxes.count(), 0);

    auto styled = [](const CellStyle &s) {
        return s.bold == 1 && s.italic == 1 && s.underline == 1 && s.fontName == "DejaVu Serif"
               && s.fontSize == 13 && s.strikethrough == -1;
    };
    for (int r = 0; r < 6; ++r) {
        for (int c = 0; c < 4; ++c) {
            SCOPED_TRACE(testing::Message() << "data grid " << r << "," << c);
            const CellStyle &style = results.model()->style(r, c);
            if (r >= 3 && c >= 1)
                EXPECT_TRUE(styled(style));
            else
                EXPECT_EQ(style, CellStyle());
        }
    }
    for (int r = 0; r < 2; ++r) {
        SCOPED_TRACE(testing::Message() << "titles grid row " << r);
        EXPECT_TRUE(styled(titles.model()->style(r, 1)));
        EXPECT_EQ(titles.model()->style(r, 0), CellStyle());
    }
}

// A titles grid without rows (no slicer dimension) and a data grid without cells: the ranges
// cover nothing, and nothing fails.
TEST(PaintFonts, EmptyGridsTakeTheLookWithoutFailing)
{
    testing_support::ScriptedMsgBox boxes;
    PelmoraC02 control;
    control.grdTitulos->setRows(0);
    control.grdResults->setRows(0);
    control.grdResults->setCols(0);
    pelmora::fontOf(control.gridFormat.FontData).setBold(true);
    EXPECT_NO_THROW(control.applyDataFont(0, 0));
    EXPECT_NO_THROW(control.applyDataFont(2, 1));
    control.updFormat();
    control.setFonts();
    EXPECT_EQ(boxes.count(), 0) << boxes.texts().join("; ").toStdString();
}

// The caption's colours may be system colours (0x800000nn): updFormat gives the caption the
// same colours as the BackColor and ForeColor properties do, not the low byte read as red.
TEST(PaintFonts, UpdFormatGivesTheCaptionSystemColoursAsThePropertiesDo)
{
    testing_support::ScriptedMsgBox boxes;
    PelmoraC02 control;
    const auto captionColours = [&] {
        const QPalette palette = control.lblCubo->palette();
        return std::make_pair(palette.color(QPalette::Window), palette.color(QPalette::WindowText));
    };
    control.setBackColor(int(0x8000000Fu)); // button face
    control.setForeColor(int(0x80000012u)); // button text
    const auto byProperties = captionColours();
    EXPECT_EQ(byProperties.first, control.lblCubo->palette().color(QPalette::Button));
    control.updFormat();
    EXPECT_EQ(captionColours(), byProperties);
    EXPECT_EQ(boxes.count(), 0) << boxes.texts().join("; ").toStdString();
}

// A look the titles grid refuses ends updFormat with its message: what was applied stays (the
// caption's and the titles grid's font, which follow the control's font from then on), the
// data grid is not reached.
TEST(PaintFonts, ARefusedLookIsReportedAndKeepsWhatWasApplied)
{
    testing_support::ScriptedMsgBox boxes;
    PelmoraC02 control;
    control.gridFormat.BackColorData = 0x0000FF;
    control.gridFormat.GridLinesData = 14; // styles run from 0 to 13
    control.controlFont->setName("DejaVu Serif");
    control.updFormat();
    EXPECT_EQ(boxes.texts(), QStringList{"updFormat: Invalid grid line style"});
    EXPECT_EQ(control.grdTitulos->backColor(), 0x0000FF);
    EXPECT_NE(control.grdResults->backColor(), 0x0000FF);

    control.controlFont->setBold(true);
    EXPECT_TRUE(control.lblCubo->font().bold());
    EXPECT_TRUE(control.grdTitulos->font().bold());
    EXPECT_EQ(control.grdTitulos->font().family(), "DejaVu Serif");
    EXPECT_FALSE(control.grdResults->font().bold());
}
