#pragma once

#include <QByteArray>

namespace platform::runtime {

// The length of a reply's body as it is read, from the reply's Content-Length and
// Content-Encoding header values; -1 when the server announced none or compressed the body, whose
// length is then not that of what is read. A reply that ends with less was cut short.
qint64 announcedBodyLength(const QByteArray &contentLength, const QByteArray &contentEncoding);

// The length a Content-Length header value announces, whatever the encoding; -1 when it holds
// no length.
qint64 announcedLength(const QByteArray &contentLength);

} // namespace platform::runtime
