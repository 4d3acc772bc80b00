#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
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
// missing local file, no data for the inactivity timeout...). cancel() stops a running download
// and emits cancelled() instead, at once, so an owner can tell its own cancel from a failure.
// Exactly one of the three signals ends each download started.
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

    // Fails the download once no data has arrived for this long (60 000 ms unless set; zero or
    // less waits for ever). Applies at once to a running download.
    void setInactivityTimeout(int milliseconds);
    int inactivityTimeout() const { return m_timeout; }

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

private:
    void startNetwork();
    void copyLocalFile();
    void onReadyRead();
    void onReplyFinished();
    void onInactivity();
    bool openTarget();
    void succeed();
    void fail(const QString &reason);
    // Drops the transfer and the temporary file; answers whether a download was running.
    bool stop();
    QString describe(const QString &reason) const;

    QNetworkAccessManager *m_network = nullptr;
    QNetworkReply *m_reply = nullptr;
    std::unique_ptr<QSaveFile> m_target;
    QTimer m_inactivity;
    QUrl m_url;
    int m_timeout = 60000;
    bool m_running = false;
    quint64 m_generation = 0; // tells the queued steps of an earlier download to do nothing
};

} // namespace platform::automation
