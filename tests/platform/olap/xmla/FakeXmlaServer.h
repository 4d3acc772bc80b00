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
};

// An HTTP server on a loopback port that answers each request with what the handler returns.
// It runs on the test's thread: the client's waiting event loop serves it.
class FakeXmlaServer
{
public:
    using Handler = std::function<FakeReply(const FakeRequest &)>;

    explicit FakeXmlaServer(Handler handler);

    QUrl url() const;
    const QList<FakeRequest> &requests() const { return m_requests; }

private:
    void accept();

    Handler m_handler;
    QTcpServer m_server;
    QList<FakeRequest> m_requests;
};

// Canned reply bodies.
QByteArray soapEnvelope(const QByteArray &bodyContent);
// A Discover reply: a schema declaring the columns, then the rows (a null value is left out).
QByteArray rowsetReply(const QStringList &columns, const QList<QStringList> &rows);
QByteArray dataSourcesReply(const QString &name, const QString &info);

} // namespace xmlatest
