// The XMLA reply parser on any bytes: a Discover rowset, an Execute cell set, a fault.
#include "FuzzSupport.h"

#include "platform/olap/xmla/XmlaMessages.h"

using namespace platform::olap::xmla;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray reply = fuzz::bytesOf(data, size);
    fuzz::expectingErrors([&] { parseDiscoverReply(reply); });
    fuzz::expectingErrors([&] {
        const CellSetData cells = parseExecuteReply(reply);
        for (qint64 ordinal : cells.heldCells()) {
            for (int p = 0; p < int(cells.cellProperties().size()); ++p)
                cells.property(ordinal, p);
        }
    });
    replyFault(reply);
    return 0;
}
