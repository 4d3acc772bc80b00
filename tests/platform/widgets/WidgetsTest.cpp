#include "platform/forms/ScreenTwips.h"
#include "platform/runtime/Error.h"
#include "platform/widgets/CommonDialog.h"
#include "platform/widgets/ElasticPanel.h"
#include "platform/widgets/ImageList.h"
#include "platform/widgets/ThemeIcons.h"
#include "platform/widgets/Toolbar.h"
#include "tests/support/ScriptedModalRunner.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QImage>
#include <QLabel>
#include <QLayout>
#include <QMouseEvent>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTest>

using namespace platform::widgets;
using platform::forms::pixelsToTwipsY;
using platform::forms::twipsToPixelsX;
using platform::forms::twipsToPixelsY;
using testing_support::ScriptedModalRunner;

namespace {

QIcon colourIcon(Qt::GlobalColor colour)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

QRgb centre(const QIcon &icon)
{
    return icon.pixmap(16, 16).toImage().pixel(8, 8);
}

bool hasOpaquePixels(const QIcon &icon)
{
    const QImage image = icon.pixmap(32, 32).toImage();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) > 0)
                return true;
        }
    }
    return false;
}

} // namespace

TEST(ImageList, NumbersPicturesFromOneAndFindsKeys)
{
    ImageList images;
    EXPECT_EQ(images.add(colourIcon(Qt::red), "red"), 1);
    EXPECT_EQ(images.add(colourIcon(Qt::blue)), 2);
    EXPECT_EQ(images.count(), 2);
    EXPECT_EQ(centre(images.image(1)), QColor(Qt::red).rgb());
    EXPECT_EQ(images.indexOfKey("red"), 1);
    EXPECT_EQ(images.indexOfKey("Red"), 0);
    EXPECT_EQ(images.indexOfKey("none"), 0);
    for (int bad : {0, 3, -1})
        EXPECT_THROW(images.image(bad), platform::Error) << bad;
}

class ToolbarTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        images.add(colourIcon(Qt::red));
        images.add(colourIcon(Qt::blue));
        toolbar.setImageList(&images);
        toolbar.addButton("open", ButtonStyle::Default, 1, "Open it");
        toolbar.addButton(QString(), ButtonStyle::Separator);
        toolbar.addButton("save", ButtonStyle::Default, 2, "Save it");
    }

    ImageList images;
    Toolbar toolbar;
};

TEST_F(ToolbarTest, ReachesItemsByNumberWithKeysTooltipsAndPictures)
{
    ASSERT_EQ(toolbar.buttonCount(), 3);
    EXPECT_EQ(toolbar.button(1)->key(), "open");
    EXPECT_EQ(toolbar.button(1)->toolTipText(), "Open it");
    EXPECT_EQ(toolbar.button(2)->style(), ButtonStyle::Separator);
    EXPECT_TRUE(toolbar.button(2)->action()->isSeparator());
    EXPECT_EQ(toolbar.button(3)->index(), 3);
    EXPECT_EQ(centre(toolbar.button(3)->action()->icon()), QColor(Qt::blue).rgb());
    for (int bad : {0, 4, -2})
        EXPECT_THROW(toolbar.button(bad), platform::Error) << bad;

    // A picture number outside the list shows none instead of failing.
    toolbar.button(1)->setImage(9);
    EXPECT_TRUE(toolbar.button(1)->action()->icon().isNull());
}

TEST_F(ToolbarTest, ItemVisibilityIsTheItemsOwnEvenWhileTheToolbarIsHidden)
{
    toolbar.hide();
    toolbar.button(2)->setVisible(false);
    toolbar.button(3)->setVisible(false);
    EXPECT_TRUE(toolbar.button(1)->isVisible());
    EXPECT_FALSE(toolbar.button(2)->isVisible());
    EXPECT_FALSE(toolbar.button(3)->isVisible());
    toolbar.button(3)->setVisible(true);
    EXPECT_TRUE(toolbar.button(3)->isVisible());
}

TEST_F(ToolbarTest, PressingAButtonReportsThatButton)
{
    QStringList pressed;
    QObject::connect(&toolbar, &Toolbar::buttonClick,
                     [&](ToolbarButton *button) { pressed << button->key(); });
    toolbar.button(3)->action()->trigger();
    toolbar.button(1)->action()->trigger();
    toolbar.button(2)->action()->trigger(); // a separator is never pressed
    EXPECT_EQ(pressed, QStringList({"save", "open"}));
}

TEST_F(ToolbarTest, FollowsChangesOfItsImageList)
{
    images.clear();
    images.add(colourIcon(Qt::green));
    EXPECT_EQ(centre(toolbar.button(1)->action()->icon()), QColor(Qt::green).rgb());
    EXPECT_TRUE(toolbar.button(3)->action()->icon().isNull());
}

class ElasticPanelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (int i = 0; i < 4; ++i) {
            panes[i] = new QLabel(QString("pane %1").arg(i));
        }
        panel.addPane(panes[0], ElasticPanel::NaturalSize);
        panel.addPane(panes[1], 1440);
        panel.addPane(panes[2], ElasticPanel::ElasticSize);
        panel.addPane(panes[3], ElasticPanel::ElasticSize);
        panel.resize(300, 400);
        panel.show();
    }

    QList<int> heights()
    {
        panel.layout()->activate();
        QList<int> result;
        for (QLabel *pane : panes)
            result << (pane->isHidden() ? -1 : pane->height());
        return result;
    }

    ElasticPanel panel;
    QLabel *panes[4] = {};
};

TEST_F(ElasticPanelTest, StacksPanesAndSharesTheRestAmongElasticOnes)
{
    const int natural = panes[0]->sizeHint().height();
    const int fixed = twipsToPixelsY(1440);
    const int rest = 400 - natural - fixed;
    EXPECT_EQ(heights(), QList<int>({natural, fixed, rest - rest / 2, rest / 2}));
    EXPECT_EQ(panes[1]->y(), natural);
    EXPECT_EQ(panes[3]->y() + panes[3]->height(), 400);
    EXPECT_EQ(panes[2]->width(), 300);

    panel.resize(300, 600); // the elastic panes take the growth
    const int grown = 600 - natural - fixed;
    EXPECT_EQ(heights(), QList<int>({natural, fixed, grown - grown / 2, grown / 2}));
}

TEST_F(ElasticPanelTest, HiddenPanesTakeNoRoom)
{
    panes[1]->hide();
    panes[3]->hide();
    const int natural = panes[0]->sizeHint().height();
    EXPECT_EQ(heights(), QList<int>({natural, -1, 400 - natural, -1}));
    EXPECT_EQ(panes[2]->y(), natural);
}

TEST_F(ElasticPanelTest, ATooSmallPanelServesPanesFromTheTop)
{
    const int natural = panes[0]->sizeHint().height();
    const int fixed = twipsToPixelsY(1440);
    panel.resize(300, natural + fixed / 2);
    EXPECT_EQ(heights(), QList<int>({natural, fixed / 2, 0, 0}));
}

TEST_F(ElasticPanelTest, PaneValuesHoldTheSizeSettings)
{
    EXPECT_EQ(panel.paneValue(ElasticPanel::PaneSizeValue, 0), ElasticPanel::NaturalSize);
    EXPECT_EQ(panel.paneValue(4, 1), 1440);
    EXPECT_EQ(panel.paneValue(4, 2), ElasticPanel::ElasticSize);

    panel.setPaneValue(4, 2, 2880); // the matrix gets a fixed height, the chart the rest
    panel.setPaneValue(4, 1, -7);   // anything below -1 counts as natural
    EXPECT_EQ(panel.paneValue(4, 2), 2880);
    EXPECT_EQ(panel.paneValue(4, 1), ElasticPanel::NaturalSize);
    const QList<int> h = heights();
    EXPECT_EQ(h[1], panes[1]->sizeHint().height());
    EXPECT_EQ(h[2], twipsToPixelsY(2880));
    EXPECT_EQ(h[0] + h[1] + h[2] + h[3], 400);

    for (auto [kind, pane] : {std::pair{4, 4}, {4, -1}, {5, 4}, {6, 0}, {0, 0}}) {
        EXPECT_THROW(panel.paneValue(kind, pane), platform::Error) << kind << "," << pane;
        EXPECT_THROW(panel.setPaneValue(kind, pane, 1), platform::Error) << kind << "," << pane;
    }
}

TEST_F(ElasticPanelTest, AStripAtAPanesRightNarrowsItsWidgetOnly)
{
    EXPECT_EQ(panel.paneValue(ElasticPanel::PaneStripValue, 0), 0);
    const QList<int> before = heights();
    panel.setPaneValue(ElasticPanel::PaneStripValue, 0, 1440);
    EXPECT_EQ(panel.paneValue(5, 0), 1440);
    EXPECT_EQ(heights(), before);
    EXPECT_EQ(panes[0]->width(), 300 - twipsToPixelsX(1440));
    EXPECT_EQ(panes[0]->x(), 0);
    EXPECT_EQ(panes[1]->width(), 300);

    panel.setPaneValue(5, 0, 99999); // wider than the panel: the widget gets nothing
    panel.layout()->activate();
    EXPECT_EQ(panes[0]->width(), 0);
    panel.setPaneValue(5, 0, -3); // below 0 is no strip
    panel.layout()->activate();
    EXPECT_EQ(panel.paneValue(5, 0), 0);
    EXPECT_EQ(panes[0]->width(), 300);
}

TEST_F(ElasticPanelTest, AnotherWidgetTakesAPaneWithItsSetting)
{
    auto *grid = new QLabel("grid");
    QWidget *old = panel.setPaneWidget(1, grid);
    ASSERT_EQ(old, panes[1]);
    EXPECT_EQ(old->parent(), nullptr);
    delete old;
    panes[1] = grid;
    EXPECT_EQ(panel.paneWidget(1), grid);
    EXPECT_EQ(grid->parentWidget(), &panel);
    EXPECT_EQ(panel.paneValue(4, 1), 1440);
    EXPECT_EQ(heights()[1], twipsToPixelsY(1440));
    EXPECT_TRUE(grid->isVisible());
    EXPECT_THROW(panel.setPaneWidget(4, new QLabel), platform::Error);
}

// The boundary above the last pane dragged with the mouse: the pane gets the height it is
// dragged to, the elastic pane above the rest; the handle stays within the panel.
TEST_F(ElasticPanelTest, ASplitHandleIsDraggedToSizeThePaneBelowIt)
{
    EXPECT_FALSE(panel.paneSplit(3));
    panel.setPaneSplit(3, true);
    heights();
    const QRect handle = panel.splitHandle(3);
    ASSERT_FALSE(handle.isEmpty());
    EXPECT_EQ(handle.bottom() + 1, panes[3]->y());
    EXPECT_EQ(panes[2]->y() + panes[2]->height(), handle.top());
    EXPECT_EQ(panes[3]->y() + panes[3]->height(), 400);
    EXPECT_TRUE(panel.splitHandle(2).isEmpty());

    const int natural = panes[0]->sizeHint().height();
    const int fixed = twipsToPixelsY(1440);
    const struct
    {
        int to;     // where the handle's top is dragged
        int height; // the last pane's height afterwards
    } drags[] = {
        {300, 400 - 300 - handle.height()},
        {350, 400 - 350 - handle.height()},
        {-50, 400 - natural - fixed - handle.height()}, // as high as the panes above allow
        {500, 1},                                       // never below the panel
    };
    for (const auto &d : drags) {
        SCOPED_TRACE(d.to);
        const QRect from = panel.splitHandle(3);
        const QPoint grip = from.center();
        QTest::mousePress(&panel, Qt::LeftButton, Qt::NoModifier, grip);
        QMouseEvent move(QEvent::MouseMove, QPointF(grip.x(), d.to + (grip.y() - from.top())),
                         panel.mapToGlobal(QPointF(grip)), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(&panel, &move);
        QTest::mouseRelease(&panel, Qt::LeftButton, Qt::NoModifier,
                            QPoint(grip.x(), d.to + (grip.y() - from.top())));
        const QList<int> h = heights();
        EXPECT_EQ(h[3], d.height);
        EXPECT_EQ(panel.paneValue(4, 3), qRound(pixelsToTwipsY(d.height)));
        EXPECT_EQ(h[0] + h[1] + h[2] + h[3] + handle.height(), 400);
    }

    panes[3]->hide(); // no pane below: no handle
    heights();
    EXPECT_TRUE(panel.splitHandle(3).isEmpty());
    EXPECT_EQ(panes[2]->y() + panes[2]->height(), 400);
}

TEST(CommonDialog, TurnsFiltersIntoNameFilters)
{
    const struct
    {
        QString filter;
        QStringList expected;
    } cases[] = {
        {"Pelmora view (*.vcg)|*.vcg", {"Pelmora view (*.vcg)"}},
        {"HTML (*.htm)|*.htm|RTF (*.rtf)|*.rtf|Extended RTF (*.rtf)|*.rtf",
         {"HTML (*.htm)", "RTF (*.rtf)", "Extended RTF (*.rtf)"}},
        {"All cubes|*.cub", {"All cubes (*.cub)"}},
        {"Pages|*.htm;*.html", {"Pages (*.htm *.html)"}},
        {"Odd one", {"Odd one (*)"}},
        {"|*.txt", {"*.txt (*.txt)"}},
        {"", {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(CommonDialog::nameFilters(c.filter), c.expected) << c.filter.toStdString();
}

TEST(CommonDialog, SaveDialogShowsTitleAndFilterAndAnswersTheChoice)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString chosen = QDir(dir.path()).filePath("view.rtf");

    ScriptedModalRunner runner;
    runner.then([&](QDialog &dialog) {
        auto *files = qobject_cast<QFileDialog *>(&dialog);
        EXPECT_NE(files, nullptr);
        if (!files)
            return int(QDialog::Rejected);
        EXPECT_EQ(files->windowTitle(), "View export");
        EXPECT_EQ(files->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_EQ(files->nameFilters(),
                  QStringList({"HTML (*.htm)", "RTF (*.rtf)", "Extended RTF (*.rtf)"}));
        EXPECT_EQ(files->selectedNameFilter(), "RTF (*.rtf)"); // the index set beforehand
        files->selectNameFilter("Extended RTF (*.rtf)");
        files->selectFile(chosen);
        return int(QDialog::Accepted);
    });

    CommonDialog dlg;
    dlg.setDialogTitle("View export");
    dlg.setFilter("HTML (*.htm)|*.htm|RTF (*.rtf)|*.rtf|Extended RTF (*.rtf)|*.rtf");
    dlg.setFilterIndex(2);
    dlg.setCancelError(true);
    dlg.showSave();
    EXPECT_EQ(dlg.fileName(), chosen);
    EXPECT_EQ(dlg.filterIndex(), 3);
    EXPECT_TRUE(runner.done());
}

TEST(CommonDialog, CancelRaisesTheErrorOnlyWhenAsked)
{
    ScriptedModalRunner runner;
    auto cancel = [](QDialog &) { return int(QDialog::Rejected); };
    runner.then(cancel);
    runner.then(cancel);

    CommonDialog dlg;
    dlg.setFileName("kept.vcg");
    dlg.setCancelError(true);
    try {
        dlg.showSave();
        ADD_FAILURE() << "no error on cancel";
    } catch (const platform::Error &error) {
        EXPECT_EQ(error.description(), CommonDialog::cancelDescription());
        EXPECT_EQ(error.description(), "Cancel was selected.");
    }
    EXPECT_EQ(dlg.fileName(), "kept.vcg");

    dlg.setCancelError(false);
    EXPECT_NO_THROW(dlg.showOpen());
    EXPECT_EQ(dlg.fileName(), "kept.vcg");
    EXPECT_EQ(runner.shown(), QStringList({"saveFileDialog", "openFileDialog"}));
}

TEST(CommonDialog, OpenDialogAsksForAnExistingFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString cube = QDir(dir.path()).filePath("sales.cub");
    QFile file(cube);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    ScriptedModalRunner runner;
    runner.then([&](QDialog &dialog) {
        auto *files = qobject_cast<QFileDialog *>(&dialog);
        if (!files)
            return int(QDialog::Rejected);
        EXPECT_EQ(files->acceptMode(), QFileDialog::AcceptOpen);
        EXPECT_EQ(files->fileMode(), QFileDialog::ExistingFile);
        files->selectFile(cube);
        return int(QDialog::Accepted);
    });
    CommonDialog dlg;
    dlg.setFilter("All cubes (*.cub)|*.cub");
    dlg.showOpen();
    EXPECT_EQ(dlg.fileName(), cube);
    EXPECT_EQ(dlg.filterIndex(), 1);
}

TEST(ThemeIcons, UsesTheInstalledThemeAndFallsBackToTheGivenPicture)
{
    ensureIconTheme();
    const QIcon fallback = colourIcon(Qt::magenta);
    EXPECT_EQ(centre(themeIcon({"no-such-icon-anywhere"}, fallback)), QColor(Qt::magenta).rgb());
    EXPECT_TRUE(themeIcon({"no-such-icon-anywhere"}).isNull());

    if (!QDir("/usr/share/icons/Adwaita").exists())
        GTEST_SKIP() << "the Adwaita icon theme is not installed";
    // Without a desktop the platform names no complete theme, so Adwaita is in use.
    EXPECT_TRUE(QIcon::hasThemeIcon("document-open")) << QIcon::themeName().toStdString();
    const QIcon open = themeIcon({"no-such-icon-anywhere", "document-open"}, fallback);
    EXPECT_TRUE(hasOpaquePixels(open));
    EXPECT_NE(centre(open), QColor(Qt::magenta).rgb());
    // Symbolic icons are SVG, drawn through Qt's SVG support.
    EXPECT_TRUE(hasOpaquePixels(themeIcon({"view-grid-symbolic"})));
}
