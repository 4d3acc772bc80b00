#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QTcpServer>
#include <QUrl>

#include <functional>

class QTcpSocket;

namespace xmlatest {

struct FakeRequest
{
    QByteArray method;
    QByteArray path;
    QMap<QByteArray, QByteArray> headers; // names in lower case
    QByteArray body;

    // The text of the first element of the body with this local name; null when none.
    QString element(const QString &localName) const;
    // The Discover RequestType, or "Execute".
    QString requestType() const;
};

struct FakeReply
{
    int status = 200;
    QByteArray reason = "OK";
    QByteArray body;
    QList<QPair<QByteArray, QByteArray>> headers;
    bool silent = false; // read the request and never answer
    int delayMs = 0;
    // Sends the headers and this many bytes of the body, then drops the connection, as a
    // server killed in the middle of its reply; -1 sends everything.
    qsizetype killAfter = -1;

    // Hostile servers.
    // The Content-Length sent: -1 the body's own length, -2 none (the body ends with the
    // connection); any other value as given, larger or smaller than the body.
    qint64 contentLength = -1;
    // After the body, filler bytes without end, as fast as the client takes them.
    bool endless = false;
    // Where the filler gives up and closes the connection, -1 never. The server runs on the
    // client's thread: a reply that the client has refused is drained by Qt's network thread
    // until the abort reaches it, and an unending filler would meanwhile keep this thread from
    // serving the next call.
    qint64 endlessLimit = -1;
    // The body (and the filler) one byte at a time, one each this many milliseconds.
    int dripMs = 0;
    // Sends the headers and this many bytes of the body, then holds the connection open and
    // sends nothing more; -1 sends everything.
    qsizetype stallAfter = -1;
};

// An HTTP server on a loopback port that answers each request with what the handler returns.
// It runs on the test's thread: the client's waiting event loop serves it.
class FakeXmlaServer
{
public:
    using Handler = std::function<FakeReply(const FakeRequest &)>;

    explicit FakeXmlaServer(Handler handler);

    // The address of the XMLA endpoint, or of another path on the server (a file to download:
    // the handler sees every request, whatever its path).
    QUrl url() const;
    QUrl url(const QString &path) const;
    // Bytes sent of the replies' bodies and filler so far.
    qint64 bytesSent() const { return m_bytesSent; }
    const QList<FakeRequest> &requests() const { return m_requests; }

private:
    void accept();
    void answer(QTcpSocket *socket, const FakeReply &reply);
    void sendHostile(QTcpSocket *socket, const FakeReply &reply);

    Handler m_handler;
    QTcpServer m_server;
    QList<FakeRequest> m_requests;
    qint64 m_bytesSent = 0;
};

// Canned reply bodies.
QByteArray soapEnvelope(const QByteArray &bodyContent);
// A Discover reply: a schema declaring the columns, then the rows (a null value is left out).
QByteArray rowsetReply(const QStringList &columns, const QList<QStringList> &rows);
QByteArray dataSourcesReply(const QString &name, const QString &info);

} // namespace xmlatest
