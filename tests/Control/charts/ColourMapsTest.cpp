// The chart format editor's colour maps: the map items, the two tables and map files, applied
// to a chart group's series.
#include "Control/charts/ColourMaps.h"
#include "platform/chart/ChartModel.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <vector>

using platform::chart::ChartGroup;

namespace {

qint32 rgb(int r, int g, int b)
{
    return r + 256 * g + 65536 * b;
}

ChartGroup groupOf(int series)
{
    ChartGroup group;
    group.data().setSize(series, 3);
    return group;
}

std::vector<qint32> backs(const ChartGroup &group)
{
    std::vector<qint32> colours;
    for (int s = 1; s <= group.data().numSeries(); ++s)
        colours.push_back(group.styles().at(s).fill().interior().background());
    return colours;
}

class MapFile : public ::testing::Test
{
protected:
    QString write(const QByteArray &text)
    {
        const QString path = dir.filePath(QStringLiteral("colours.map"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
        return path;
    }
    QTemporaryDir dir;
};

} // namespace

TEST(ColourMapItem, ReadsUpToThreeNumbers)
{
    struct Case
    {
        const char *item;
        qint32 colour;
        const char *left; // the item after its leading blanks are taken off
    };
    const Case cases[] = {
        {"255 128 0", rgb(255, 128, 0), "255 128 0"},
        {"  12 34", rgb(12, 34, 0), "12 34"},
        {"a1b2c3d4", rgb(1, 2, 3), "a1b2c3d4"},
        {"300 0 0", rgb(255, 0, 0), "300 0 0"},
        {"99999 1 1", 0, "99999 1 1"},
        {"", 0, ""},
        {"1 2 3 4 5", rgb(1, 2, 3), "1 2 3 4 5"},
        {"32767 32768", 0, "32767 32768"},
    };
    for (const Case &c : cases) {
        QString item = QString::fromLatin1(c.item);
        EXPECT_EQ(pelmora::elColor(item), c.colour) << c.item;
        EXPECT_EQ(item, QString::fromLatin1(c.left)) << c.item;
    }
}

TEST(ColourMapTables, HoldTheDefaultColoursAndTheGreyRamp)
{
    const pelmora::MapTable grey = pelmora::greyTable();
    EXPECT_EQ(grey[0].red, -1);
    EXPECT_EQ(grey[1].green, 15);
    EXPECT_EQ(grey[15].blue, 239);
    EXPECT_EQ(grey[16].red, 0);
    EXPECT_EQ(grey[17].red, 16);
    EXPECT_EQ(grey[256].red, 0);
    const pelmora::MapTable colours = pelmora::defaultColourTable();
    EXPECT_EQ(colours[218].blue, 2255);
    EXPECT_EQ(colours[255].red, 63);
    EXPECT_EQ(colours[256].red, 0);
}

TEST(ColourMapTables, ColourTheSeriesAndWrapAroundPastTheirEnd)
{
    ChartGroup group = groupOf(300);
    pelmora::applyDefaultMap(group, pelmora::defaultColourTable());
    const auto colours = backs(group);
    EXPECT_EQ(colours[0], rgb(0, 0, 255));
    EXPECT_EQ(colours[1], rgb(0, 255, 0));
    EXPECT_EQ(colours[2], rgb(255, 0, 0));
    EXPECT_EQ(colours[218], rgb(63, 127, 207)); // 2255 Mod 256
    EXPECT_EQ(colours[256], 0);                 // entry 256
    EXPECT_EQ(colours[257], rgb(0, 0, 255));    // series 258 starts the table again
    EXPECT_EQ(group.styles().at(3).line().color(), rgb(255, 0, 0));

    pelmora::applyGreyMap(group, pelmora::greyTable());
    auto front = [&group](int s) { return group.styles().at(s).fill().interior().foreground(); };
    EXPECT_EQ(front(1), rgb(15, 15, 15));
    EXPECT_EQ(front(2), rgb(31, 31, 31));
    EXPECT_EQ(front(3), rgb(47, 47, 47));
    EXPECT_EQ(front(16), 0);
    EXPECT_EQ(front(17), rgb(16, 16, 16));
    EXPECT_EQ(front(256), 0);
    EXPECT_EQ(front(257), rgb(15, 15, 15)); // past entry 256: entry 1 again
    EXPECT_EQ(group.styles().at(2).line().color(), rgb(31, 31, 31));
    // The grey map leaves the backgrounds the colour map gave.
    EXPECT_EQ(backs(group)[0], rgb(0, 0, 255));
}

TEST_F(MapFile, RepeatsItsColoursOverTheSeries)
{
    ChartGroup group = groupOf(5);
    EXPECT_TRUE(pelmora::applyMapFile(group, write("10 20 30\r\n40 50 60\r\n")));
    const qint32 a = rgb(10, 20, 30), b = rgb(40, 50, 60);
    EXPECT_EQ(backs(group), std::vector<qint32>({a, b, a, b, a}));
    EXPECT_EQ(group.styles().at(4).line().color(), b);

    ChartGroup commas = groupOf(3);
    EXPECT_TRUE(pelmora::applyMapFile(commas, write("10,20,30\n")));
    EXPECT_EQ(backs(commas), std::vector<qint32>({rgb(10, 0, 0), rgb(20, 0, 0), rgb(30, 0, 0)}));
}

TEST_F(MapFile, AnEmptyOrMissingFileStopsAndLeavesTheSeries)
{
    for (const QString &path : {write(""), dir.filePath(QStringLiteral("missing.map"))}) {
        ChartGroup group = groupOf(2);
        group.styles().item(1).fill().interior().setBackground(rgb(1, 2, 3));
        EXPECT_FALSE(pelmora::applyMapFile(group, path)); // returns: no endless reading
        EXPECT_EQ(backs(group)[0], rgb(1, 2, 3));
    }
}
