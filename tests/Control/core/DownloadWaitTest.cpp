// A cube file at a web address served by a hostile server: the route ends within the download's
// bounds, start-up then shows message 0 (for a view file over the address too), no temporary
// file stays, and a download that lasts shows its progress window, whose Cancel ends it.
#include "Control/core/DownloadProgress.h"
#include "Control/core/PelmoraC02.h"
#include "Control/settings/ViewFileFormat.h"
#include "platform/automation/Download.h"
#include "tests/platform/olap/CubeFixtures.h"
#include "tests/platform/olap/xmla/FakeXmlaServer.h"
#include "tests/support/ScriptedMsgBox.h"
#include "tests/support/ShownDialogs.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <memory>

using platform::automation::Download;
using testing_support::ScriptedMsgBox;
using xmlatest::FakeReply;
using xmlatest::FakeXmlaServer;

namespace {

const QString messageZero = QStringLiteral("Parameter error: Can't open chosen cube.");

// A server whose every reply is the body of `size` bytes made hostile by `hostile`.
std::unique_ptr<FakeXmlaServer> hostileServer(std::function<void(FakeReply &)> hostile,
                                              qsizetype size = 40000)
{
    return std::make_unique<FakeXmlaServer>([hostile, size](const xmlatest::FakeRequest &) {
        FakeReply reply;
        reply.body = QByteArray(size, 'c');
        hostile(reply);
        return reply;
    });
}

// The downloads the control starts from now on get these bounds (they start in its waiting
// loop, after this has run).
void boundDownloads(PelmoraC02 &control, int stallMs, qint64 maximum)
{
    QTimer::singleShot(0, &control, [&control, stallMs, maximum] {
        for (Download *download : control.findChildren<Download *>()) {
            download->setStallTimeout(stallMs);
            download->setStallMinimum(1024);
            download->setMaximumSize(maximum);
        }
    });
}

// Files of the download cache that belong to this address: the copy or its temporary file.
QStringList cachedFilesOf(const QUrl &address)
{
    const QString name = QFileInfo(Download::cacheFileFor(address)).fileName();
    return QDir(Download::cacheDirectory())
        .entryList({name + QLatin1Char('*')}, QDir::Files | QDir::Hidden);
}

class HostileDownloads : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_dir = std::make_unique<QTemporaryDir>();
        s_cube = testing_support::buildFixtureCube(s_dir->path(), "sales");
    }
    static void TearDownTestSuite() { s_dir.reset(); }

    // A view file over the sales cube whose cube is at `address`.
    static QString viewOver(const QUrl &address)
    {
        ScriptedMsgBox quiet;
        PelmoraC02 a;
        a.openParams.OpenFile = s_cube;
        EXPECT_TRUE(a.cubeConnect(false));
        pelmora::ViewFile view = a.viewFileOf();
        view.openParams.OpenFile.clear();
        view.openParams.OpenWWWDir = address.toString();
        const QString path = QDir(s_dir->path()).filePath("web.vcg");
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(pelmora::viewFileText(view));
        return path;
    }

    static std::unique_ptr<QTemporaryDir> s_dir;
    static QString s_cube;
};

std::unique_ptr<QTemporaryDir> HostileDownloads::s_dir;
QString HostileDownloads::s_cube;

} // namespace

TEST_F(HostileDownloads, StartUpShowsMessageZeroOnTheWebAndTheViewFileRoutes)
{
    struct Case
    {
        const char *name;
        std::function<void(FakeReply &)> hostile;
    };
    const Case cases[] = {
        {"endless",
         [](FakeReply &r) {
             r.endless = true;
             r.contentLength = -2;
         }},
        {"drip", [](FakeReply &r) { r.dripMs = 20; }},
        {"stall", [](FakeReply &r) { r.stallAfter = 100; }},
        {"longer than the body", [](FakeReply &r) { r.contentLength = r.body.size() + 1000; }},
        {"not found",
         [](FakeReply &r) {
             r.status = 404;
             r.reason = "Not Found";
         }},
    };
    for (const Case &c : cases) {
        for (const bool viewRoute : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (viewRoute ? " via a view file" : ""));
            const std::unique_ptr<FakeXmlaServer> server = hostileServer(c.hostile);
            const QUrl address = server->url("/cubes/sales.cub");
            const QString view = viewRoute ? viewOver(address) : QString();
            ScriptedMsgBox boxes;
            PelmoraC02 control;
            if (viewRoute)
                control.openParams.OpenView = view;
            else
                control.openParams.OpenWWWDir = address.toString();
            boundDownloads(control, 400, 1024 * 1024);
            QElapsedTimer clock;
            clock.start();
            control.UserControl_Show();
            EXPECT_LT(clock.elapsed(), 5000);
            EXPECT_EQ(boxes.texts(), QStringList({messageZero}));
            EXPECT_EQ(control.connState.downloadState, pelmora::DownloadFailed);
            EXPECT_FALSE(control.connState.connected);
            EXPECT_FALSE(control.connState.waitingForDownload);
            EXPECT_TRUE(cachedFilesOf(address).isEmpty()) << cachedFilesOf(address).join(' ')
                                                                 .toStdString();
            EXPECT_EQ(server->requests().size(), 1);
        }
    }
}

// The progress window shown for real: it appears once the download has lasted a second, shows
// the bytes so far, and Cancel (a click, or Escape) is a failed download: start-up shows
// message 0 and the temporary file is gone.
TEST_F(HostileDownloads, OnScreenTheProgressWindowCancelsTheDownload)
{
    for (const bool byMouse : {true, false}) {
        SCOPED_TRACE(byMouse ? "Cancel clicked" : "Escape pressed");
        const std::unique_ptr<FakeXmlaServer> server =
            hostileServer([](FakeReply &r) { r.dripMs = 10; });
        const QUrl address = server->url("/cubes/sales.cub");
        ScriptedMsgBox boxes;
        PelmoraC02 control;
        control.resize(400, 300);
        control.show();
        ASSERT_TRUE(boxes.texts().isEmpty());
        control.openParams.OpenWWWDir = address.toString();

        QElapsedTimer clock;
        qint64 shownAfter = -1;
        QString title;
        QString bytes;
        testing_support::whenShown([&](QWidget &window) {
            shownAfter = clock.elapsed();
            auto *progress = qobject_cast<DownloadProgress *>(&window);
            ASSERT_NE(progress, nullptr) << window.objectName().toStdString();
            title = progress->windowTitle();
            bytes = progress->lblBytes->text();
            if (byMouse) {
                QDir().mkpath(PELMORA_TEST_PICTURES);
                const QString shot =
                    QDir(PELMORA_TEST_PICTURES).filePath("download-progress.png");
                EXPECT_TRUE(progress->grab().save(shot)) << shot.toStdString();
                testing_support::clickOn(progress->cmdCancel);
            } else {
                testing_support::pressKey(*progress, Qt::Key_Escape);
            }
        });
        clock.start();
        control.UserControl_Show();
        EXPECT_GE(shownAfter, 900);
        EXPECT_LT(clock.elapsed(), 8000);
        EXPECT_EQ(title, "Download");
        EXPECT_TRUE(bytes.endsWith(" of 39.1 KB")) << bytes.toStdString();
        EXPECT_EQ(boxes.texts(), QStringList({messageZero}));
        EXPECT_EQ(control.connState.downloadState, pelmora::DownloadFailed);
        EXPECT_TRUE(control.findChildren<DownloadProgress *>().isEmpty());
        EXPECT_TRUE(cachedFilesOf(address).isEmpty());
    }
}

TEST(DownloadProgressWindow, ShowsTheBytesInTheControlsLanguage)
{
    const struct
    {
        int language;
        qint64 received, expected;
        const char *bytes;
        const char *cancel;
    } cases[] = {
        {0, 2048 * 10, 40000, "20 KB of 39.1 KB", "Cancel"},
        {0, 300, -1, "300 bytes so far", "Cancel"},
        {1, 5 * 1024 * 1024, -1, "5 MB hasta ahora", "Cancelar"},
        {1, 0, 10, "0 bytes de 10 bytes", "Cancelar"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.bytes);
        DownloadProgress window(c.language, "http://h/s.cub");
        window.showBytes(c.received, c.expected);
        EXPECT_EQ(window.lblBytes->text(), c.bytes);
        EXPECT_EQ(window.cmdCancel->text(), c.cancel);
        EXPECT_TRUE(window.lblAddress->text().endsWith("http://h/s.cub"));
    }
}
