// The three dialogs as a user meets them: shown for real, answered with the mouse and keys.
#include "tests/uninstaller/UninstallFixture.h"

#include "tests/support/ScriptedMsgBox.h"
#include "uninstaller/Dialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cerrno>
#include <functional>

using namespace uninstaller;

namespace {

// Runs `act` on the event loop once `widget` is shown on the screen.
void whenShown(QWidget *widget, std::function<void()> act)
{
    QTimer::singleShot(0, widget, [widget, act = std::move(act)] {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(widget));
        act();
    });
}

QWidget *shownTopLevel(const QString &name)
{
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (widget->objectName() == name && widget->isVisible())
            return widget;
    return nullptr;
}

} // namespace

TEST(ShownDialogs, SharedFileQuestionIgnoresEscAndAnswersYes)
{
    SharedFileDialog dialog(QStringLiteral("/opt/fake/lib/libshared.so"));
    bool openAfterEsc = false;
    whenShown(&dialog, [&] {
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QTest::qWait(50);
        openAfterEsc = dialog.isVisible();
        QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("yesButton")),
                          Qt::LeftButton);
    });
    EXPECT_EQ(dialog.exec(), int(SharedFileDialog::Yes));
    EXPECT_TRUE(openAfterEsc);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Remove shared file"));
}

TEST(ShownDialogs, DetailsListsTheFailuresReadOnly)
{
    FailureLists failures;
    failures.directories = "/opt/fake/bin\r\n/opt/fake\r\n";
    EXPECT_EQ(DetailsDialog::detailsText(failures),
              "Couldn't remove following directories:\r\n/opt/fake/bin\r\n/opt/fake\r\n");
    failures.registryKeys = "HKEY_CURRENT_USER\\Software\\Fake\r\n";
    failures.directories.clear();
    failures.files = "/opt/fake/a\r\n";
    EXPECT_EQ(DetailsDialog::detailsText(failures),
              "Couldn't delete following files:\r\n/opt/fake/a\r\n\r\n"
              "Couldn't delete following registry keys:\r\nHKEY_CURRENT_USER\\Software\\Fake\r\n");

    DetailsDialog dialog(failures);
    QString typedInto;
    whenShown(&dialog, [&] {
        QTest::mouseClick(dialog.edit()->viewport(), Qt::LeftButton);
        QTest::keyClicks(dialog.edit(), QStringLiteral("typed"));
        typedInto = dialog.edit()->toPlainText();
        QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("closeButton")),
                          Qt::LeftButton);
    });
    EXPECT_EQ(dialog.exec(), int(QDialog::Accepted));
    EXPECT_FALSE(typedInto.contains(QStringLiteral("typed")));
    EXPECT_TRUE(typedInto.startsWith(QStringLiteral("Couldn't delete following files:\n")));
}

TEST(ShownDialogs, ProgressWindowShowsTheRunAndItsDetails)
{
    uninstall_test::FakeProduct product;
    UninstallContent content = product.standardContent();
    product.fileSystem
        .fileErrors[QFile::encodeName(product.path(QStringLiteral("opt/fake/readme")))] = EBUSY;
    product.install(content);
    testing_support::ScriptedMsgBox boxes(platform::forms::Yes);
    boxes.answer({platform::forms::Yes, platform::forms::No, platform::forms::No});

    QString result;
    bool markersShown = false;
    bool detailsSeen = false;
    bool detailsAsked = false;
    QTimer driver;
    driver.setInterval(20);
    QObject::connect(&driver, &QTimer::timeout, [&] {
        if (QWidget *details = shownTopLevel(QStringLiteral("detailsDialog"))) {
            detailsSeen = details->findChild<QPlainTextEdit *>()->toPlainText().contains(
                QStringLiteral("readme"));
            QTest::keyClick(details, Qt::Key_Escape);
            return;
        }
        auto *window =
            qobject_cast<ProgressWindow *>(shownTopLevel(QStringLiteral("progressWindow")));
        if (!window || !window->closeButton()->isEnabled())
            return;
        if (!detailsSeen) {
            // Clicked from outside this timer's slot: the modal Details window runs a loop of
            // its own, in which this timer must fire again to close it.
            if (!detailsAsked)
                QTimer::singleShot(0, window, [window] {
                    QTest::mouseClick(window->detailsButton(), Qt::LeftButton);
                });
            detailsAsked = true;
            return;
        }
        driver.stop();
        result = window->resultText()->text();
        markersShown = true;
        for (int step = 0; step < 5; ++step)
            markersShown = markersShown && window->marker(step)->isVisible();
        QDir().mkpath(QStringLiteral(UNINSTALLER_SHOTS_DIR));
        window->grab().save(QStringLiteral(UNINSTALLER_SHOTS_DIR "/progress.png"));
        EXPECT_EQ(window->titleLine()->text(),
                  QStringLiteral("Removing Fake Product from your system..."));
        QTest::keyClick(window, Qt::Key_Return); // Close is the default button
    });
    driver.start();
    EXPECT_EQ(runUninstaller({QStringLiteral("/NOREMOVE")}, product.settings()), 1);
    EXPECT_TRUE(detailsSeen);
    EXPECT_TRUE(markersShown);
    EXPECT_EQ(result, QStringLiteral("Uninstallation complete.\nSome elements couldn't be "
                                     "removed."));
    // Closing with a file left for the next boot asks about the restart once; No: none.
    EXPECT_EQ(boxes.texts().count(QStringLiteral("To finalize the uninstallation your system "
                                                 "needs to be restarted. Do you want to reboot "
                                                 "now?")),
              1);
    EXPECT_EQ(product.restarts, 0);
}

TEST(ShownDialogs, SharedFileQuestionKeepsTheWholeQuestionForAnyPath)
{
    const QString question = QStringLiteral(" doesn't seem to be used by any programs. Do you "
                                            "want to remove this file?");
    const QString deep = QStringLiteral("/opt/fake") + QStringLiteral("/level").repeated(60)
                         + QStringLiteral("/libshared.so");
    const QString spaced = QStringLiteral("/opt/Fake Product/a folder with blanks").repeated(8)
                           + QStringLiteral("/lib shared.so");
    struct Case
    {
        QString path;
        bool whole; // the path is shown as it is
        QString picture;
    };
    const std::vector<Case> cases = {
        {QStringLiteral("/opt/fake/lib/libshared.so"), true, QString()},
        {deep, false, QStringLiteral("uninstaller-shared-file-long-path.png")},
        {spaced, false, QString()},
    };
    for (const Case &c : cases) {
        SharedFileDialog dialog(c.path);
        QString shown;
        bool fits = false;
        bool openAfterEsc = false;
        whenShown(&dialog, [&] {
            const QLabel *label = dialog.question();
            shown = label->text();
            const QRect box = label->contentsRect();
            const QRect needed = label->fontMetrics().boundingRect(
                QRect(0, 0, box.width(), 10 * box.height()), Qt::TextWordWrap, shown);
            fits = needed.width() <= box.width() && needed.height() <= box.height();
            if (!c.picture.isEmpty()) {
                QDir().mkpath(QStringLiteral(PELMORA_TEST_PICTURES));
                dialog.grab().save(QStringLiteral(PELMORA_TEST_PICTURES "/") + c.picture);
            }
            QTest::keyClick(&dialog, Qt::Key_Escape);
            QTest::qWait(50);
            openAfterEsc = dialog.isVisible();
            QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("noButton")),
                              Qt::LeftButton);
        });
        EXPECT_EQ(dialog.exec(), int(SharedFileDialog::No));
        EXPECT_TRUE(openAfterEsc);
        EXPECT_TRUE(fits) << shown.toStdString();
        EXPECT_TRUE(shown.endsWith(question)) << shown.toStdString();
        EXPECT_EQ(shown == QStringLiteral("Shared file ") + c.path + question, c.whole);
        // Elided in the middle: the start of the path and the file's name are still there.
        EXPECT_TRUE(shown.startsWith(QStringLiteral("Shared file ") + c.path.left(8)));
        EXPECT_TRUE(shown.contains(c.path.right(10) + question)) << shown.toStdString();
    }
}

TEST(ShownDialogs, ProgressWindowIgnoresEscAndClosesByClose)
{
    FailureLists failures;
    ProgressWindow window(failures);
    int closeRequests = 0;
    QObject::connect(&window, &ProgressWindow::closeRequested, [&] { ++closeRequests; });
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    QTest::keyClick(&window, Qt::Key_Escape); // while the steps run
    QTest::qWait(50);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(closeRequests, 0);
    window.complete(QStringLiteral("Uninstallation complete."), false);
    QTest::keyClick(&window, Qt::Key_Escape); // after the run: still only Close closes
    QTest::qWait(50);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(closeRequests, 0);
    QTest::mouseClick(window.closeButton(), Qt::LeftButton);
    EXPECT_EQ(closeRequests, 1);
}
