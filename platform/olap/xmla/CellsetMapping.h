#pragma once

#include "platform/olap/CellsetData.h"
#include "platform/olap/xmla/CellSetData.h"

namespace platform::olap::xmla {

// An Execute reply as the object model's cell set: axes, slicer, the cell properties the reply
// declares, values, the server's formatted values, and the format, colour and font properties.
// An error the server put inside a cell is that cell's text; cells the reply left out are
// empty. A member's name is the last part of its unique name (replies carry no names), or its
// caption when that part is a key ("&[1]"). Throws platform::Error when the result has more
// than maxCells cells.
CellsetData cellsetFromReply(const CellSetData &reply, qint64 maxCells);

} // namespace platform::olap::xmla
