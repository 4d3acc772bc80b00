// The colour map file reader on any bytes, applied to a chart group of a few series; every
// colour it gives is red + 256 green + 65536 blue with each component from 0 to 255. The seeds
// are the kept map files and the default colour table written as a map file.
#include "FuzzSupport.h"

#include "Control/charts/ColourMaps.h"
#include "platform/chart/ChartModel.h"

#include <cstdio>
#include <cstdlib>

using platform::chart::ChartGroup;

namespace {

// More series than most maps have items, so that short maps are read again from their start.
constexpr int seriesCount = 7;

void expectColour(qint32 colour, const char *what)
{
    if (colour < 0 || colour > 0xFFFFFF) {
        std::fprintf(stderr, "%s colour %d is not a colour\n", what, int(colour));
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    if (fuzz::seedsWanted()) {
        QByteArray text;
        for (const pelmora::MapEntry &entry : pelmora::defaultColourTable())
            text += QByteArray::number(entry.red) + ' ' + QByteArray::number(entry.green) + ' '
                    + QByteArray::number(entry.blue) + "\r\n";
        fuzz::writeSeed(QStringLiteral("default.map"), text);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const QString path = fuzz::workDir() + QStringLiteral("/input.map");
    fuzz::writeFile(path, QByteArrayView(data, qsizetype(size)));

    ChartGroup group;
    group.data().setSize(seriesCount, 2);
    for (int s = 1; s <= seriesCount; ++s) // the automatic colour is not one of the map's
        group.styles().item(s).fill().interior().setBackground(0);
    fuzz::expectingErrors([&] { pelmora::applyMapFile(group, path); });
    for (int s = 1; s <= seriesCount; ++s) {
        expectColour(group.styles().at(s).fill().interior().background(), "background");
        expectColour(group.styles().at(s).line().color(), "line");
    }

    QString item = QString::fromUtf8(fuzz::bytesOf(data, size));
    expectColour(pelmora::elColor(item), "item");
    return 0;
}
