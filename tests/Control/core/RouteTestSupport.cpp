#include "tests/Control/core/RouteTestSupport.h"

#include "platform/runtime/Error.h"

#include <QTcpSocket>

namespace controltest {

WebServer::WebServer(QByteArray body, Mode mode) : m_body(std::move(body)), m_mode(mode)
{
    m_server.listen(QHostAddress::LocalHost);
    QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            QObject::connect(socket, &QTcpSocket::readyRead, socket,
                             [this, socket] { answer(socket); });
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

QString WebServer::url(const QString &path) const
{
    return QStringLiteral("http://127.0.0.1:%1/%2").arg(m_server.serverPort()).arg(path);
}

void WebServer::answer(QTcpSocket *socket)
{
    // The request so far stays with the socket until its headers end.
    const QByteArray request = socket->property("request").toByteArray() + socket->readAll();
    socket->setProperty("request", request);
    if (!request.contains("\r\n\r\n") || socket->property("answered").toBool())
        return;
    const QByteArray line = request.left(request.indexOf("\r\n"));
    socket->setProperty("answered", true);
    m_requested << QString::fromLatin1(line.split(' ').value(1));
    if (m_mode == Silent)
        return;
    if (m_mode == NotFound) {
        socket->write("HTTP/1.0 404 Not Found\r\nContent-Length: 0\r\n\r\n");
    } else {
        socket->write("HTTP/1.0 200 OK\r\nContent-Type: application/octet-stream\r\n"
                      "Content-Length: "
                      + QByteArray::number(m_body.size()) + "\r\n\r\n");
        socket->write(m_body);
    }
    socket->disconnectFromHost();
}

FailingMsgBox::FailingMsgBox(int failing) : m_failing(failing)
{
    m_previous = platform::forms::setMsgBoxHandler([this](const platform::forms::MsgBoxRequest &r) {
        m_texts << r.text;
        if (m_failing > 0) {
            --m_failing;
            throw platform::Error(QStringLiteral("Out of memory"));
        }
        return int(platform::forms::Ok);
    });
}

FailingMsgBox::~FailingMsgBox()
{
    platform::forms::setMsgBoxHandler(std::move(m_previous));
}

} // namespace controltest
