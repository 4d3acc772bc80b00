#pragma once

#include <QString>

#include <array>

namespace platform::chart {
class ChartGroup;
}

// The colour maps of the chart format editor: two built-in tables and the user's ".map" files
// (plain text, one colour a line as up to three decimal numbers, red green blue; a line with
// commas holds one colour per comma-separated piece). A map colours every series of a chart
// group at once.
namespace pelmora {

struct MapEntry
{
    qint16 red = 0;
    qint16 green = 0;
    qint16 blue = 0;
};

// 257 entries, 0 to 256.
using MapTable = std::array<MapEntry, 257>;

// The default colour table and the grey ramp (entry i = (16 i - 1) Mod 255, 256 stays 0).
MapTable defaultColourTable();
MapTable greyTable();

// The colour (red + 256 green + 65536 blue) of one map item; the leading blanks are taken off
// `linea`. A missing number counts 0, one above 255 counts 255, and one that does not fit in
// 16 bits makes the whole colour black.
qint32 elColor(QString &linea);

// Series s gets the default table's entry s - 1 (each component Mod 256) as its fill's
// background and its line colour. Series beyond the table start again from its first entry.
void applyDefaultMap(platform::chart::ChartGroup &group, const MapTable &table);

// Series s gets the grey table's entry s (each component Mod 255) as its fill's foreground and
// its line colour; series beyond entry 256 start again from entry 1.
void applyGreyMap(platform::chart::ChartGroup &group, const MapTable &table);

// Series 1, 2, ... get the colours of the file's items in turn, as fill background and line
// colour; a file with fewer colours than series is read again from its start. Stops, leaving
// the rest as it was, at a file that cannot be read or a pass that yields no colour (an empty
// file). Answers whether every series got a colour.
bool applyMapFile(platform::chart::ChartGroup &group, const QString &archivo);

} // namespace pelmora
