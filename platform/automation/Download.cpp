#include "platform/automation/Download.h"

#include "platform/runtime/Error.h"
#include "platform/runtime/HttpLength.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>
#include <QStorageInfo>

#include <algorithm>

namespace platform::automation {

namespace {

constexpr int maximumRedirects = 10;
constexpr qint64 copyChunk = 1 << 20;
constexpr qsizetype maximumStem = 60;
constexpr qsizetype maximumExtension = 16;
// How often a growing file looks at the free space of its disk.
constexpr qint64 freeSpaceCheckEvery = 4 * platform::runtime::megabyte;
// How far the network may run ahead of the writes to the file.
constexpr qint64 readAhead = 4 * platform::runtime::megabyte;

using platform::runtime::sizeText;

bool isFileNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('-') || c == QLatin1Char('_')
           || c == QLatin1Char('.');
}

} // namespace

Download::Download(QObject *parent)
    : QObject(parent), m_stall([this](qint64 arrived) { onStall(arrived); })
{
    m_stall.setSpan(30000);
    m_stall.setMinimum(16 * 1024);
}

qint64 Download::defaultMaximumSize()
{
    return platform::runtime::megabytesFromEnvironment("PELMORA_DOWNLOAD_MAX_MB",
                                                       32 * 1024 * platform::runtime::megabyte);
}

Download::~Download()
{
    stop();
}

QString Download::cacheDirectory()
{
    QString base = qEnvironmentVariable("XDG_CACHE_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base)) // relative values are to be ignored
        base = QDir::homePath() + QStringLiteral("/.cache");
    return QDir::cleanPath(base + QStringLiteral("/pelmora/downloads"));
}

QString Download::cacheFileFor(const QUrl &url)
{
    // The fragment never reaches the server, so it does not make another file.
    const QByteArray hash = QCryptographicHash::hash(url.adjusted(QUrl::RemoveFragment).toEncoded(),
                                                     QCryptographicHash::Sha1)
                                .toHex()
                                .left(8);

    // The last segment as the URL spells it: an encoded "/" stays inside the segment.
    const QString path = url.path(QUrl::FullyEncoded);
    const QString segment =
        QUrl::fromPercentEncoding(path.mid(path.lastIndexOf(QLatin1Char('/')) + 1).toUtf8());
    const qsizetype dot = segment.lastIndexOf(QLatin1Char('.'));
    QString stem = dot > 0 ? segment.left(dot) : segment;
    QString extension = dot > 0 ? segment.mid(dot) : QString();

    for (QChar &c : stem) {
        if (!isFileNameChar(c))
            c = QLatin1Char('_');
    }
    while (stem.startsWith(QLatin1Char('.'))) // no hidden files
        stem.remove(0, 1);
    stem.truncate(maximumStem);
    if (stem.isEmpty())
        stem = QStringLiteral("download");

    const bool plainExtension = extension.size() > 1 && extension.size() <= maximumExtension
                                && std::all_of(extension.begin() + 1, extension.end(),
                                               [](QChar c) { return c.isLetterOrNumber(); });
    if (!plainExtension)
        extension.clear();

    return cacheDirectory() + QLatin1Char('/') + stem + QLatin1Char('-') + QString::fromLatin1(hash)
           + extension;
}

void Download::setStallTimeout(int milliseconds)
{
    m_stall.setSpan(milliseconds);
}

void Download::start(const QUrl &url)
{
    if (m_running)
        throw Error(
            QStringLiteral("A download is already running: %1").arg(m_url.toDisplayString()));
    m_url = url;
    m_running = true;
    m_received = 0;
    m_expected = -1;
    m_freeSpaceCheckedAt = 0;
    const quint64 generation = ++m_generation;
    // Every outcome, even an immediate failure, arrives through the event loop.
    QMetaObject::invokeMethod(
        this,
        [this, generation] {
            if (generation != m_generation)
                return;
            const QString scheme = m_url.scheme().toLower();
            if (!m_url.isValid() || m_url.isEmpty())
                fail(QStringLiteral("it is not a valid URL"));
            else if (scheme == QLatin1String("http") || scheme == QLatin1String("https"))
                startNetwork();
            else if (scheme == QLatin1String("file"))
                copyLocalFile();
            else
                fail(QStringLiteral("the scheme \"%1\" is not supported (http, https and file "
                                    "are)")
                         .arg(m_url.scheme()));
        },
        Qt::QueuedConnection);
}

void Download::cancel()
{
    if (stop())
        emit cancelled();
}

QString Download::describe(const QString &reason) const
{
    return QStringLiteral("The download of %1 failed: %2")
        .arg(m_url.isEmpty() ? QStringLiteral("an empty URL") : m_url.toDisplayString(), reason);
}

bool Download::openTarget()
{
    const QString directory = cacheDirectory();
    if (!QDir().mkpath(directory)) {
        fail(QStringLiteral("the cache directory %1 cannot be created").arg(directory));
        return false;
    }
    m_target = std::make_unique<QSaveFile>(cacheFileFor(m_url));
    if (!m_target->open(QIODevice::WriteOnly)) {
        fail(QStringLiteral("%1 cannot be written: %2")
                 .arg(m_target->fileName(), m_target->errorString()));
        return false;
    }
    return true;
}

void Download::startNetwork()
{
    if (!openTarget())
        return;
    if (!m_network)
        m_network = new QNetworkAccessManager(this);
    QNetworkRequest request(m_url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(maximumRedirects);
    m_reply = m_network->get(request);
    m_reply->setReadBufferSize(readAhead);
    connect(m_reply, &QNetworkReply::readyRead, this, &Download::onReadyRead);
    connect(m_reply, &QNetworkReply::metaDataChanged, this, &Download::onMetaData);
    connect(m_reply, &QNetworkReply::finished, this, &Download::onReplyFinished);
    // The silence before the headers counts as a span without data too.
    m_stall.start();
}

void Download::onMetaData()
{
    const QVariant status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (status.isValid() && (status.toInt() < 200 || status.toInt() >= 300))
        return; // an error page or a redirect: its status ends the download
    m_expected = platform::runtime::announcedBodyLength(m_reply->rawHeader("Content-Length"),
                                                        m_reply->rawHeader("Content-Encoding"));
    // A compressed body is at least as long as announced.
    const qint64 length = platform::runtime::announcedLength(m_reply->rawHeader("Content-Length"));
    if (length > 0)
        refuseSize(length);
}

void Download::onReadyRead()
{
    writeData(m_reply->readAll());
}

bool Download::writeData(const QByteArray &data)
{
    if (data.isEmpty())
        return true;
    m_received += data.size();
    m_stall.count(data.size());
    if (m_received > m_maximumSize)
        return !refuseSize(m_received);
    if (m_target->write(data) != data.size()) {
        fail(QStringLiteral("%1 cannot be written: %2")
                 .arg(m_target->fileName(), m_target->errorString()));
        return false;
    }
    if (m_received - m_freeSpaceCheckedAt >= freeSpaceCheckEvery) {
        m_freeSpaceCheckedAt = m_received;
        if (refuseSize(m_received))
            return false;
    }
    emit progress(m_received, m_expected);
    return true;
}

bool Download::refuseSize(qint64 length)
{
    if (length > m_maximumSize) {
        fail(QStringLiteral("it is larger than the limit of %1 (PELMORA_DOWNLOAD_MAX_MB sets "
                            "the limit in megabytes)")
                 .arg(sizeText(m_maximumSize)));
        return true;
    }
    const QString directory = QFileInfo(m_target->fileName()).absolutePath();
    const QStorageInfo disk(directory);
    const qint64 free = disk.isValid() ? disk.bytesAvailable() : -1;
    // What is still to come has to fit with the margin to spare.
    const qint64 toCome = std::max<qint64>(length - m_received, 0);
    if (free >= 0 && free - toCome < m_freeSpaceMargin) {
        fail(QStringLiteral("it would leave less than %1 free on the disk of %2 (%3 free)")
                 .arg(sizeText(m_freeSpaceMargin), directory, sizeText(free)));
        return true;
    }
    return false;
}

void Download::onReplyFinished()
{
    if (m_reply->bytesAvailable() > 0 && !writeData(m_reply->readAll()))
        return; // a bound or the write ended the download
    const QVariant status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    const int code = status.isValid() ? status.toInt() : 0;
    const QString phrase =
        m_reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
    const bool statusFailed = status.isValid() && (code < 200 || code >= 300);

    if (statusFailed && (m_reply->error() == QNetworkReply::NoError || code >= 400))
        fail(QStringLiteral("the server answered %1 %2").arg(code).arg(phrase).trimmed());
    else if (m_reply->error() != QNetworkReply::NoError)
        fail(m_reply->errorString());
    else if (const qint64 length = platform::runtime::announcedBodyLength(
                 m_reply->rawHeader("Content-Length"), m_reply->rawHeader("Content-Encoding"));
             m_target->pos() < length)
        // A connection reset part way can end the reply as if it had ended well.
        fail(QStringLiteral("the connection broke off after %1 of %2 bytes")
                 .arg(m_target->pos())
                 .arg(length));
    else
        succeed();
}

void Download::onStall(qint64 arrived)
{
    if (!m_running)
        return;
    fail(QStringLiteral("timed out: ")
         + platform::runtime::StallWatch::describe(arrived, m_stall.span()));
}

void Download::copyLocalFile()
{
    const QString source = m_url.toLocalFile();
    const QFileInfo info(source);
    if (!info.exists())
        return fail(QStringLiteral("the file %1 does not exist").arg(source));
    if (!info.isFile())
        return fail(QStringLiteral("%1 is not a file").arg(source));
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("%1 cannot be read: %2").arg(source, in.errorString()));
    if (!openTarget())
        return;
    m_expected = info.size();
    if (refuseSize(m_expected))
        return;
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(copyChunk);
        if (chunk.isEmpty() && in.error() != QFileDevice::NoError)
            return fail(QStringLiteral("%1 cannot be read: %2").arg(source, in.errorString()));
        if (!writeData(chunk))
            return;
    }
    succeed();
}

void Download::succeed()
{
    if (!m_target->commit()) {
        fail(QStringLiteral("%1 cannot be saved: %2")
                 .arg(m_target->fileName(), m_target->errorString()));
        return;
    }
    const QString file = m_target->fileName();
    stop();
    emit finished(file);
}

void Download::fail(const QString &reason)
{
    const QString description = describe(reason);
    stop();
    emit failed(description);
}

bool Download::stop()
{
    if (!m_running)
        return false;
    m_running = false;
    ++m_generation;
    m_stall.stop();
    if (m_reply) {
        disconnect(m_reply, nullptr, this, nullptr);
        m_reply->abort();
        m_reply->deleteLater();
        m_reply = nullptr;
    }
    m_target.reset(); // without commit() the temporary file goes and the cached one stays
    return true;
}

} // namespace platform::automation
