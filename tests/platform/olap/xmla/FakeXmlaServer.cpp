#include "FakeXmlaServer.h"

#include <QHostAddress>
#include <QTcpSocket>
#include <QTimer>
#include <QXmlStreamReader>

#include <algorithm>
#include <memory>

namespace xmlatest {

QString FakeRequest::element(const QString &localName) const
{
    QXmlStreamReader reader(body);
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == localName)
            return reader.readElementText(QXmlStreamReader::IncludeChildElements);
    }
    return {};
}

QString FakeRequest::requestType() const
{
    const QString type = element(QStringLiteral("RequestType"));
    return type.isNull() ? QStringLiteral("Execute") : type;
}

FakeXmlaServer::FakeXmlaServer(Handler handler) : m_handler(std::move(handler))
{
    m_server.listen(QHostAddress::LocalHost, 0);
    QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] { accept(); });
}

QUrl FakeXmlaServer::url() const
{
    return url(QStringLiteral("/xmla"));
}

QUrl FakeXmlaServer::url(const QString &path) const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path));
}

void FakeXmlaServer::accept()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        auto buffer = std::make_shared<QByteArray>();
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, buffer] {
            buffer->append(socket->readAll());
            const qsizetype headerEnd = buffer->indexOf("\r\n\r\n");
            if (headerEnd < 0)
                return;
            FakeRequest request;
            const QList<QByteArray> lines = buffer->left(headerEnd).split('\n');
            const QList<QByteArray> start = lines.value(0).trimmed().split(' ');
            request.method = start.value(0);
            request.path = start.value(1);
            for (qsizetype i = 1; i < lines.size(); ++i) {
                const qsizetype colon = lines[i].indexOf(':');
                if (colon > 0)
                    request.headers.insert(lines[i].left(colon).trimmed().toLower(),
                                           lines[i].mid(colon + 1).trimmed());
            }
            const qsizetype length = request.headers.value("content-length").toLongLong();
            if (buffer->size() < headerEnd + 4 + length)
                return;
            request.body = buffer->mid(headerEnd + 4, length);
            buffer->remove(0, headerEnd + 4 + length);
            m_requests.append(request);

            const FakeReply reply = m_handler(request);
            if (!reply.silent)
                answer(socket, reply);
        });
    }
}

void FakeXmlaServer::answer(QTcpSocket *socket, const FakeReply &reply)
{
    const bool hostile =
        reply.contentLength != -1 || reply.endless || reply.dripMs > 0 || reply.stallAfter >= 0;
    if (hostile) {
        const int delay = std::max(reply.delayMs, 0);
        QTimer::singleShot(delay, socket, [this, socket, reply] { sendHostile(socket, reply); });
        return;
    }
    QByteArray text = "HTTP/1.1 " + QByteArray::number(reply.status) + ' ' + reply.reason
                      + "\r\nContent-Type: text/xml; charset=utf-8\r\nContent-Length: "
                      + QByteArray::number(reply.body.size()) + "\r\nConnection: close\r\n";
    for (const auto &[name, value] : reply.headers)
        text += name + ": " + value + "\r\n";
    text += "\r\n" + reply.body;
    if (reply.killAfter >= 0)
        text.chop(reply.body.size() - qMin(reply.killAfter, reply.body.size()));
    m_bytesSent +=
        reply.killAfter >= 0 ? qMin(reply.killAfter, reply.body.size()) : reply.body.size();
    auto send = [socket, text, kill = reply.killAfter >= 0] {
        socket->write(text);
        if (!kill) {
            socket->disconnectFromHost();
            return;
        }
        socket->flush();
        // A reset, not an orderly close: what the client sees of a killed process.
        QTimer::singleShot(50, socket, [socket] { socket->abort(); });
    };
    if (reply.delayMs > 0)
        QTimer::singleShot(reply.delayMs, socket, send);
    else
        send();
}

// The headers at once, then the body as the reply's hostile fields say. Whatever is still to
// be sent goes with the socket when the client gives up.
void FakeXmlaServer::sendHostile(QTcpSocket *socket, const FakeReply &reply)
{
    QByteArray head = "HTTP/1.1 " + QByteArray::number(reply.status) + ' ' + reply.reason
                      + "\r\nContent-Type: text/xml; charset=utf-8\r\n";
    if (reply.contentLength != -2)
        head +=
            "Content-Length: "
            + QByteArray::number(reply.contentLength >= 0 ? reply.contentLength : reply.body.size())
            + "\r\n";
    head += "Connection: close\r\n";
    for (const auto &[name, value] : reply.headers)
        head += name + ": " + value + "\r\n";
    socket->write(head + "\r\n");
    QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);

    const QByteArray body = reply.stallAfter >= 0 ? reply.body.left(reply.stallAfter) : reply.body;
    const bool stall = reply.stallAfter >= 0;
    if (reply.dripMs > 0) {
        auto *timer = new QTimer(socket);
        auto sent = std::make_shared<qsizetype>(0);
        QObject::connect(timer, &QTimer::timeout, socket, [=, this] {
            if (*sent < body.size() || reply.endless) {
                socket->write(*sent < body.size() ? body.mid(*sent, 1) : QByteArray("x"));
                ++*sent;
                ++m_bytesSent;
            } else {
                timer->stop();
                if (!stall)
                    socket->disconnectFromHost();
            }
        });
        timer->start(reply.dripMs);
        return;
    }
    socket->write(body);
    m_bytesSent += body.size();
    if (reply.endless) {
        // The filler keeps a little ahead of what the client has taken.
        const QByteArray filler(64 * 1024, 'x');
        const qint64 limit = reply.endlessLimit;
        auto sent = std::make_shared<qint64>(body.size());
        auto topUp = [this, socket, filler, limit, sent] {
            while (socket->state() == QAbstractSocket::ConnectedState
                   && socket->bytesToWrite() < 4 * filler.size()) {
                if (limit >= 0 && *sent >= limit) {
                    socket->disconnectFromHost();
                    return;
                }
                socket->write(filler);
                *sent += filler.size();
                m_bytesSent += filler.size();
            }
        };
        QObject::connect(socket, &QTcpSocket::bytesWritten, socket, topUp);
        topUp();
    } else if (!stall) {
        socket->disconnectFromHost();
    }
}

QByteArray soapEnvelope(const QByteArray &bodyContent)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
           "<SOAP-ENV:Envelope xmlns:SOAP-ENV=\"http://schemas.xmlsoap.org/soap/envelope/\">"
           "<SOAP-ENV:Header/><SOAP-ENV:Body>"
           + bodyContent + "</SOAP-ENV:Body></SOAP-ENV:Envelope>\n";
}

static QByteArray escaped(const QString &text)
{
    return text.toHtmlEscaped().toUtf8();
}

QByteArray rowsetReply(const QStringList &columns, const QList<QStringList> &rows)
{
    QByteArray body =
        "<cxmla:DiscoverResponse xmlns:cxmla=\"urn:schemas-microsoft-com:xml-analysis\">"
        "<cxmla:return><root xmlns=\"urn:schemas-microsoft-com:xml-analysis:rowset\" "
        "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
        "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\">"
        "<xsd:schema><xsd:complexType name=\"row\"><xsd:sequence>";
    for (const QString &column : columns)
        body += "<xsd:element name=\"" + escaped(column) + "\" type=\"xsd:string\"/>";
    body += "</xsd:sequence></xsd:complexType></xsd:schema>";
    for (const QStringList &row : rows) {
        body += "<row>";
        for (qsizetype i = 0; i < columns.size() && i < row.size(); ++i) {
            if (row[i].isNull())
                continue;
            const QByteArray name = columns[i].toUtf8();
            body += '<' + name + '>' + escaped(row[i]) + "</" + name + '>';
        }
        body += "</row>";
    }
    body += "</root></cxmla:return></cxmla:DiscoverResponse>";
    return soapEnvelope(body);
}

QByteArray dataSourcesReply(const QString &name, const QString &info)
{
    return rowsetReply({QStringLiteral("DataSourceName"), QStringLiteral("DataSourceInfo"),
                        QStringLiteral("ProviderName")},
                       {{name, info, QStringLiteral("Fake")}});
}

} // namespace xmlatest
