// Every dialog of the control, the host's main window, Trazel and the uninstaller's dialogs shown
// for real and clicked as a user clicks: on every page of every tab, a click sent through the
// window at the centre of each visible control (each tab of a tab bar) must reach that control or
// a widget inside it. Whatever lies over a control (a stray label, a widget outside its layout,
// a page cut off by its frame) takes the click and is named; all dialogs are swept before the
// test says what it found.
#include "Control/charts/ChartExchange.h"
#include "Control/core/ConnectDialogs.h"
#include "Control/core/DownloadProgress.h"
#include "Control/core/PelmoraC02.h"
#include "Control/GrfDialogo/frmTrazel.h"
#include "Control/presentation/PreviewDialogs.h"
#include "PelmoraApp/frmMain.h"
#include "PelmoraApp/frmPelmoraXpalOmrf.h"
#include "platform/chart/Chart2D.h"
#include "platform/olap/local/CubeBuilder.h"
#include "tests/PelmoraApp/HostTestSupport.h"
#include "tests/support/ScriptedMsgBox.h"
#include "tests/support/ShownDialogs.h"
#include "uninstaller/Dialogs.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QMap>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTabBar>
#include <QTest>
#include <QWindow>

#include <functional>
#include <memory>

using testing_support::whenShown;

namespace {

// Takes every mouse press, release and double click meant for a widget, so that no click acts
// (nothing opens, closes or changes while the controls are tried), and keeps the widget the
// window system's press went to.
class ClickCatcher : public QObject
{
public:
    ClickCatcher() { qApp->installEventFilter(this); }
    ~ClickCatcher() override { qApp->removeEventFilter(this); }

    QPointer<QWidget> pressed;

protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        const QEvent::Type type = event->type();
        if (!object->isWidgetType()
            || (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease
                && type != QEvent::MouseButtonDblClick))
            return false;
        if (type == QEvent::MouseButtonPress)
            pressed = static_cast<QWidget *>(object);
        return true;
    }
};

bool isControl(const QWidget *w)
{
    return qobject_cast<const QAbstractButton *>(w) || qobject_cast<const QComboBox *>(w)
           || qobject_cast<const QLineEdit *>(w) || qobject_cast<const QAbstractSpinBox *>(w)
           || qobject_cast<const QAbstractSlider *>(w)
           || qobject_cast<const QAbstractScrollArea *>(w);
}

// "name (Class)", with the nearest named ancestor for a widget without a name of its own.
QString describe(const QWidget *w)
{
    if (!w)
        return QStringLiteral("nothing");
    QString text = QStringLiteral("%1 (%2)").arg(w->objectName(),
                                                 QLatin1String(w->metaObject()->className()));
    if (w->objectName().isEmpty()) {
        for (const QWidget *up = w->parentWidget(); up; up = up->parentWidget()) {
            if (!up->objectName().isEmpty()) {
                text += QStringLiteral(" in ") + up->objectName();
                break;
            }
        }
    }
    return text;
}

void settle()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

// Clicks every control of a shown window, on each combination of its tab pages, and gathers
// what the clicks did not reach.
class ClickSweep
{
public:
    void sweep(QWidget &window, const QString &name)
    {
        settle();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window)) << name.toStdString();
        ClickCatcher catcher;
        m_catcher = &catcher;
        visit(window, name, {});
        m_catcher = nullptr;
        EXPECT_GT(tried.value(name), 0) << name.toStdString() << ": no control was tried";
        keepPicture(window, name);
    }

    QStringList faults() const
    {
        QStringList all(m_faults.begin(), m_faults.end());
        all.sort();
        return all;
    }
    // The controls tried in each window, by window name.
    QMap<QString, int> tried;

private:
    void visit(QWidget &window, const QString &name, const QList<const QTabBar *> &shown)
    {
        for (QTabBar *bar : window.findChildren<QTabBar *>()) {
            if (!bar->isVisible() || shown.contains(bar))
                continue;
            const int was = bar->currentIndex();
            for (int t = 0; t < bar->count(); ++t) {
                if (!bar->isTabEnabled(t))
                    continue;
                bar->setCurrentIndex(t);
                settle();
                const QString page = bar->tabText(t).remove(QLatin1Char('&'));
                visit(window, name + QStringLiteral(" / ") + page,
                      shown + QList<const QTabBar *>{bar});
            }
            bar->setCurrentIndex(was);
            settle();
            return;
        }
        check(window, name);
    }

    void check(QWidget &window, const QString &name)
    {
        const QString dialog = name.section(QStringLiteral(" / "), 0, 0);
        for (QWidget *w : window.findChildren<QWidget *>()) {
            if (!w->isVisible() || w->window() != &window)
                continue;
            if (auto *bar = qobject_cast<QTabBar *>(w)) {
                for (int t = 0; t < bar->count(); ++t) {
                    const QString tab = QStringLiteral("tab \"%1\" of ").arg(bar->tabText(t));
                    tryPoint(window, name, bar, bar->tabRect(t).center(), tab + describe(bar));
                }
            } else if (isControl(w)) {
                tryPoint(window, name, w, w->rect().center(), describe(w));
            } else {
                continue;
            }
            ++tried[dialog];
        }
    }

    // A click at `local` of `target`: an enabled control is clicked through the window, a
    // disabled one (which takes no click) is looked up under the point.
    void tryPoint(QWidget &window, const QString &name, QWidget *target, QPoint local,
                  const QString &what)
    {
        const QPoint at = target->mapTo(&window, local);
        QWidget *reached = nullptr;
        if (!window.rect().contains(at)) {
            m_faults.insert(QStringLiteral("%1: %2 lies outside the window").arg(name, what));
            return;
        }
        if (target->isEnabled()) {
            m_catcher->pressed = nullptr;
            QTest::mouseClick(window.windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
            reached = m_catcher->pressed;
        } else {
            reached = window.childAt(at);
        }
        if (reached == target || target->isAncestorOf(reached))
            return;
        m_faults.insert(QStringLiteral("%1: a click on %2 at (%3, %4) reached %5")
                            .arg(name, what)
                            .arg(at.x())
                            .arg(at.y())
                            .arg(describe(reached)));
    }

    static void keepPicture(QWidget &window, const QString &name)
    {
        const QString dir = QStringLiteral(PELMORA_SCREENS_DIR "/dialogs");
        QDir().mkpath(dir);
        QString file = name;
        file.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9]+")), QStringLiteral("-"));
        window.grab().save(QDir(dir).filePath(file + QStringLiteral(".png")));
    }

    ClickCatcher *m_catcher = nullptr;
    QSet<QString> m_faults;
};

// Closes a window after its sweep, as Cancel or the close box would.
void closeWindow(QWidget &window)
{
    if (auto *dialog = qobject_cast<QDialog *>(&window))
        dialog->reject();
    window.hide();
}

class EveryDialogOnScreen : public hosttest::HostTest
{
protected:
    // Sweeps the modal dialog that `open` shows, then closes it.
    void sweepModal(const QString &name, const std::function<void()> &open)
    {
        bool swept = false;
        whenShown([&](QWidget &window) {
            m_sweep.sweep(window, name);
            swept = true;
            closeWindow(window);
        });
        open();
        EXPECT_TRUE(swept) << name.toStdString();
        settle();
    }

    // Sweeps a window shown on its own (not modal).
    void sweepShown(QWidget &window, const QString &name)
    {
        window.show();
        window.activateWindow();
        (void)QTest::qWaitForWindowActive(&window);
        m_sweep.sweep(window, name);
        window.hide();
    }

    ClickSweep m_sweep;
    testing_support::ScriptedMsgBox m_boxes;
};

} // namespace

TEST_F(EveryDialogOnScreen, EachClickReachesTheControlUnderIt)
{
    const QString cube = dirPath(QStringLiteral("sample.cub"));
    platform::olap::local::writeSampleCube(cube, 2000, 7);

    // The host, started on the sample cube: its main window with the view's control.
    auto main = makeMain(nullptr);
    main->MDIForm_Load({cube});
    ASSERT_EQ(main->childWindows().size(), 1) << m_boxes.texts().join('\n').toStdString();
    PelmoraC02 *found = main->childWindows().first()->control();
    ASSERT_NE(found, nullptr);
    PelmoraC02 &control = *found;
    main->resize(1100, 800);
    sweepShown(*main, QStringLiteral("PelmoraApp main window"));
    main->show();
    settle();

    // The control's dialogs, each opened by its own command, in English and in Spanish.
    for (const int language : {0, 1}) {
        control.language.LanguageID = language;
        const QString in = language == 0 ? QString() : QStringLiteral(" (Spanish)");
        sweepModal(QStringLiteral("frmOpen") + in, [&] { control.askConection(); });
        sweepModal(QStringLiteral("frmConexion") + in, [&] {
            frmConexion form(&control);
            form.traeConexion(language, QString());
        });
        ASSERT_TRUE(control.connState.connection && control.connState.catalog);
        sweepModal(QStringLiteral("frmDb") + in, [&] {
            frmDb form(&control);
            form.traeDb(language, *control.connState.connection);
        });
        sweepModal(QStringLiteral("frmCubo") + in, [&] {
            frmCubo form(&control);
            form.traeCubo(language, *control.connState.catalog);
        });
        sweepModal(QStringLiteral("frmLayout") + in, [&] { control.showLayout(); });
        sweepModal(QStringLiteral("frmMDX") + in, [&] { control.directMDX(); });
        sweepModal(QStringLiteral("frmElementos") + in, [&] { control.showElements(); });
        sweepModal(QStringLiteral("frmTitulo") + in, [&] { control.changeTitle(); });
        sweepModal(QStringLiteral("frmSplash") + in, [&] { control.ShowAboutBox(); });
        sweepModal(QStringLiteral("frmPareto") + in,
                   [&] { control.doAnalysis2(QStringLiteral("Time")); });
        sweepModal(QStringLiteral("frmFormato") + in, [&] { control.doFormat(); });
        sweepModal(QStringLiteral("frmGrf2D") + in,
                   [&] { pelmora::editChartFormat(*control.grf2d, language, &control); });
        // The preview options, then (once they are taken) the preview window.
        bool previewSwept = false;
        whenShown([&](QWidget &options) {
            m_sweep.sweep(options, QStringLiteral("frmPreviewParams") + in);
            whenShown([&](QWidget &preview) {
                m_sweep.sweep(preview, QStringLiteral("frmPreview") + in);
                previewSwept = true;
                closeWindow(preview);
            });
            static_cast<frmPreviewParams &>(options).cmdAceptar->click();
        });
        control.doAction(QStringLiteral("PRINTVIEW"));
        EXPECT_TRUE(previewSwept);
        // The window of a download of a cube file at a web address.
        {
            DownloadProgress progress(language, QStringLiteral("http://example.com/sales.cub"));
            progress.showBytes(4096, 65536);
            sweepShown(progress, QStringLiteral("DownloadProgress") + in);
        }
    }
    settle();
    main->hide();

    // Trazel, the standalone chart editor, on the view's chart.
    {
        ASSERT_TRUE(control.grf2d->saveFormat(dirPath(QStringLiteral("def.oc2"))));
        frmTrazel trazel(m_dir.path());
        sweepShown(trazel, QStringLiteral("Trazel"));
    }

    // The uninstaller's dialogs, with something left over to show.
    {
        uninstaller::FailureLists failures;
        failures.files = "/opt/pelmora/bin/PelmoraApp.en\r\n";
        failures.directories = "/opt/pelmora/bin\r\n";
        uninstaller::ProgressWindow progress(failures);
        progress.setTitleLine(QStringLiteral("Removing Pelmora"));
        progress.showMarker(4);
        progress.complete(QStringLiteral("Some items could not be removed."), true);
        sweepShown(progress, QStringLiteral("uninstaller progress"));
        uninstaller::DetailsDialog details(failures);
        sweepShown(details, QStringLiteral("uninstaller details"));
        uninstaller::SharedFileDialog shared(QStringLiteral("/usr/lib/libshared.so"));
        sweepShown(shared, QStringLiteral("uninstaller shared file"));
    }

    const QStringList faults = m_sweep.faults();
    EXPECT_TRUE(faults.isEmpty()) << faults.size() << " clicks missed their control:\n"
                                  << faults.join('\n').toStdString();
}
