// Execute replies as the object model's cell set: axes and member names, the slicer, declared
// properties, values, server formatting, styles, errors inside cells and missing cells.
#include "QtPrinters.h"

#include "platform/olap/xmla/CellsetMapping.h"
#include "platform/olap/xmla/XmlaMessages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include <QElapsedTimer>

using namespace platform::olap;
using namespace platform::olap::xmla;

namespace {

QByteArray reply(const QByteArray &olapInfo, const QByteArray &axes, const QByteArray &cells)
{
    return "<?xml version=\"1.0\"?>"
           "<SOAP-ENV:Envelope xmlns:SOAP-ENV=\"http://schemas.xmlsoap.org/soap/envelope/\">"
           "<SOAP-ENV:Body><ExecuteResponse xmlns=\"urn:schemas-microsoft-com:xml-analysis\">"
           "<return><root xmlns=\"urn:schemas-microsoft-com:xml-analysis:mddataset\" "
           "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
           "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\"><OlapInfo>"
           + olapInfo + "</OlapInfo><Axes>" + axes + "</Axes><CellData>" + cells
           + "</CellData></root></return></ExecuteResponse></SOAP-ENV:Body>"
             "</SOAP-ENV:Envelope>";
}

QByteArray member(const QByteArray &hierarchy, const QByteArray &uniqueName,
                  const QByteArray &caption, int level = 1)
{
    return "<Member Hierarchy=\"" + hierarchy + "\"><UName>" + uniqueName + "</UName><Caption>"
           + caption + "</Caption><LName>[" + hierarchy + "].[L" + QByteArray::number(level)
           + "]</LName><LNum>" + QByteArray::number(level) + "</LNum></Member>";
}

QStringList uniqueNames(const CellsetData::Axis &axis)
{
    QStringList out;
    for (const CellsetData::Member &m : axis.members)
        out << m.uniqueName;
    return out;
}

// Two measures on columns, a cross join on rows, a slicer; every property of a style, an integer,
// a boolean, a string, an error inside a cell and two missing cells.
const QByteArray olapInfo = R"(
<AxesInfo><AxisInfo name="Axis0"><HierarchyInfo name="Measures"/></AxisInfo>
<AxisInfo name="Axis1"><HierarchyInfo name="Product"/><HierarchyInfo name="[Time].[Weekly]"/>
</AxisInfo><AxisInfo name="SlicerAxis"><HierarchyInfo name="Store"/></AxisInfo></AxesInfo>
<CellInfo><Value name="VALUE"/><FmtValue name="FORMATTED_VALUE"/>
<FormatString name="FORMAT_STRING"/><ForeColor name="FORE_COLOR"/><BackColor name="BACK_COLOR"/>
<FontName name="FONT_NAME"/><FontSize name="FONT_SIZE"/><FontFlags name="FONT_FLAGS"/>
<CellOrdinal name="cell_ordinal"/></CellInfo>)";

const QByteArray axes =
    "<Axis name=\"Axis0\"><Tuples><Tuple>" + member("Measures", "[Measures].[Units]", "Units", 0)
    + "</Tuple><Tuple>" + member("Measures", "[Measures].[Price]", "Unit price", 0)
    + "</Tuple></Tuples></Axis><Axis name=\"Axis1\"><Tuples><Tuple>"
    + member("Product", "[Product].[Drink]", "Drinks")
    + member("[Time].[Weekly]", "[Time].[Weekly].&amp;[2023]", "Year 2023") + "</Tuple><Tuple>"
    + member("Product", "[Product].[Drink]", "Drinks")
    + member("[Time].[Weekly]", "[Time].[Weekly].&amp;[2024]", "Year 2024") + "</Tuple><Tuple>"
    + member("Product", "[Product].[Drink].[Wine]", "Wine", 2)
    + member("[Time].[Weekly]", "[Time].[Weekly].&amp;[2023]", "Year 2023")
    + "</Tuple></Tuples></Axis><Axis name=\"SlicerAxis\"><Tuples><Tuple>"
    + member("Store", "[Store].[North]", "North") + "</Tuple></Tuples></Axis>";

const QByteArray cells = R"(
<Cell CellOrdinal="0"><Value xsi:type="xsd:double">1234.5</Value><FmtValue>1,234.5</FmtValue>
 <FormatString>#,##0.0</FormatString><ForeColor>255</ForeColor><BackColor>65280</BackColor>
 <FontName>Arial</FontName><FontSize>10</FontSize><FontFlags>3</FontFlags></Cell>
<Cell CellOrdinal="1"><Value xsi:type="xsd:int">5</Value>
 <FormatString>0.00</FormatString></Cell>
<Cell CellOrdinal="2"><Value xsi:type="xsd:double">7</Value><FmtValue>7.0</FmtValue>
 <FormatString>#,##0.0</FormatString><ForeColor>255</ForeColor><BackColor>65280</BackColor>
 <FontName>Arial</FontName><FontSize>10</FontSize><FontFlags>3</FontFlags></Cell>
<Cell CellOrdinal="3"><Value xsi:type="xsd:string">n/a</Value><FmtValue>n/a</FmtValue></Cell>
<Cell CellOrdinal="4"><Value><Error ErrorCode="1" Description="Division by zero."/></Value>
 <FmtValue>#ERR</FmtValue></Cell>
<Cell CellOrdinal="5"><Value xsi:type="xsd:boolean">true</Value></Cell>)";

TEST(CellsetMapping, MapsAxesAndMembers)
{
    const CellsetData data =
        cellsetFromReply(parseExecuteReply(reply(olapInfo, axes, cells)), 1000);
    ASSERT_EQ(data.axes.size(), 2u);
    const CellsetData::Axis &columns = data.axes[0];
    EXPECT_EQ(columns.name, u"Axis0");
    EXPECT_EQ(columns.hierarchies, QStringList({"[Measures]"}));
    EXPECT_EQ(uniqueNames(columns), QStringList({"[Measures].[Units]", "[Measures].[Price]"}));
    const CellsetData::Member &price = columns.member(1, 0);
    EXPECT_EQ(price.name, u"Price");
    EXPECT_EQ(price.caption, u"Unit price");
    EXPECT_EQ(price.levelUniqueName, u"[Measures].[L0]");
    EXPECT_EQ(price.levelDepth, 0);

    const CellsetData::Axis &rows = data.axes[1];
    EXPECT_EQ(rows.hierarchies, QStringList({"[Product]", "[Time].[Weekly]"}));
    ASSERT_EQ(rows.positionCount, 3);
    EXPECT_EQ(rows.dimensionCount(), 2);
    EXPECT_EQ(rows.member(1, 0).uniqueName, u"[Product].[Drink]");
    EXPECT_EQ(rows.member(1, 0).name, u"Drink");
    EXPECT_EQ(rows.member(2, 0).name, u"Wine");
    EXPECT_EQ(rows.member(2, 0).levelDepth, 2);
    // A key in the unique name is no name: the caption stands in.
    EXPECT_EQ(rows.member(1, 1).uniqueName, u"[Time].[Weekly].&[2024]");
    EXPECT_EQ(rows.member(1, 1).name, u"Year 2024");

    EXPECT_EQ(data.slicer.name, u"SlicerAxis");
    ASSERT_EQ(data.slicer.positionCount, 1);
    EXPECT_EQ(data.slicer.hierarchies, QStringList({"[Store]"}));
    EXPECT_EQ(data.slicer.member(0, 0).name, u"North");

    // Without a slicer axis in the reply: one empty tuple.
    const CellsetData bare = cellsetFromReply(
        parseExecuteReply(reply("<AxesInfo><AxisInfo name=\"Axis0\"><HierarchyInfo "
                                "name=\"Measures\"/></AxisInfo></AxesInfo>",
                                "<Axis name=\"Axis0\"><Tuples><Tuple>"
                                    + member("Measures", "[Measures].[Units]", "Units", 0)
                                    + "</Tuple></Tuples></Axis>",
                                "")),
        1000);
    EXPECT_EQ(bare.slicer.positionCount, 1);
    EXPECT_EQ(bare.slicer.dimensionCount(), 0);
    EXPECT_TRUE(bare.slicer.members.empty());
    // No CellInfo: no properties; no CellData: every cell empty.
    EXPECT_TRUE(bare.cellProperties.isEmpty());
    ASSERT_EQ(bare.cellCount(), 1);
    EXPECT_TRUE(bare.isEmpty(0));
}

TEST(CellsetMapping, MapsCellsWithTheDeclaredProperties)
{
    const CellsetData data =
        cellsetFromReply(parseExecuteReply(reply(olapInfo, axes, cells)), 1000);
    EXPECT_EQ(data.cellProperties,
              QStringList({"VALUE", "FORMATTED_VALUE", "FORMAT_STRING", "FORE_COLOR", "BACK_COLOR",
                           "FONT_NAME", "FONT_SIZE", "FONT_FLAGS", "CELL_ORDINAL"}));
    ASSERT_EQ(data.cellCount(), 6); // 2 columns x 3 rows

    struct Case
    {
        int column, row;
        CellsetData::Kind kind;
        QVariant value;
        QString formatted;
    };
    const Case cases[] = {
        {0, 0, CellsetData::Kind::Number, 1234.5, "1,234.5"},
        // No FmtValue: formatted here by the server's format string.
        {1, 0, CellsetData::Kind::Number, 5.0, "5.00"},
        {0, 1, CellsetData::Kind::Number, 7.0, "7.0"},
        {1, 1, CellsetData::Kind::String, QStringLiteral("n/a"), "n/a"},
        // The error is the cell's text, whatever FmtValue says.
        {0, 2, CellsetData::Kind::Error, QStringLiteral("Division by zero."), "Division by zero."},
        {1, 2, CellsetData::Kind::Boolean, true, "true"},
    };
    for (const Case &c : cases) {
        const int at[] = {c.column, c.row};
        const qint64 ordinal = data.ordinal(at);
        EXPECT_EQ(data.kind(ordinal), c.kind) << ordinal;
        EXPECT_EQ(data.value(ordinal), c.value) << ordinal;
        EXPECT_EQ(data.formattedValue(ordinal), c.formatted) << ordinal;
        EXPECT_EQ(data.property(ordinal, u"formatted_value").toString(), c.formatted);
        EXPECT_EQ(data.property(ordinal, u"CELL_ORDINAL"), QVariant(ordinal));
    }

    // Colours and fonts as sent; cells of the same style share it.
    const CellsetData::Style &style = data.style(0);
    EXPECT_EQ(style.formatString, QStringLiteral("#,##0.0"));
    EXPECT_EQ(style.foreColor.toLongLong(), 255);
    EXPECT_EQ(style.backColor.toLongLong(), 65280);
    EXPECT_EQ(style.fontName, QStringLiteral("Arial"));
    EXPECT_EQ(style.fontSize.toDouble(), 10);
    EXPECT_EQ(style.fontFlags.toLongLong(), 3);
    EXPECT_EQ(data.style(2), style);
    EXPECT_FALSE(data.style(3).formatString.isValid());
    EXPECT_EQ(data.property(0, u"FONT_NAME"), QStringLiteral("Arial"));
    EXPECT_EQ(data.styleCount(), 3); // none, the full one, "0.00"
}

TEST(CellsetMapping, LeavesMissingCellsEmptyAndRefusesTooManyCells)
{
    const QByteArray sparse = "<Cell CellOrdinal=\"4\"><Value xsi:type=\"xsd:double\">2</Value>"
                              "<FmtValue>2</FmtValue><FormatString>0</FormatString></Cell>";
    const CellsetData data =
        cellsetFromReply(parseExecuteReply(reply(olapInfo, axes, sparse)), 1000);
    ASSERT_EQ(data.cellCount(), 6);
    for (qint64 ordinal = 0; ordinal < data.cellCount(); ++ordinal) {
        EXPECT_EQ(data.isEmpty(ordinal), ordinal != 4) << ordinal;
        if (ordinal != 4) {
            EXPECT_FALSE(data.value(ordinal).isValid());
            EXPECT_EQ(data.formattedValue(ordinal), u"");
            EXPECT_FALSE(data.property(ordinal, u"FORMAT_STRING").isValid());
        }
    }
    EXPECT_EQ(data.value(4), 2.0);

    try {
        cellsetFromReply(parseExecuteReply(reply(olapInfo, axes, sparse)), 5);
        FAIL() << "six cells were accepted under a limit of five";
    } catch (const platform::Error &error) {
        EXPECT_TRUE(error.description().contains(u"6 cells")) << error.description().toStdString();
    }
}

#if defined(__SANITIZE_ADDRESS__)
constexpr qint64 largeMapBoundMs = 5000; // instrumented builds run several times slower
#else
constexpr qint64 largeMapBoundMs = 500;
#endif

// A reply of 200 000 cells maps in a fraction of the time its parse takes.
TEST(CellsetMapping, MapsALargeReplyQuickly)
{
    const int columns = 50;
    const int rows = 4000;
    QByteArray axesText = "<Axis name=\"Axis0\"><Tuples>";
    for (int c = 0; c < columns; ++c) {
        axesText += "<Tuple>"
                    + member("Measures", "[Measures].[M" + QByteArray::number(c) + "]", "M", 0)
                    + "</Tuple>";
    }
    axesText += "</Tuples></Axis><Axis name=\"Axis1\"><Tuples>";
    for (int r = 0; r < rows; ++r) {
        axesText += "<Tuple>" + member("Product", "[Product].[P" + QByteArray::number(r) + "]", "P")
                    + member("[Time].[Weekly]", "[Time].[Weekly].[W]", "W") + "</Tuple>";
    }
    axesText += "</Tuples></Axis>";
    QByteArray cellText;
    cellText.reserve(columns * rows * 120);
    for (int i = 0; i < columns * rows; ++i) {
        cellText += "<Cell CellOrdinal=\"" + QByteArray::number(i)
                    + "\"><Value xsi:type=\"xsd:double\">" + QByteArray::number(i)
                    + "</Value><FmtValue>" + QByteArray::number(i)
                    + "</FmtValue><FormatString>#,##0</FormatString></Cell>";
    }
    const CellSetData parsed = parseExecuteReply(reply(olapInfo, axesText, cellText));
    // The best of three runs, so that a busy machine does not make a slow mapping of one.
    CellsetData data;
    qint64 elapsed = std::numeric_limits<qint64>::max();
    for (int run = 0; run < 3 && elapsed >= largeMapBoundMs; ++run) {
        QElapsedTimer timer;
        timer.start();
        data = cellsetFromReply(parsed, 10'000'000);
        elapsed = std::min(elapsed, timer.elapsed());
    }
    ASSERT_EQ(data.cellCount(), qint64(columns) * rows);
    EXPECT_EQ(data.value(123456), 123456.0);
    EXPECT_EQ(data.formattedValue(199999), u"199999");
    EXPECT_LT(elapsed, largeMapBoundMs);
}

} // namespace
