#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>
#include <QTimer>

class QLabel;
class QProgressBar;
class QPushButton;

namespace platform::automation {
class Download;
}

// The small window of a download under way: the address, the bytes so far (of the whole when
// the server announced its length) and Cancel. Cancel, Escape and the close box reject it.
class DownloadProgress : public QDialog
{
    Q_OBJECT

public:
    DownloadProgress(int languageId, const QString &address, QWidget *parent = nullptr);

    void showBytes(qint64 received, qint64 expected);

    QLabel *lblAddress;
    QLabel *lblBytes;
    QProgressBar *prgBytes;
    QPushButton *cmdCancel;

private:
    int m_languageId;
};

// Shows a DownloadProgress for a running download once it has lasted `delayMs`, keeps it up to
// date, and cancels the download when the user cancels the window. The window is application
// modal: while it is up, nothing but Cancel takes the user's input. It goes with this object.
class DownloadWait
{
public:
    DownloadWait(platform::automation::Download &download, int languageId, QWidget *owner,
                 int delayMs = 1000);
    ~DownloadWait();
    DownloadWait(const DownloadWait &) = delete;
    DownloadWait &operator=(const DownloadWait &) = delete;

    DownloadProgress *window() const { return m_window; }

private:
    void show();

    QPointer<platform::automation::Download> m_download;
    int m_languageId;
    QPointer<QWidget> m_owner;
    QTimer m_delay;
    QPointer<DownloadProgress> m_window;
};
