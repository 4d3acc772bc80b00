#pragma once

#include "platform/runtime/TransferBounds.h"

#include <QObject>
#include <QString>
#include <QUrl>

#include <memory>

class QNetworkAccessManager;
class QNetworkReply;
class QSaveFile;

namespace platform::automation {

// The container's asynchronous download of a URL (http, https or file) to a file of the cache
// directory. The data goes to a temporary file next to the cached one, which it replaces only
// when the download succeeds, so a failed or cancelled download never destroys an earlier good
// copy. The outcome arrives through the event loop, never from inside start(): finished() with
// the local file, or failed() with a description (an unsupported URL, an HTTP error status, a
// missing local file, a stall, a file too large...). cancel() stops a running download and emits
// cancelled() instead, at once, so an owner can tell its own cancel from a failure. Exactly one
// of the three signals ends each download started; the temporary file is gone by then.
//
// Every download is bounded: it fails when its file would pass maximumSize(), when it would
// leave less than freeSpaceMargin() free on the cache directory's disk (checked against the
// announced length up front and against the free space as the file grows), and when less than
// stallMinimum() bytes arrive in a span of stallTimeout().
class Download : public QObject
{
    Q_OBJECT

public:
    explicit Download(QObject *parent = nullptr);
    ~Download() override;

    // Starts downloading `url`. Throws platform::Error when a download is already running.
    void start(const QUrl &url);
    // Stops the running download and emits cancelled(); nothing when none is running.
    void cancel();

    // The span in milliseconds that must bring stallMinimum() bytes (30 000 unless set; zero or
    // less waits for ever). Applies at once to a running download, with a new span.
    void setStallTimeout(int milliseconds);
    int stallTimeout() const { return m_stall.span(); }
    // 16 KB unless set.
    void setStallMinimum(qint64 bytes) { m_stall.setMinimum(bytes); }
    qint64 stallMinimum() const { return m_stall.minimum(); }

    // The largest file in bytes: the megabytes of $PELMORA_DOWNLOAD_MAX_MB, else 32 GB.
    static qint64 defaultMaximumSize();
    void setMaximumSize(qint64 bytes) { m_maximumSize = bytes; }
    qint64 maximumSize() const { return m_maximumSize; }
    // The free space a download leaves on the disk at the least: 1 GB unless set.
    void setFreeSpaceMargin(qint64 bytes) { m_freeSpaceMargin = bytes; }
    qint64 freeSpaceMargin() const { return m_freeSpaceMargin; }

    // The bytes received so far, and the announced length (-1 when unknown).
    qint64 received() const { return m_received; }
    qint64 expected() const { return m_expected; }

    // From start() until one of the signals.
    bool isRunning() const { return m_running; }
    QUrl url() const { return m_url; }

    // $XDG_CACHE_HOME/pelmora/downloads, else ~/.cache/pelmora/downloads.
    static QString cacheDirectory();
    // The cached file of a URL in cacheDirectory(): its last path segment made safe for file
    // names, a short hash of the whole URL, and the segment's extension ("Sales-1a2b3c4d.cub").
    static QString cacheFileFor(const QUrl &url);

signals:
    void finished(const QString &localFile);
    void failed(const QString &description);
    void cancelled();
    // Data arrived: the bytes so far and the announced length (-1 when unknown).
    void progress(qint64 received, qint64 expected);

private:
    void startNetwork();
    void copyLocalFile();
    void onReadyRead();
    void onMetaData();
    void onReplyFinished();
    void onStall(qint64 arrived);
    // Fails the download when `length` more bytes would pass a bound; answers whether it did.
    bool refuseSize(qint64 length);
    bool writeData(const QByteArray &data);
    bool openTarget();
    void succeed();
    void fail(const QString &reason);
    // Drops the transfer and the temporary file; answers whether a download was running.
    bool stop();
    QString describe(const QString &reason) const;

    QNetworkAccessManager *m_network = nullptr;
    QNetworkReply *m_reply = nullptr;
    std::unique_ptr<QSaveFile> m_target;
    platform::runtime::StallWatch m_stall;
    QUrl m_url;
    qint64 m_maximumSize = defaultMaximumSize();
    qint64 m_freeSpaceMargin = 1024 * platform::runtime::megabyte;
    qint64 m_received = 0;
    qint64 m_expected = -1;
    qint64 m_freeSpaceCheckedAt = 0; // m_received when the free space was last looked at
    bool m_running = false;
    quint64 m_generation = 0; // tells the queued steps of an earlier download to do nothing
};

} // namespace platform::automation
