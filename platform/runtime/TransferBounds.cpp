#include "platform/runtime/TransferBounds.h"

#include <algorithm>
#include <limits>

namespace platform::runtime {

qint64 megabytesFromEnvironment(const char *variable, qint64 defaultBytes)
{
    bool ok = false;
    const qint64 megabytes = qEnvironmentVariable(variable).trimmed().toLongLong(&ok);
    if (!ok || megabytes <= 0 || megabytes > std::numeric_limits<qint64>::max() / megabyte)
        return defaultBytes;
    return megabytes * megabyte;
}

QString sizeText(qint64 bytes)
{
    if (bytes == 1)
        return QStringLiteral("1 byte");
    if (bytes < 10 * 1024)
        return QStringLiteral("%1 bytes").arg(bytes);
    const double kb = double(bytes) / 1024;
    if (kb < 1024)
        return QStringLiteral("%1 KB").arg(QString::number(kb, 'g', 3));
    const double mb = kb / 1024;
    if (mb < 1024)
        return QStringLiteral("%1 MB").arg(QString::number(mb, 'g', 4));
    return QStringLiteral("%1 GB").arg(QString::number(mb / 1024, 'g', 4));
}

QString secondsText(int milliseconds)
{
    const QString number = QString::number(milliseconds / 1000.0, 'g', 4);
    return number == u"1" ? QStringLiteral("1 second") : number + QStringLiteral(" seconds");
}

StallWatch::StallWatch(std::function<void(qint64 arrived)> stalled) : m_stalled(std::move(stalled))
{
    QObject::connect(&m_timer, &QTimer::timeout, [this] { endOfSpan(); });
}

void StallWatch::setSpan(int milliseconds)
{
    m_span = milliseconds;
    if (isActive())
        start();
}

void StallWatch::setMinimum(qint64 bytes)
{
    m_minimum = std::max<qint64>(bytes, 1);
}

void StallWatch::start()
{
    m_arrived = 0;
    if (m_span > 0)
        m_timer.start(m_span);
    else
        m_timer.stop();
}

void StallWatch::stop()
{
    m_timer.stop();
}

void StallWatch::endOfSpan()
{
    const qint64 arrived = m_arrived;
    m_arrived = 0;
    if (arrived >= m_minimum)
        return;
    m_timer.stop();
    m_stalled(arrived);
}

QString StallWatch::describe(qint64 arrived, int span)
{
    if (arrived == 0)
        return QStringLiteral("no data arrived in %1").arg(secondsText(span));
    return QStringLiteral("only %1 arrived in %2").arg(sizeText(arrived), secondsText(span));
}

} // namespace platform::runtime
