// The sample cube's views as they are painted on screen: the first view, a nest of two row
// dimensions with subtotal rows, and the cube opened as a new user would, through the open
// dialog. Each picture of the data grid is kept as a PNG in the build tree; every cell in view
// is checked in the picture: its background, and ink of its text's width, colour and side.
#include "Control/core/PelmoraC02.h"
#include "tests/Control/core/GridRows.h"
#include "platform/forms/FontObject.h"
#include "platform/grid/OleColor.h"
#include "tests/support/ScriptedModalRunner.h"
#include "tests/support/ScriptedMsgBox.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFontMetrics>
#include <QHash>
#include <QImage>
#include <QLabel>
#include <QTemporaryDir>

#include <cstdlib>
#include <set>
#include <tuple>

using controltest::gridRows;
using platform::grid::CellSetting;
using platform::grid::FlexGrid;
using testing_support::ScriptedModalRunner;
using testing_support::ScriptedMsgBox;

namespace {

int distance(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b))
           + std::abs(qBlue(a) - qBlue(b));
}

// What a rectangle of a picture shows: its commonest colour (the background), the box of the
// pixels far from it (the ink) and the ink pixel farthest from it.
struct Painted
{
    QRgb background = 0;
    QRect ink;
    QRgb strongest = 0;
};

Painted paintedIn(const QImage &picture, const QRect &rect)
{
    QHash<QRgb, int> counts;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            ++counts[picture.pixel(x, y) | 0xFF000000];
    Painted painted;
    int most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > most) {
            most = it.value();
            painted.background = it.key();
        }
    }
    int farthest = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const QRgb pixel = picture.pixel(x, y) | 0xFF000000;
            const int d = distance(pixel, painted.background);
            if (d < 120)
                continue;
            painted.ink |= QRect(x, y, 1, 1);
            if (d > farthest) {
                farthest = d;
                painted.strongest = pixel;
            }
        }
    }
    return painted;
}

// Checks every cell that lies wholly in view in the picture of the grid's viewport: the cell's
// background colour, no ink for a blank text, and for any other text ink as wide as the text
// shown in the cell's font (within two pixels), in the cell's fore colour, at the side the text
// is aligned to. Answers how many cells were checked.
int expectPaintedCells(const FlexGrid &grid, const QImage &picture)
{
    const platform::grid::GridModel &model = *grid.model();
    const QRect view(QPoint(0, 0), picture.size());
    const int line = grid.gridLineWidth();
    std::set<std::tuple<int, int, int, int>> seen;
    int checked = 0;
    for (int r = 0; r < grid.rows(); ++r) {
        for (int c = 0; c < grid.cols(); ++c) {
            const QRect rect = grid.cellRect(r, c);
            if (rect.isEmpty() || !view.contains(rect))
                continue;
            if (!seen.insert({rect.x(), rect.y(), rect.width(), rect.height()}).second)
                continue; // a merged block, checked at its first cell
            const QString shown = grid.cell(CellSetting::TextDisplay, r, c).toString();
            SCOPED_TRACE(testing::Message()
                         << "cell " << r << "," << c << " \"" << shown.toStdString() << "\"");
            // Inside the grid lines.
            const QRect inner = rect.adjusted(1, 1, -line - 1, -line - 1);
            const Painted painted = paintedIn(picture, inner);
            const QColor back =
                platform::grid::oleToColor(model.effectiveBackColor(r, c), grid.palette());
            EXPECT_EQ(painted.background, back.rgb())
                << QColor(painted.background).name().toStdString() << " instead of "
                << back.name().toStdString();
            ++checked;
            if (shown.trimmed().isEmpty()) {
                EXPECT_TRUE(painted.ink.isEmpty());
                continue;
            }
            if (painted.ink.isEmpty()) {
                ADD_FAILURE() << "no text painted";
                continue;
            }
            const QFontMetrics metrics(model.cellFont(r, c));
            // Antialiasing fades a pixel or two at the ends; a text one character longer or
            // shorter, or in another size, misses by more.
            const QRect expected = metrics.tightBoundingRect(shown);
            EXPECT_NEAR(painted.ink.width(), expected.width(), 2);
            EXPECT_NEAR(painted.ink.height(), expected.height(), 2);
            const QColor fore =
                platform::grid::oleToColor(model.effectiveForeColor(r, c), grid.palette());
            EXPECT_LT(distance(painted.strongest, fore.rgb()), 90)
                << QColor(painted.strongest).name().toStdString() << " instead of "
                << fore.name().toStdString();
            const int margin = 3 + line + 2; // the text margin, the line, antialiasing
            if (model.alignment(r, c) & Qt::AlignRight)
                EXPECT_GE(painted.ink.right(), rect.right() - margin - 2);
            else
                EXPECT_LE(painted.ink.left(), rect.left() + margin + 2);
        }
    }
    return checked;
}

// The picture of the data grid's viewport, saved under the build tree.
QImage pictureOf(FlexGrid &grid, const QString &name)
{
    QApplication::processEvents();
    const QImage picture = grid.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QDir().mkpath(PELMORA_SCREENS_DIR);
    const QString path = QDir(PELMORA_SCREENS_DIR).filePath(name + ".png");
    EXPECT_TRUE(picture.save(path)) << path.toStdString();
    return picture;
}

class PaintedGrids : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(registry.isValid());
        qputenv("PELMORA_REGISTRY", registry.path().toLocal8Bit());
        control.resize(1100, 800);
        control.show();
    }

    void TearDown() override { qunsetenv("PELMORA_REGISTRY"); }

    void open()
    {
        control.openParams.OpenFile = PELMORA_SAMPLE_CUBE;
        ASSERT_TRUE(control.cubeConnectNI(false));
        ASSERT_TRUE(control.genSelect());
        ASSERT_EQ(boxes.count(), 0) << boxes.texts().join("; ").toStdString();
    }

    QTemporaryDir registry;
    ScriptedMsgBox boxes;
    PelmoraC02 control;
};

} // namespace

TEST_F(PaintedGrids, TheFirstView)
{
    open();
    EXPECT_EQ(gridRows(*control.grdTitulos),
              QStringList({"Product|All Products", "Store|All Stores", "Customer|All Customers",
                           "Promotion|All Promotions"}));
    FlexGrid &grid = *control.grdResults;
    EXPECT_EQ(gridRows(grid), QStringList({" |Measures", "Time|Unit Sales", "2021|22,078",
                                           "Q1|4,137", "Q2|5,429", "Q3|5,932", "Q4|6,580"}));
    const QImage picture = pictureOf(grid, "first-view");
    EXPECT_EQ(expectPaintedCells(grid, picture), grid.rows() * grid.cols());
    const QImage titles = pictureOf(*control.grdTitulos, "first-view-titles");
    EXPECT_EQ(expectPaintedCells(*control.grdTitulos, titles), 8);
}

// Time with the stores nested under it, the years as subtotal rows in their own colours and
// fonts.
TEST_F(PaintedGrids, ANestWithSubtotals)
{
    open();
    pelmora::LayoutState &layout = control.layoutState;
    ASSERT_EQ(pelmora::orderDimAt(layout, 3).nombre, "Store");
    pelmora::orderDimAt(layout, 3).lugar = pelmora::Rows;
    pelmora::orderDimAt(layout, 3).orden = 1;
    pelmora::orderDimAt(layout, 3).jerarquia = 0; // the countries under All Stores
    pelmora::orderDimAt(layout, 3).jerarquiaSalto = 1;
    pelmora::orderDimAt(layout, 4).orden = 1;
    pelmora::orderDimAt(layout, 5).orden = 2;
    pelmora::GridFormat &format = control.gridFormat;
    format.FormatSubtotal = true;
    format.BackColorSubtotal = 0x99CCFF;
    format.ForeColorSubtotal = 0x800000;
    format.BackColorDataSubtotal = 0xCCFFFF;
    format.ForeColorDataSubtotal = 0x0000C0;
    pelmora::fontOf(format.FontSubtotal).setBold(true);
    pelmora::fontOf(format.FontDataSubtotal).setItalic(true);
    pelmora::fontOf(format.FontDataSubtotal).setSize(11);
    ASSERT_TRUE(control.genSelect());
    ASSERT_EQ(boxes.count(), 0) << boxes.texts().join("; ").toStdString();

    FlexGrid &grid = *control.grdResults;
    EXPECT_EQ(gridRows(grid).mid(0, 10),
              QStringList({" | |Measures", "Time|Store|Unit Sales", "2021|All Stores|22,078",
                           "2021|Canada|5,266", "2021|Mexico|", "2021|USA|16,812",
                           "Q1|All Stores|4,137", "Q1|Canada|986", "Q1|Mexico|", "Q1|USA|3,151"}));
    EXPECT_EQ(grid.rows(), 2 + 5 * 4);
    const QImage picture = pictureOf(grid, "nest-with-subtotals");
    EXPECT_GE(expectPaintedCells(grid, picture), 30);
    // The year's rows in the subtotal looks, the quarters' in the grid's.
    const auto backAt = [&](int row, int col) {
        return QColor(picture.pixel(grid.cellRect(row, col).topLeft() + QPoint(2, 2)));
    };
    EXPECT_EQ(backAt(2, 0), platform::grid::oleToColor(0x99CCFF));
    EXPECT_EQ(backAt(4, 2), platform::grid::oleToColor(0xCCFFFF)); // Mexico: no value
    EXPECT_EQ(backAt(8, 2), platform::grid::oleToColor(0xFFFFFF));
    EXPECT_TRUE(grid.model()->cellFont(2, 0).bold());
    EXPECT_TRUE(grid.model()->cellFont(3, 2).italic());
    EXPECT_FALSE(grid.model()->cellFont(7, 2).italic());
}

// A new user presses Open, picks "Local cube" and the sample cube in the file dialog: the caption
// names the file, the titles grid lists the slicer with its members, and the first view is
// painted with its captions and values, every cell in view legible.
TEST_F(PaintedGrids, ANewUserOpensTheSampleCubeThroughTheOpenDialog)
{
    ScriptedModalRunner dialogs;
    dialogs.then([](QDialog &dialog) {
        EXPECT_EQ(dialog.objectName(), "frmOpen");
        EXPECT_TRUE(ScriptedModalRunner::click(dialog, "cmdCubo"));
        return -1;
    });
    QString title;
    dialogs.then([&title](QDialog &dialog) {
        auto *files = qobject_cast<QFileDialog *>(&dialog);
        if (!files)
            return int(QDialog::Rejected);
        title = files->windowTitle();
        files->selectFile(PELMORA_SAMPLE_CUBE);
        return int(QDialog::Accepted);
    });
    EXPECT_TRUE(control.doAction("OPENOLAP"));
    EXPECT_TRUE(dialogs.done());
    EXPECT_EQ(dialogs.unexpected(), 0);
    EXPECT_EQ(title, "Choose a cube");
    EXPECT_EQ(boxes.count(), 0) << boxes.texts().join("; ").toStdString();

    EXPECT_EQ(control.lblCubo->text(), PELMORA_SAMPLE_CUBE);
    EXPECT_EQ(gridRows(*control.grdTitulos),
              QStringList({"Product|All Products", "Store|All Stores", "Customer|All Customers",
                           "Promotion|All Promotions"}));
    FlexGrid &grid = *control.grdResults;
    EXPECT_EQ(gridRows(grid), QStringList({" |Measures", "Time|Unit Sales", "2021|22,078",
                                           "Q1|4,137", "Q2|5,429", "Q3|5,932", "Q4|6,580"}));
    const QImage picture = pictureOf(grid, "new-user-first-view");
    EXPECT_EQ(expectPaintedCells(grid, picture), grid.rows() * grid.cols());
    const QImage titles = pictureOf(*control.grdTitulos, "new-user-titles");
    EXPECT_EQ(expectPaintedCells(*control.grdTitulos, titles), 8);
}
