#include "platform/olap/xmla/XmlaClient.h"

#include "platform/olap/xmla/Netrc.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/HttpLength.h"
#include "platform/runtime/TransferBounds.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

#include <algorithm>

namespace platform::olap::xmla {

QUrl endpointForSource(const QString &source)
{
    const QString text = source.trimmed();
    if (text.isEmpty())
        return {};
    QUrl url;
    if (text.startsWith(u"http://", Qt::CaseInsensitive)
        || text.startsWith(u"https://", Qt::CaseInsensitive))
        url = QUrl(text);
    else
        url = QUrl(QStringLiteral("http://") + text + QStringLiteral("/xmla"));
    if (!url.isValid() || url.host().isEmpty())
        return {};
    return url;
}

using platform::runtime::sizeText;
using platform::runtime::StallWatch;

namespace {

constexpr qint64 readAhead = 4 * platform::runtime::megabyte;

} // namespace

struct XmlaClient::Exchange
{
    bool timedOut = false;
    // The reply went past maximumReply() (or announced it would); reading stopped there.
    bool tooLarge = false;
    // Too little of the reply arrived in one span of the stall timeout: the bytes of that span.
    qint64 stalledWith = -1;
    int status = 0; // 0: no HTTP reply
    QString reason;
    QString errorString;
    QByteArray body;
    // The connection failed after the status line (the server died in its reply): the body
    // is only a part.
    bool brokenOff = false;
};

qint64 XmlaClient::defaultMaximumReply()
{
    return platform::runtime::megabytesFromEnvironment("PELMORA_XMLA_MAX_REPLY_MB",
                                                       512 * platform::runtime::megabyte);
}

XmlaClient::XmlaClient(const QUrl &endpoint)
    : m_endpoint(endpoint), m_network(std::make_unique<QNetworkAccessManager>())
{}

XmlaClient::~XmlaClient() = default;

void XmlaClient::setDataSourceInfo(const QString &info)
{
    m_dataSourceInfo = info;
    m_dataSourceKnown = true;
}

Properties XmlaClient::withDataSource(Properties properties)
{
    if (!m_dataSourceInfo.isEmpty() && !properties.contains(QStringLiteral("DataSourceInfo")))
        properties.insert(QStringLiteral("DataSourceInfo"), m_dataSourceInfo);
    return properties;
}

// Mondrian answers requests without the DataSourceInfo of one of its data sources with a fault;
// a server that does not know DISCOVER_DATASOURCES is asked the rest without one.
void XmlaClient::ensureDataSourceInfo()
{
    if (m_dataSourceKnown)
        return;
    m_dataSourceKnown = true;
    try {
        discover(DiscoverDataSources);
    } catch (const ServerError &) {
    } catch (...) {
        m_dataSourceKnown = false;
        throw;
    }
}

Rowset XmlaClient::discover(QStringView requestType, const Restrictions &restrictions,
                            const Properties &properties)
{
    const bool dataSources = requestType.compare(DiscoverDataSources, Qt::CaseInsensitive) == 0;
    if (!dataSources)
        ensureDataSourceInfo();
    Properties sent = dataSources ? properties : withDataSource(properties);
    if (!sent.contains(QStringLiteral("Format")))
        sent.insert(QStringLiteral("Format"), QStringLiteral("Tabular"));
    Rowset rowset =
        parseDiscoverReply(post(u"Discover", discoverRequest(requestType, restrictions, sent)));
    if (dataSources && m_dataSourceInfo.isEmpty() && rowset.rowCount() > 0) {
        QString info = rowset.value(0, u"DataSourceInfo");
        if (info.isEmpty())
            info = rowset.value(0, u"DataSourceName");
        m_dataSourceInfo = info;
        m_dataSourceKnown = true;
    }
    if (requestType.compare(MdSchemaDimensions, Qt::CaseInsensitive) == 0)
        rowset.sortByNumber(rowset.columnIndex(u"DIMENSION_ORDINAL"));
    return rowset;
}

CellSetData XmlaClient::execute(const QString &statement, const QString &catalog)
{
    ensureDataSourceInfo();
    Properties properties = withDataSource({});
    if (!catalog.isEmpty())
        properties.insert(QStringLiteral("Catalog"), catalog);
    properties.insert(QStringLiteral("Format"), QStringLiteral("Multidimensional"));
    properties.insert(QStringLiteral("AxisFormat"), QStringLiteral("TupleFormat"));
    return parseExecuteReply(post(u"Execute", executeRequest(statement, properties)));
}

QString XmlaClient::where() const
{
    return m_endpoint.toDisplayString(QUrl::RemoveUserInfo);
}

QByteArray XmlaClient::post(QStringView method, const QByteArray &body)
{
    if (!m_endpoint.isValid() || m_endpoint.host().isEmpty())
        throw platform::Error(
            QStringLiteral("\"%1\" is not the address of a server.").arg(where()));
    const QDeadlineTimer deadline =
        m_timeout > 0 ? QDeadlineTimer(m_timeout) : QDeadlineTimer(QDeadlineTimer::Forever);
    auto remaining = [&] {
        return deadline.isForever() ? -1 : int(std::max<qint64>(deadline.remainingTime(), 0));
    };

    Exchange exchange = send(method, body, m_authorization, remaining());
    if (!exchange.timedOut && exchange.status == 401) {
        const QString path = netrcPath();
        const QString host = m_endpoint.host();
        const std::optional<NetrcCredentials> credentials = netrcCredentials(host, path);
        if (!credentials)
            throw platform::Error(
                QStringLiteral("The XMLA server at %1 asks for a user name and password "
                               "(HTTP 401), and %2 holds none for the host %3.")
                    .arg(where(), path, host));
        const QByteArray authorization =
            "Basic " + (credentials->login + u':' + credentials->password).toUtf8().toBase64();
        if (authorization != m_authorization)
            exchange = send(method, body, authorization, remaining());
        if (!exchange.timedOut && exchange.status == 401)
            throw platform::Error(
                QStringLiteral("The XMLA server at %1 did not accept the user name and password "
                               "that %2 holds for the host %3 (HTTP 401).")
                    .arg(where(), path, host));
        if (exchange.status != 0)
            m_authorization = authorization;
    }

    if (exchange.tooLarge)
        throw platform::Error(
            QStringLiteral("The XMLA server at %1 sent a reply larger than the limit of %2 "
                           "(PELMORA_XMLA_MAX_REPLY_MB sets the limit in megabytes).")
                .arg(where(), sizeText(m_maximumReply)));
    if (exchange.stalledWith >= 0)
        throw platform::Error(
            QStringLiteral("The XMLA server at %1 stalled in its reply: %2.")
                .arg(where(), StallWatch::describe(exchange.stalledWith, m_stallTimeout)));
    if (exchange.timedOut)
        throw platform::Error(QStringLiteral("The XMLA server at %1 did not answer within %2 "
                                             "seconds.")
                                  .arg(where(), QString::number(m_timeout / 1000.0, 'g', 4)));
    if (exchange.status == 0) {
        QString reason = exchange.errorString;
        reason.replace(m_endpoint.toString(), where());
        throw platform::Error(
            QStringLiteral("Could not reach the XMLA server at %1: %2.").arg(where(), reason));
    }
    if (exchange.brokenOff) {
        QString reason = exchange.errorString;
        reason.replace(m_endpoint.toString(), where());
        throw platform::Error(QStringLiteral("The connection to the XMLA server at %1 broke off "
                                             "before the end of its reply: %2.")
                                  .arg(where(), reason));
    }
    if (exchange.status >= 300) {
        // Servers send their faults with an error status too; the fault says more.
        const QString fault = replyFault(exchange.body);
        if (!fault.isEmpty())
            throw ServerError(QStringLiteral("The server reported: %1").arg(fault));
        QString status = QString::number(exchange.status);
        if (!exchange.reason.isEmpty())
            status += u' ' + exchange.reason;
        throw platform::Error(
            QStringLiteral("The XMLA server at %1 answered HTTP %2.").arg(where(), status));
    }
    return exchange.body;
}

XmlaClient::Exchange XmlaClient::send(QStringView method, const QByteArray &body,
                                      const QByteArray &authorization, int milliseconds)
{
    Exchange exchange;
    if (milliseconds == 0) {
        exchange.timedOut = true;
        return exchange;
    }
    QNetworkRequest request(m_endpoint);
    request.setHeader(QNetworkRequest::ContentTypeHeader,
                      QByteArrayLiteral("text/xml; charset=utf-8"));
    request.setRawHeader("SOAPAction",
                         "\"urn:schemas-microsoft-com:xml-analysis:" + method.toUtf8() + '"');
    if (!authorization.isEmpty())
        request.setRawHeader("Authorization", authorization);

    QNetworkReply *reply = m_network->post(request, body);
    // Qt reads the network only so far ahead of this reader.
    reply->setReadBufferSize(readAhead);
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
        exchange.timedOut = true;
        reply->abort();
    });
    if (milliseconds > 0)
        timer.start(milliseconds);

    // The reply is taken as it arrives and refused once it and what Qt holds of it pass the
    // bound.
    StallWatch stall([&](qint64 arrived) {
        exchange.stalledWith = arrived;
        reply->abort();
    });
    stall.setSpan(m_stallTimeout);
    stall.setMinimum(m_stallMinimum);
    auto refuseTooLarge = [&] {
        exchange.tooLarge = true;
        exchange.body.clear();
        exchange.body.squeeze();
        stall.stop();
        reply->abort();
    };
    QObject::connect(reply, &QNetworkReply::metaDataChanged, &loop, [&] {
        if (exchange.tooLarge)
            return;
        const qint64 length =
            platform::runtime::announcedLength(reply->rawHeader("Content-Length"));
        if (length > m_maximumReply)
            return refuseTooLarge();
        if (length > exchange.body.capacity())
            exchange.body.reserve(length);
        if (!stall.isActive())
            stall.start();
    });
    QObject::connect(reply, &QNetworkReply::readyRead, &loop, [&] {
        if (exchange.tooLarge || exchange.stalledWith >= 0 || exchange.timedOut)
            return;
        const qint64 available = reply->bytesAvailable();
        stall.count(available);
        const qint64 size = exchange.body.size();
        const qint64 needed = size + available;
        if (needed > m_maximumReply)
            return refuseTooLarge();
        // Grown as usual, but never past the bound, and read in place.
        if (needed > exchange.body.capacity())
            exchange.body.reserve(
                std::min(std::max(needed, 2 * exchange.body.capacity()), m_maximumReply));
        exchange.body.resize(needed);
        const qint64 read = reply->read(exchange.body.data() + size, available);
        exchange.body.resize(size + std::max<qint64>(read, 0));
    });
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    timer.stop();
    stall.stop();

    if (!exchange.timedOut && !exchange.tooLarge && exchange.stalledWith < 0) {
        exchange.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        exchange.reason = reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
        exchange.errorString = reply->errorString();
        const qint64 rest = reply->bytesAvailable();
        if (exchange.body.size() + rest > m_maximumReply) {
            exchange.tooLarge = true;
            exchange.body.clear();
        } else {
            exchange.body += reply->readAll();
        }
        // Qt numbers the connection's own errors below 100, the HTTP ones from 100 on.
        exchange.brokenOff = exchange.status != 0 && reply->error() != QNetworkReply::NoError
                             && reply->error() < 100;
        // A connection reset part way can also end the reply as if it had ended well: the
        // length announced for a body sent as it is tells.
        const qint64 length = platform::runtime::announcedBodyLength(
            reply->rawHeader("Content-Length"), reply->rawHeader("Content-Encoding"));
        if (!exchange.brokenOff && exchange.status != 0 && exchange.body.size() < length) {
            exchange.brokenOff = true;
            exchange.errorString =
                QStringLiteral("%1 of its %2 bytes arrived").arg(exchange.body.size()).arg(length);
        }
    }
    delete reply;
    return exchange;
}

} // namespace platform::olap::xmla
