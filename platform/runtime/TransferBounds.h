#pragma once

#include <QString>
#include <QTimer>

#include <functional>

// Bounds on what arrives from outside over the network: sizes settable from the environment,
// and the watch that tells a transfer that has stalled.
namespace platform::runtime {

inline constexpr qint64 megabyte = 1024 * 1024;

// A size in bytes from an environment variable that gives whole megabytes (a positive number);
// `defaultBytes` when the variable is unset or holds anything else.
qint64 megabytesFromEnvironment(const char *variable, qint64 defaultBytes);

// "512 MB", "1.5 GB", "300 bytes": a size for messages.
QString sizeText(qint64 bytes);
// "30 seconds", "0.3 seconds".
QString secondsText(int milliseconds);

// Watches a transfer's progress over fixed spans of time: the transfer has stalled when fewer
// than minimum() bytes arrive within one span. A span is not restarted by the bytes that arrive
// in it, so a server that sends a byte now and then stalls as surely as a silent one. Runs on
// the event loop of the thread that owns it.
class StallWatch
{
public:
    // `stalled` runs once when a span ends with too little, with the bytes of that span; the
    // watch is then stopped.
    explicit StallWatch(std::function<void(qint64 arrived)> stalled);

    // The span in milliseconds; zero or less never stalls. A running watch starts a new span.
    void setSpan(int milliseconds);
    int span() const { return m_span; }
    // The bytes a span must bring (at least 1).
    void setMinimum(qint64 bytes);
    qint64 minimum() const { return m_minimum; }

    // Starts a first span from now with nothing counted.
    void start();
    void stop();
    bool isActive() const { return m_timer.isActive(); }
    void count(qint64 bytes) { m_arrived += bytes; }

    // "no data arrived in 30 seconds", "only 12 bytes arrived in 30 seconds": what a stall
    // with `arrived` bytes in a span of `span` milliseconds was.
    static QString describe(qint64 arrived, int span);

private:
    void endOfSpan();

    std::function<void(qint64)> m_stalled;
    QTimer m_timer;
    int m_span = 0;
    qint64 m_minimum = 1;
    qint64 m_arrived = 0;
};

} // namespace platform::runtime
