// The chart format editor's fields shown for real over the control's sales chart and worked with
// the mouse and the keys: each caption stands beside the field it names, the Y axis bounds show
// the automatic axis as it is drawn (and follow it), a refused number waits until its field is
// left, and Print says when it cannot print. Pictures of the mended tabs are kept with the test
// pictures.
#include "Control/charts/ChartExchange.h"
#include "Control/charts/frmGrf2D.h"
#include "platform/widgets/TabStrip.h"
#include "tests/Control/charts/ChartTestSupport.h"
#include "tests/support/ShownDialogs.h"
#include "tests/support/UserInput.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QValueAxis>

#include <functional>
#include <utility>

using platform::chart::Chart2D;
using testing_support::keyClick;
using testing_support::keyClicks;
using testing_support::windowClick;

namespace {

void showTab(frmGrf2D &editor, int tab)
{
    auto *bar = editor.tabs->findChild<QTabBar *>();
    ASSERT_NE(bar, nullptr);
    windowClick(bar, bar->tabRect(tab).center());
    ASSERT_EQ(editor.tabs->currentTab(), tab);
}

// The field or list a user finds to the right of a caption, on the caption's line.
QWidget *besideCaption(frmGrf2D &editor, const char *caption)
{
    QLabel *label = nullptr;
    for (QLabel *l : editor.findChildren<QLabel *>(QLatin1String(caption))) {
        if (l->isVisible())
            label = l;
    }
    if (!label)
        return nullptr;
    const QPoint start = label->mapTo(&editor, QPoint(label->width(), label->height() / 2));
    for (int dx = 1; dx < 400; ++dx) {
        for (QWidget *w = editor.childAt(start + QPoint(dx, 0)); w && w != &editor;
             w = w->parentWidget()) {
            if (qobject_cast<QLineEdit *>(w) || qobject_cast<QComboBox *>(w))
                return w;
        }
    }
    return nullptr;
}

// Replaces a field's text by typing, after a click on it through the window.
void typeOver(QLineEdit *field, const QString &keys)
{
    windowClick(field);
    keyClick(field, Qt::Key_A, QString(), Qt::ControlModifier);
    keyClicks(field, keys);
}

void keepPicture(QWidget &editor, const QString &name)
{
    QDir dir(QStringLiteral(PELMORA_TEST_PICTURES));
    dir.mkpath(QStringLiteral("chart-editor-fields"));
    editor.grab().save(dir.filePath(QStringLiteral("chart-editor-fields/") + name + ".png"));
}

class ChartEditorFieldsOnScreen : public charts_test::SalesControl
{
protected:
    // Runs `drive` on the editor opened on the control's 2-D chart; the drive closes it.
    void withEditor(const std::function<void(frmGrf2D &)> &drive)
    {
        ASSERT_TRUE(control.genSelect());
        bool driven = false;
        testing_support::whenShown([&](QWidget &window) {
            auto *editor = qobject_cast<frmGrf2D *>(&window);
            ASSERT_NE(editor, nullptr);
            drive(*editor);
            driven = true;
            if (editor->isVisible())
                windowClick(editor->cmdCancel);
        });
        pelmora::editChartFormat(*control.grf2d, 0, &control);
        EXPECT_TRUE(driven);
    }
};

} // namespace

TEST_F(ChartEditorFieldsOnScreen, EachCaptionStandsBesideTheFieldItNames)
{
    struct Case
    {
        int tab;
        const char *caption; // its English text in the comment
        QWidget *(*field)(frmGrf2D &);
        const char *typed; // nothing for a list
        double (*read)(const Chart2D &);
    };
    const Case cases[] = {
        {8, "Label111", // "Back:" ("Fondo:"), the depth
         [](frmGrf2D &f) -> QWidget * { return f.txt3D(0); }, "25",
         [](const Chart2D &c) { return double(c.chartArea().effect3D().depth()); }},
        {8, "Label112", // "Elevation:"
         [](frmGrf2D &f) -> QWidget * { return f.txt3D(1); }, "25",
         [](const Chart2D &c) { return double(c.chartArea().effect3D().elevation()); }},
        {8, "Label113", // "Rotation:"
         [](frmGrf2D &f) -> QWidget * { return f.txt3D(2); }, "25",
         [](const Chart2D &c) { return double(c.chartArea().effect3D().rotation()); }},
        {4, "Label92", // "Rotate val:", the X axis labels
         [](frmGrf2D &f) -> QWidget * { return f.txtRotacion(0); }, "30",
         [](const Chart2D &c) { return c.chartArea().axes().x().rotation(); }},
        {5, "Label91", // "Val rot:", the Y axis labels
         [](frmGrf2D &f) -> QWidget * { return f.txtRotacion(1); }, "30",
         [](const Chart2D &c) { return c.chartArea().axes().y().rotation(); }},
        {5, "Label89", // "Tit rot:", the Y axis title
         [](frmGrf2D &f) -> QWidget * { return f.cmbRotacion(0); }, nullptr, nullptr},
    };
    withEditor([&](frmGrf2D &editor) {
        for (const Case &c : cases) {
            SCOPED_TRACE(c.caption);
            showTab(editor, c.tab);
            QWidget *beside = besideCaption(editor, c.caption);
            ASSERT_EQ(beside, c.field(editor))
                << (beside ? beside->objectName().toStdString() : "nothing");
            if (!c.typed)
                continue;
            typeOver(static_cast<QLineEdit *>(beside), QLatin1String(c.typed));
            keyClick(beside, Qt::Key_Tab);
            EXPECT_DOUBLE_EQ(c.read(*editor.grf2d), QString::fromLatin1(c.typed).toDouble());
        }
        showTab(editor, 8);
        keepPicture(editor, "data-tab");
        showTab(editor, 4);
        keepPicture(editor, "x-axis-tab");
    });
    EXPECT_EQ(boxes.count(), 0) << boxes.texts().join("; ").toStdString();
}

TEST_F(ChartEditorFieldsOnScreen, TheYAxisBoundsShowTheAxisAsDrawn)
{
    withEditor([&](frmGrf2D &editor) {
        showTab(editor, 5);
        const auto &y = editor.grf2d->chartArea().axes().y();
        EXPECT_TRUE(y.isMinAuto());
        EXPECT_TRUE(y.isMaxAuto());
        // The bounds of the preview's value axis as the user sees them.
        const auto drawnBounds = [&editor] {
            for (QAbstractAxis *axis : editor.grf2d->chartView()->chart()->axes(Qt::Vertical)) {
                if (const auto *values = qobject_cast<QValueAxis *>(axis))
                    return std::pair(values->min(), values->max());
            }
            ADD_FAILURE() << "no value axis";
            return std::pair(0.0, 0.0);
        };
        const auto [bottom, top] = drawnBounds();
        ASSERT_GT(top, 0);
        EXPECT_EQ(editor.txtValor(0)->text(), QString::number(bottom));
        EXPECT_EQ(editor.txtValor(1)->text(), QString::number(top));
        keepPicture(editor, "y-axis-tab");
        // Walking through the bounds without typing leaves the axis automatic.
        windowClick(editor.txtValor(0));
        keyClick(editor.txtValor(0), Qt::Key_Tab);
        keyClick(editor.txtValor(1), Qt::Key_Tab);
        EXPECT_TRUE(y.isMinAuto());
        EXPECT_TRUE(y.isMaxAuto());
        // The bounds follow the axis as it changes: to the percentages of the values and back.
        QCheckBox *percent = editor.chkEjeY(1);
        windowClick(percent, QPoint(6, percent->height() / 2));
        ASSERT_TRUE(percent->isChecked());
        const double percentTop = drawnBounds().second;
        EXPECT_NE(percentTop, top);
        EXPECT_EQ(editor.txtValor(1)->text(), QString::number(percentTop));
        windowClick(percent, QPoint(6, percent->height() / 2));
        EXPECT_EQ(editor.txtValor(1)->text(), QString::number(top));
        EXPECT_TRUE(y.isMaxAuto());
        // A typed maximum fixes it.
        typeOver(editor.txtValor(1), "50000");
        keyClick(editor.txtValor(1), Qt::Key_Tab);
        EXPECT_FALSE(y.isMaxAuto());
        EXPECT_DOUBLE_EQ(y.max(), 50000);
    });
    EXPECT_EQ(boxes.count(), 0) << boxes.texts().join("; ").toStdString();
}

TEST_F(ChartEditorFieldsOnScreen, ARefusedNumberIsSaidWhenItsFieldIsLeft)
{
    struct Case
    {
        const char *keys;
        const char *message;
    };
    // Border widths run from 0 to 100: "300" is refused on the way, the whole text too.
    const Case cases[] = {
        {"3000000000", "txtBorde_Change: Overflow"},
        {"500", "txtBorde_Change: Invalid property value"},
    };
    withEditor([&](frmGrf2D &editor) {
        showTab(editor, 0);
        QLineEdit *width = editor.txtBorde(0);
        for (const Case &c : cases) {
            SCOPED_TRACE(c.keys);
            boxes.clear();
            typeOver(width, QLatin1String(c.keys));
            // Every key arrived and nothing was said while typing.
            EXPECT_EQ(width->text(), QLatin1String(c.keys));
            EXPECT_EQ(boxes.count(), 0);
            EXPECT_EQ(QApplication::focusWidget(), width);
            keyClick(width, Qt::Key_Tab);
            EXPECT_EQ(boxes.texts(), QStringList({QString::fromLatin1(c.message)}));
            // The field and the chart agree on the last width the chart took ("30", "50").
            const qint32 held = editor.grf2d->border().borderWidth();
            EXPECT_EQ(width->text(), QString::number(held));
            EXPECT_EQ(held, QString::fromLatin1(c.keys).left(2).toInt());
        }
        keepPicture(editor, "chart-tab-refused");
    });
}

TEST_F(ChartEditorFieldsOnScreen, PrintSaysWhenThereIsNoPrinter)
{
    if (!QPrinterInfo::availablePrinterNames().isEmpty())
        GTEST_SKIP() << "a printer is set up here: the button would print";
    withEditor([&](frmGrf2D &editor) {
        windowClick(editor.cmdImprimir);
        EXPECT_EQ(boxes.texts(),
                  QStringList({"No printer is set up: the chart was not printed."}));
        EXPECT_TRUE(editor.isVisible());
    });
}
