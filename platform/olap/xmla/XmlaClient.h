#pragma once

#include "platform/olap/xmla/CellSetData.h"
#include "platform/olap/xmla/Rowset.h"
#include "platform/olap/xmla/XmlaMessages.h"

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <QUrl>

#include <memory>

class QNetworkAccessManager;

namespace platform::olap::xmla {

// Discover request types the provider uses.
inline constexpr QStringView DiscoverDataSources = u"DISCOVER_DATASOURCES";
inline constexpr QStringView DbSchemaCatalogs = u"DBSCHEMA_CATALOGS";
inline constexpr QStringView MdSchemaCubes = u"MDSCHEMA_CUBES";
inline constexpr QStringView MdSchemaDimensions = u"MDSCHEMA_DIMENSIONS";
inline constexpr QStringView MdSchemaHierarchies = u"MDSCHEMA_HIERARCHIES";
inline constexpr QStringView MdSchemaLevels = u"MDSCHEMA_LEVELS";
inline constexpr QStringView MdSchemaMembers = u"MDSCHEMA_MEMBERS";
inline constexpr QStringView MdSchemaMeasures = u"MDSCHEMA_MEASURES";

// Values of the MDSCHEMA_MEMBERS restriction TREE_OP, relative to MEMBER_UNIQUE_NAME.
enum TreeOp {
    TreeOpChildren = 0x01,
    TreeOpSiblings = 0x02,
    TreeOpParent = 0x04,
    TreeOpSelf = 0x08,
    TreeOpDescendants = 0x10,
    TreeOpAncestors = 0x20,
};

// The endpoint of a server source: an http:// or https:// address as given, any other text
// (host or host:port) http://<source>/xmla. Invalid when the text makes no URL.
QUrl endpointForSource(const QString &source);

// XML for Analysis over HTTP to one endpoint. Calls are synchronous for the caller: each runs a
// local event loop that excludes user input, so the interface keeps painting but no click
// reaches it while the call is pending. Every failure throws platform::Error (ServerError when
// the server's reply reports it); no message holds a password.
//
// Every reply is bounded: it is read as it arrives and refused past maximumReply() bytes (also
// when its announced length says so up front), and once its headers have come it must bring
// at least stallMinimum() bytes in every span of stallTimeout(); the whole call ends after
// timeout(). Past a bound the call throws platform::Error naming the server and the bound.
//
// A connection starts without credentials. When the server answers 401, the request is sent
// once more with HTTP Basic credentials from the netrc entry for the endpoint's host (the file
// netrcPath() names: $NETRC if set, else ~/.netrc); credentials that succeed are kept for the
// later requests of this client.
class XmlaClient
{
public:
    explicit XmlaClient(const QUrl &endpoint);
    ~XmlaClient();
    XmlaClient(const XmlaClient &) = delete;
    XmlaClient &operator=(const XmlaClient &) = delete;

    const QUrl &endpoint() const { return m_endpoint; }

    // The time one call may take, in milliseconds; 60 000 unless set.
    int timeout() const { return m_timeout; }
    void setTimeout(int milliseconds) { m_timeout = milliseconds; }

    // The largest reply in bytes: the megabytes of $PELMORA_XMLA_MAX_REPLY_MB, else 512 MB.
    static qint64 defaultMaximumReply();
    qint64 maximumReply() const { return m_maximumReply; }
    void setMaximumReply(qint64 bytes) { m_maximumReply = bytes; }

    // A reply that brings fewer than stallMinimum() bytes (1 KB unless set) in a span of
    // stallTimeout() milliseconds (30 000 unless set; zero or less: no such bound) has stalled.
    int stallTimeout() const { return m_stallTimeout; }
    void setStallTimeout(int milliseconds) { m_stallTimeout = milliseconds; }
    qint64 stallMinimum() const { return m_stallMinimum; }
    void setStallMinimum(qint64 bytes) { m_stallMinimum = bytes; }

    // The DataSourceInfo sent in every request's properties (servers like Mondrian need it).
    // Taken from the first row of DISCOVER_DATASOURCES, which the client requests before its
    // first other request unless it was set; empty when the server offers none.
    const QString &dataSourceInfo() const { return m_dataSourceInfo; }
    void setDataSourceInfo(const QString &info);

    // A schema rowset. Format Tabular and the DataSourceInfo are added to the properties unless
    // given. MDSCHEMA_DIMENSIONS rows come ordered by DIMENSION_ORDINAL.
    Rowset discover(QStringView requestType, const Restrictions &restrictions = {},
                    const Properties &properties = {});

    // Runs a statement as sent, in the given catalog (none when empty): Format
    // Multidimensional, AxisFormat TupleFormat.
    CellSetData execute(const QString &statement, const QString &catalog);

private:
    struct Exchange;

    Properties withDataSource(Properties properties);
    void ensureDataSourceInfo();
    QByteArray post(QStringView method, const QByteArray &body);
    Exchange send(QStringView method, const QByteArray &body, const QByteArray &authorization,
                  int milliseconds);
    QString where() const;

    QUrl m_endpoint;
    int m_timeout = 60000;
    qint64 m_maximumReply = defaultMaximumReply();
    int m_stallTimeout = 30000;
    qint64 m_stallMinimum = 1024;
    QString m_dataSourceInfo;
    bool m_dataSourceKnown = false;
    QByteArray m_authorization;
    std::unique_ptr<QNetworkAccessManager> m_network;
};

} // namespace platform::olap::xmla
