#include "platform/automation/Download.h"
#include "platform/runtime/Error.h"
#include "tests/platform/olap/xmla/FakeXmlaServer.h"
#include "tests/support/EnvironmentGuard.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QHash>
#include <QPointer>
#include <QStorageInfo>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>

using namespace platform::automation;

namespace {

// A scripted HTTP server on the loopback interface, run by the test's event loop.
class LoopbackServer : public QObject
{
public:
    enum class Ending {
        Complete, // the whole body, then close
        Stall,    // the headers and part of the body, then nothing
        Cut,      // the headers and part of the body, then close
        Reset,    // the headers and part of the body, then a reset, as from a killed server
    };

    struct Route
    {
        Route(QByteArray status = "200 OK", QByteArray body = {}, QByteArray headers = {},
              Ending ending = Ending::Complete)
            : status(status), body(body), headers(headers), ending(ending)
        {}

        QByteArray status;
        QByteArray body;
        QByteArray headers; // extra header lines, each ending in \r\n
        Ending ending;
    };

    LoopbackServer()
    {
        connect(&m_server, &QTcpServer::newConnection, this, &LoopbackServer::accept);
        m_server.listen(QHostAddress::LocalHost);
    }

    bool isListening() const { return m_server.isListening(); }
    QUrl url(const QString &path) const
    {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path));
    }
    void route(const QByteArray &path, const Route &route) { m_routes[path] = route; }
    void route(const QByteArray &path, const QByteArray &body)
    {
        m_routes[path] = Route("200 OK", body);
    }
    // Responses that stopped part way so far.
    int partialResponses() const { return m_partial; }

private:
    void accept()
    {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    }

    void serve(QTcpSocket *socket)
    {
        QByteArray &request = m_requests[socket];
        request += socket->readAll();
        if (!request.contains("\r\n\r\n"))
            return;
        const QByteArray path = request.split(' ').value(1);
        m_requests.remove(socket);

        const Route route = m_routes.value(path, Route("404 Not Found", "no such page"));
        QByteArray response = "HTTP/1.1 " + route.status
                              + "\r\nContent-Length: " + QByteArray::number(route.body.size())
                              + "\r\nConnection: close\r\n" + route.headers + "\r\n";
        if (route.ending == Ending::Complete) {
            socket->write(response + route.body);
            socket->disconnectFromHost();
            return;
        }
        socket->write(response + route.body.left(route.body.size() / 2));
        socket->flush();
        ++m_partial;
        if (route.ending == Ending::Cut)
            socket->disconnectFromHost();
        else if (route.ending == Ending::Reset)
            QTimer::singleShot(50, socket, [socket] { socket->abort(); });
    }

    QTcpServer m_server;
    QHash<QByteArray, Route> m_routes;
    QHash<QTcpSocket *, QByteArray> m_requests;
    int m_partial = 0;
};

// What a download reported, in order; listens for as long as it lives.
class Recorder : public QObject
{
public:
    explicit Recorder(Download &download)
    {
        connect(&download, &Download::finished, this, [this](const QString &file) {
            events.append("finished");
            text = file;
        });
        connect(&download, &Download::failed, this, [this](const QString &description) {
            events.append("failed");
            text = description;
        });
        connect(&download, &Download::cancelled, this, [this] { events.append("cancelled"); });
    }

    std::string reported() const { return events.join(' ').toStdString(); }

    QStringList events;
    QString text;
};

struct Outcome
{
    std::string events; // the signals, separated by blanks
    QString text;       // the file or description of the last one
};

// Runs the event loop until `done` or the time is up; answers `done()`.
bool spinUntil(const std::function<bool()> &done, int milliseconds = 10000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < milliseconds) {
        QEventLoop loop;
        QTimer::singleShot(10, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return done();
}

void spinFor(int milliseconds)
{
    spinUntil([] { return false; }, milliseconds);
}

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

class DownloadTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_cache.isValid());
        ASSERT_TRUE(m_server.isListening());
        m_hadCache = qEnvironmentVariableIsSet("XDG_CACHE_HOME");
        m_previousCache = qgetenv("XDG_CACHE_HOME");
        qputenv("XDG_CACHE_HOME", QFile::encodeName(m_cache.path()));
    }

    void TearDown() override
    {
        if (m_hadCache)
            qputenv("XDG_CACHE_HOME", m_previousCache);
        else
            qunsetenv("XDG_CACHE_HOME");
    }

    // Starts `download` and waits for its one outcome.
    static Outcome run(Download &download, const QUrl &url)
    {
        Recorder recorder(download);
        download.start(url);
        spinUntil([&] { return !recorder.events.isEmpty(); });
        spinFor(20); // a second signal would show up here
        return {recorder.reported(), recorder.text};
    }

    static QStringList cachedFiles()
    {
        return QDir(Download::cacheDirectory()).entryList(QDir::Files | QDir::Hidden);
    }

    QTemporaryDir m_cache;
    LoopbackServer m_server;

private:
    bool m_hadCache = false;
    QByteArray m_previousCache;
};

} // namespace

TEST_F(DownloadTest, HttpOutcomes)
{
    m_server.route("/Sales.cub", "cube data");
    m_server.route("/moved.cub", {"302 Found", "", "Location: /Sales.cub\r\n"});
    m_server.route("/loop.cub", {"302 Found", "", "Location: /loop.cub\r\n"});
    m_server.route("/broken.cub", {"500 Internal Server Error", "oops"});
    m_server.route("/cut.cub", {"200 OK", QByteArray(2000, 'x'), "", LoopbackServer::Ending::Cut});
    m_server.route("/reset.cub",
                   {"200 OK", QByteArray(2000, 'x'), "", LoopbackServer::Ending::Reset});
    struct Case
    {
        const char *path;
        bool succeeds;
        QByteArray content; // of the file, or a part of the failure's description
    };
    const Case cases[] = {
        {"/Sales.cub", true, "cube data"},        {"/moved.cub", true, "cube data"},
        {"/missing.cub", false, "404 Not Found"}, {"/broken.cub", false, "500"},
        {"/loop.cub", false, "/loop.cub"},        {"/cut.cub", false, "/cut.cub"},
        {"/reset.cub", false, "/reset.cub"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.path);
        const QUrl url = m_server.url(c.path);
        Download download;
        const Outcome outcome = run(download, url);
        EXPECT_FALSE(download.isRunning());
        EXPECT_EQ(download.url(), url);
        ASSERT_EQ(outcome.events, c.succeeds ? "finished" : "failed") << outcome.text.toStdString();
        if (c.succeeds) {
            EXPECT_EQ(outcome.text, Download::cacheFileFor(url));
            EXPECT_EQ(contentOf(outcome.text), c.content);
        } else {
            EXPECT_TRUE(outcome.text.contains(QString::fromLatin1(c.content)))
                << outcome.text.toStdString();
            EXPECT_FALSE(QFile::exists(Download::cacheFileFor(url)));
        }
    }
    // No temporary files are left behind.
    EXPECT_EQ(cachedFiles().size(), 2);
}

TEST_F(DownloadTest, OutcomesArriveFromTheEventLoop)
{
    const QString absent = m_cache.filePath("absent.cub");
    struct Case
    {
        QUrl url;
        const char *fragment;
    };
    const Case cases[] = {
        {QUrl("ftp://127.0.0.1/Sales.cub"), "\"ftp\" is not supported"},
        {QUrl(), "not a valid URL"},
        {QUrl::fromLocalFile(absent), "does not exist"},
        {QUrl::fromLocalFile(m_cache.path()), "is not a file"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.url.toString().toStdString());
        Download download;
        Recorder recorder(download);
        download.start(c.url);
        EXPECT_TRUE(recorder.events.isEmpty());
        EXPECT_TRUE(download.isRunning());
        spinUntil([&] { return !recorder.events.isEmpty(); });
        ASSERT_EQ(recorder.reported(), "failed");
        EXPECT_TRUE(recorder.text.contains(c.fragment)) << recorder.text.toStdString();
    }
}

TEST_F(DownloadTest, FileUrlCopiesTheFile)
{
    QTemporaryDir source;
    ASSERT_TRUE(source.isValid());
    QFile file(source.filePath("Model.vcg"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("view\r\nlines\0binary", 18);
    file.close();

    Download download;
    const Outcome outcome = run(download, QUrl::fromLocalFile(file.fileName()));
    ASSERT_EQ(outcome.events, "finished") << outcome.text.toStdString();
    EXPECT_EQ(contentOf(outcome.text), QByteArray("view\r\nlines\0binary", 18));
    EXPECT_TRUE(QFileInfo(outcome.text).fileName().startsWith("Model-"));
    EXPECT_TRUE(outcome.text.endsWith(".vcg"));
    EXPECT_TRUE(QFile::exists(file.fileName()));
}

TEST_F(DownloadTest, OnlyASuccessReplacesTheCachedCopy)
{
    const QUrl url = m_server.url("/data.cub");
    const QString cached = Download::cacheFileFor(url);
    Download download; // one object, used again after each outcome
    download.setStallTimeout(300);

    m_server.route("/data.cub", "first");
    EXPECT_EQ(run(download, url).events, "finished");
    EXPECT_EQ(contentOf(cached), "first");

    m_server.route("/data.cub", {"404 Not Found", "gone"});
    EXPECT_EQ(run(download, url).events, "failed");
    m_server.route("/data.cub",
                   {"200 OK", "second, never whole", "", LoopbackServer::Ending::Stall});
    EXPECT_EQ(run(download, url).events, "failed");
    EXPECT_EQ(contentOf(cached), "first");

    m_server.route("/data.cub", "second");
    EXPECT_EQ(run(download, url).events, "finished");
    EXPECT_EQ(contentOf(cached), "second");
    EXPECT_EQ(cachedFiles(), QStringList(QFileInfo(cached).fileName()));
}

TEST_F(DownloadTest, AStalledServerTimesOut)
{
    m_server.route("/stall.cub",
                   {"200 OK", QByteArray(4000, 'y'), "", LoopbackServer::Ending::Stall});
    Download download;
    download.setStallTimeout(300);
    QElapsedTimer clock;
    clock.start();
    const Outcome outcome = run(download, m_server.url("/stall.cub"));
    ASSERT_EQ(outcome.events, "failed");
    EXPECT_TRUE(outcome.text.contains("timed out")) << outcome.text.toStdString();
    EXPECT_GE(clock.elapsed(), 300);
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_EQ(m_server.partialResponses(), 1);
    EXPECT_TRUE(cachedFiles().isEmpty());
}

// Hostile servers: each download fails within its bound with a message that names the bound,
// the server is not read on past it, and no file is left in the cache.
TEST_F(DownloadTest, HostileServersFailWithinTheirBounds)
{
    using xmlatest::FakeReply;
    const QByteArray body(40000, 'c');
    struct Case
    {
        const char *name;
        std::function<void(FakeReply &)> hostile;
        std::function<void(Download &)> bounds;
        const char *expected;
    };
    const auto maximum = [](Download &d) { d.setMaximumSize(1024 * 1024); };
    const auto freeSpace = [this] { return QStorageInfo(m_cache.path()).bytesAvailable(); };
    const Case cases[] = {
        {"endless body",
         [](FakeReply &r) {
             r.endless = true;
             r.contentLength = -2;
         },
         maximum, "larger than the limit of 1 MB (PELMORA_DOWNLOAD_MAX_MB"},
        {"announced beyond the maximum", [](FakeReply &r) { r.contentLength = 10'000'000'000; },
         maximum, "larger than the limit of 1 MB"},
        // Margins just short of the disk's free space; the space that other programs take or
        // give back meanwhile is far less than the room these cases leave.
        {"announced beyond the free disk",
         [](FakeReply &r) { r.contentLength = 10LL * 1024 * 1024 * 1024; },
         [&](Download &d) { d.setFreeSpaceMargin(freeSpace() - 5LL * 1024 * 1024 * 1024); },
         "would leave less than"},
        {"endless body past the free disk",
         [](FakeReply &r) {
             r.endless = true;
             r.contentLength = -2;
         },
         [&](Download &d) {
             d.setFreeSpaceMargin(freeSpace() - 64 * 1024 * 1024);
             d.setMaximumSize(1024LL * 1024 * 1024);
         },
         "would leave less than"},
        // A byte every 20 ms keeps no timer from running out that each byte restarts.
        {"drip", [](FakeReply &r) { r.dripMs = 20; }, {}, "timed out: only "},
        {"stall",
         [](FakeReply &r) { r.stallAfter = 100; },
         {},
         "timed out: only 100 bytes arrived in 0.4 seconds"},
        {"longer than the body, then closed",
         [&](FakeReply &r) { r.contentLength = body.size() + 1000; },
         {},
         "Connection closed"},
        {"longer than the body, held open",
         [&](FakeReply &r) {
             r.contentLength = body.size() + 1000;
             r.stallAfter = body.size();
         },
         {},
         "timed out: no data arrived in 0.4 seconds"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        xmlatest::FakeXmlaServer server([&](const xmlatest::FakeRequest &) {
            FakeReply reply;
            reply.body = body;
            c.hostile(reply);
            return reply;
        });
        Download download;
        download.setStallTimeout(400);
        download.setStallMinimum(1024);
        if (c.bounds)
            c.bounds(download);
        QElapsedTimer clock;
        clock.start();
        const Outcome outcome = run(download, server.url("/Sales.cub"));
        EXPECT_LT(clock.elapsed(), 5000);
        ASSERT_EQ(outcome.events, "failed");
        EXPECT_TRUE(outcome.text.contains(c.expected)) << outcome.text.toStdString();
        EXPECT_LT(server.bytesSent(), 256 * 1024 * 1024); // stopped at its bound
        EXPECT_TRUE(cachedFiles().isEmpty()) << cachedFiles().join(' ').toStdString();
    }

    // A body shorter than announced ends where the length says: the file is that much.
    xmlatest::FakeXmlaServer shorter([&](const xmlatest::FakeRequest &) {
        FakeReply reply;
        reply.body = "cube data and more";
        reply.contentLength = 9;
        return reply;
    });
    Download download;
    const Outcome outcome = run(download, shorter.url("/Sales.cub"));
    ASSERT_EQ(outcome.events, "finished") << outcome.text.toStdString();
    EXPECT_EQ(contentOf(outcome.text), "cube data");
}

TEST_F(DownloadTest, ProgressCountsTheBytesAndBoundsHaveDefaults)
{
    Download download;
    EXPECT_EQ(download.stallTimeout(), 30000);
    EXPECT_EQ(download.stallMinimum(), 16 * 1024);
    EXPECT_EQ(download.maximumSize(), 32LL * 1024 * 1024 * 1024);
    EXPECT_EQ(download.freeSpaceMargin(), 1024LL * 1024 * 1024);
    {
        const testing_support::EnvironmentGuard limit("PELMORA_DOWNLOAD_MAX_MB", "100");
        EXPECT_EQ(Download().maximumSize(), 100LL * 1024 * 1024);
    }

    m_server.route("/Sales.cub", QByteArray(300000, 'd'));
    QList<QPair<qint64, qint64>> seen;
    QObject::connect(&download, &Download::progress, [&](qint64 received, qint64 expected) {
        seen.append({received, expected});
    });
    EXPECT_EQ(run(download, m_server.url("/Sales.cub")).events, "finished");
    ASSERT_FALSE(seen.isEmpty());
    EXPECT_EQ(seen.last(), qMakePair(qint64(300000), qint64(300000)));
    for (qsizetype i = 1; i < seen.size(); ++i)
        EXPECT_GT(seen[i].first, seen[i - 1].first);
    EXPECT_EQ(download.received(), 300000);
}

TEST_F(DownloadTest, CancelDuringAStall)
{
    m_server.route("/stall.cub",
                   {"200 OK", QByteArray(4000, 'y'), "", LoopbackServer::Ending::Stall});
    Download download;
    download.setStallTimeout(300);
    Recorder recorder(download);
    download.start(m_server.url("/stall.cub"));
    ASSERT_TRUE(spinUntil([&] { return m_server.partialResponses() == 1; }));
    spinFor(50);
    ASSERT_TRUE(download.isRunning());

    download.cancel();
    EXPECT_EQ(recorder.reported(), "cancelled");
    EXPECT_FALSE(download.isRunning());
    spinFor(500); // past the inactivity timeout: nothing else is reported
    EXPECT_EQ(recorder.reported(), "cancelled");
    EXPECT_TRUE(cachedFiles().isEmpty());

    download.cancel(); // nothing running: nothing reported
    EXPECT_EQ(recorder.reported(), "cancelled");
}

TEST_F(DownloadTest, OneDownloadAtATime)
{
    m_server.route("/Sales.cub", "cube data");
    Download download;
    Recorder recorder(download);
    download.start(m_server.url("/Sales.cub"));
    EXPECT_THROW(download.start(m_server.url("/Other.cub")), platform::Error);
    spinUntil([&] { return !recorder.events.isEmpty(); });
    EXPECT_EQ(recorder.reported(), "finished");
    EXPECT_EQ(download.url(), m_server.url("/Sales.cub"));
}

TEST_F(DownloadTest, TheOwnerMayDeleteTheDownloadWhenTold)
{
    for (const char *path : {"/Sales.cub", "/missing.cub"}) {
        SCOPED_TRACE(path);
        m_server.route("/Sales.cub", "cube data");
        QPointer<Download> download = new Download;
        int outcomes = 0;
        const auto remove = [&] {
            ++outcomes;
            delete download.data();
        };
        QObject::connect(download, &Download::finished, remove);
        QObject::connect(download, &Download::failed, remove);
        download->start(m_server.url(path));
        EXPECT_TRUE(spinUntil([&] { return download.isNull(); }));
        spinFor(20);
        EXPECT_EQ(outcomes, 1);
    }
}

TEST_F(DownloadTest, CacheFileNamesComeFromTheUrl)
{
    const QString directory = Download::cacheDirectory();
    EXPECT_EQ(directory, m_cache.path() + "/pelmora/downloads");
    struct Case
    {
        const char *url;
        const char *prefix;
        const char *extension;
    };
    const Case cases[] = {
        {"http://example.com/cubes/Sales.cub", "Sales-", ".cub"},
        {"https://example.com/My%20View%3F.vcg?user=a", "My_View_-", ".vcg"},
        {"http://example.com/", "download-", ""},
        {"http://example.com/.hidden", "hidden-", ""},
        {"file:///tmp/archive.tar.gz", "archive.tar-", ".gz"},
        {"http://example.com/a%2F..%2Fb.cub", "a_.._b-", ".cub"},
        {"http://example.com/odd.ex%20t", "odd-", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.url);
        const QString file = Download::cacheFileFor(QUrl(c.url));
        EXPECT_EQ(QFileInfo(file).absolutePath(), directory);
        const QString name = QFileInfo(file).fileName();
        EXPECT_TRUE(name.startsWith(c.prefix)) << name.toStdString();
        EXPECT_TRUE(name.endsWith(c.extension)) << name.toStdString();
        EXPECT_EQ(name.size(), qsizetype(strlen(c.prefix) + 8 + strlen(c.extension)))
            << name.toStdString();
    }
    // Same last segment, other URL: another file; a fragment is not part of the resource.
    const auto name = [](const char *url) { return Download::cacheFileFor(QUrl(url)); };
    EXPECT_NE(name("http://a.example/Sales.cub"), name("http://b.example/Sales.cub"));
    EXPECT_NE(name("http://a.example/Sales.cub?v=1"), name("http://a.example/Sales.cub?v=2"));
    EXPECT_EQ(name("http://a.example/Sales.cub"), name("http://a.example/Sales.cub#top"));
}
