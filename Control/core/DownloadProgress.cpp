#include "Control/core/DownloadProgress.h"

#include "Control/core/FormParts.h"
#include "platform/automation/Download.h"
#include "platform/runtime/TransferBounds.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

using platform::automation::Download;
using platform::runtime::sizeText;

namespace {

constexpr int addressWidth = 420;

} // namespace

DownloadProgress::DownloadProgress(int languageId, const QString &address, QWidget *parent)
    : QDialog(parent), m_languageId(languageId)
{
    const bool spanish = languageId == 1;
    setObjectName(QStringLiteral("DownloadProgress"));
    setWindowTitle(spanish ? QStringLiteral("Descarga") : QStringLiteral("Download"));
    lblAddress = new QLabel(this);
    lblAddress->setObjectName(QStringLiteral("lblAddress"));
    const QString lead = spanish ? QStringLiteral("Descargando ") : QStringLiteral("Downloading ");
    lblAddress->setText(
        lead + lblAddress->fontMetrics().elidedText(address, Qt::ElideMiddle, addressWidth));
    lblAddress->setToolTip(address);
    lblBytes = new QLabel(this);
    lblBytes->setObjectName(QStringLiteral("lblBytes"));
    prgBytes = new QProgressBar(this);
    prgBytes->setObjectName(QStringLiteral("prgBytes"));
    prgBytes->setTextVisible(false);
    prgBytes->setMinimumWidth(addressWidth);
    cmdCancel = pelmora::formButton(
        this, "cmdCancel", spanish ? QStringLiteral("Cancelar") : QStringLiteral("Cancel"));
    cmdCancel->setDefault(true);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblAddress);
    layout->addWidget(prgBytes);
    layout->addWidget(lblBytes);
    layout->addLayout(pelmora::buttonRow({cmdCancel}));
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    showBytes(0, -1);
}

void DownloadProgress::showBytes(qint64 received, qint64 expected)
{
    const bool spanish = m_languageId == 1;
    if (expected > 0) {
        lblBytes->setText(sizeText(received)
                          + (spanish ? QStringLiteral(" de ") : QStringLiteral(" of "))
                          + sizeText(expected));
        // Per mille, so that sizes past the range of int fit.
        prgBytes->setRange(0, 1000);
        prgBytes->setValue(int(std::clamp<qint64>(received * 1000 / expected, 0, 1000)));
    } else {
        lblBytes->setText(sizeText(received)
                          + (spanish ? QStringLiteral(" hasta ahora") : QStringLiteral(" so far")));
        prgBytes->setRange(0, 0); // busy: the end is not known
    }
}

DownloadWait::DownloadWait(Download &download, int languageId, QWidget *owner, int delayMs)
    : m_download(&download), m_languageId(languageId), m_owner(owner)
{
    m_delay.setSingleShot(true);
    QObject::connect(&m_delay, &QTimer::timeout, [this] { show(); });
    m_delay.start(delayMs);
}

DownloadWait::~DownloadWait()
{
    delete m_window.data();
}

void DownloadWait::show()
{
    if (!m_download || !m_download->isRunning())
        return;
    // A window of its own when the owner is not on screen yet (a view still opening).
    QWidget *parent = m_owner && m_owner->window()->isVisible() ? m_owner->window() : nullptr;
    m_window = new DownloadProgress(m_languageId, m_download->url().toDisplayString(), parent);
    m_window->setWindowModality(Qt::ApplicationModal);
    m_window->showBytes(m_download->received(), m_download->expected());
    QObject::connect(m_download, &Download::progress, m_window, &DownloadProgress::showBytes);
    QObject::connect(m_window, &QDialog::rejected, m_download, &Download::cancel);
    pelmora::centreOnScreen(*m_window);
    m_window->show();
}
