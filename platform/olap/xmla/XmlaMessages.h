#pragma once

#include "platform/olap/xmla/CellSetData.h"
#include "platform/olap/xmla/Rowset.h"
#include "platform/runtime/Error.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringView>

namespace platform::olap::xmla {

// Restriction and property lists of a request: element name -> text.
using Restrictions = QMap<QString, QString>;
using Properties = QMap<QString, QString>;

// An error the server reported in its reply: a SOAP fault or a Messages/Error block.
class ServerError : public platform::Error
{
public:
    using platform::Error::Error;
};

// SOAP envelopes of the two XMLA methods. Every value is written as escaped XML text. Throws
// platform::Error when a value holds a character XML cannot carry.
QByteArray discoverRequest(QStringView requestType, const Restrictions &restrictions,
                           const Properties &properties);
QByteArray executeRequest(const QString &statement, const Properties &properties);

// Read a reply in one streaming pass. Throw ServerError for a fault or a Messages/Error block
// and platform::Error for a reply that is not XML, not well-formed, or not an XMLA result.
Rowset parseDiscoverReply(const QByteArray &reply);
CellSetData parseExecuteReply(const QByteArray &reply);

// What a reply says went wrong (a fault or Messages/Error), for replies with an HTTP error
// status; empty when the reply says nothing readable.
QString replyFault(const QByteArray &reply);

} // namespace platform::olap::xmla
