#pragma once

#include "platform/forms/MsgBox.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTcpServer>

class QTcpSocket;

namespace controltest {

// A web server on a loopback port, on the test's thread (the control's waiting loop serves
// it): it answers every GET with the body, or with 404, or reads the request and never
// answers.
class WebServer
{
public:
    enum Mode { Serve, NotFound, Silent };

    explicit WebServer(QByteArray body, Mode mode = Serve);

    QString url(const QString &path) const;
    const QStringList &requested() const { return m_requested; }

private:
    void answer(QTcpSocket *socket);

    QTcpServer m_server;
    QByteArray m_body;
    Mode m_mode;
    QStringList m_requested;
};

// Message boxes whose first `failing` requests fail with "Out of memory", as when the step that
// reports one error raises another: that error reaches the trap of the procedure around it.
// Records every text.
class FailingMsgBox
{
public:
    explicit FailingMsgBox(int failing);
    ~FailingMsgBox();
    FailingMsgBox(const FailingMsgBox &) = delete;
    FailingMsgBox &operator=(const FailingMsgBox &) = delete;

    const QStringList &texts() const { return m_texts; }

private:
    int m_failing;
    QStringList m_texts;
    platform::forms::MsgBoxHandler m_previous;
};

} // namespace controltest
