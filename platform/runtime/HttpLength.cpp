#include "platform/runtime/HttpLength.h"

namespace platform::runtime {

qint64 announcedBodyLength(const QByteArray &contentLength, const QByteArray &contentEncoding)
{
    const QByteArray encoding = contentEncoding.trimmed().toLower();
    if (!encoding.isEmpty() && encoding != "identity")
        return -1;
    return announcedLength(contentLength);
}

qint64 announcedLength(const QByteArray &contentLength)
{
    bool ok = false;
    const qint64 length = contentLength.trimmed().toLongLong(&ok);
    return ok && length >= 0 ? length : -1;
}

} // namespace platform::runtime
