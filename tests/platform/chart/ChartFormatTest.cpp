// Chart format files: everything the model holds comes back from a file, and a file that is
// missing, of another kind or version, or corrupt anywhere answers false and changes nothing.
#include "platform/chart/Chart2D.h"
#include "platform/chart/ChartFormat.h"

#include "tests/platform/chart/ChartTestSupport.h"

#include <QChart>
#include <QChartView>
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>
#include <vector>

using namespace platform::chart;

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// The lines that two format texts have in common.
QList<QByteArray> sharedLines(const QByteArray &a, const QByteArray &b)
{
    const QList<QByteArray> other = b.split('\n');
    QList<QByteArray> shared;
    for (const QByteArray &line : a.split('\n')) {
        if (!line.isEmpty() && other.contains(line))
            shared.append(line);
    }
    return shared;
}

QByteArray replaced(QByteArray text, const QByteArray &from, const QByteArray &to)
{
    EXPECT_TRUE(text.contains(from)) << from.toStdString();
    return text.replace(from, to);
}

QByteArray withoutLine(const QByteArray &text, const QByteArray &prefix)
{
    QList<QByteArray> lines = text.split('\n');
    QList<QByteArray> kept;
    bool dropped = false;
    for (const QByteArray &line : lines) {
        if (!dropped && line.startsWith(prefix)) {
            dropped = true;
            continue;
        }
        kept.append(line);
    }
    EXPECT_TRUE(dropped) << prefix.toStdString();
    return kept.join('\n');
}

struct Corruption
{
    const char *what;
    std::function<QByteArray(const QByteArray &)> make;
};

struct Replacement
{
    const char *what;
    QByteArray from;
    QByteArray to;
};

} // namespace

TEST(ChartFormat, TheFixtureChangesEveryProperty)
{
    // Guards the round-trip tests below: a property the fixture left at its default would
    // come back right even if the file lost it.
    Chart2DModel filled;
    chart_test::fillEverything(filled);
    EXPECT_EQ(sharedLines(chart2DFormatText(Chart2DModel()), chart2DFormatText(filled)),
              (QList<QByteArray>{"PELMORA CHART2D 1", "END"}));
    Chart3DModel filled3;
    chart_test::fillEverything(filled3);
    EXPECT_EQ(sharedLines(chart3DFormatText(Chart3DModel()), chart3DFormatText(filled3)),
              (QList<QByteArray>{"PELMORA CHART3D 1", "END"}));
}

TEST(ChartFormat, ASavedChartLoadsIntoAFreshChartWithEveryProperty)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Chart2DModel filled;
    chart_test::fillEverything(filled);
    const QString original = dir.filePath("original.oc2");
    ASSERT_TRUE(writeChartFormat(chart2DFormatText(filled), original));
    Chart2D chart;
    chart_test::fillData(chart.chartGroups().item(1), 7, 2); // replaced whole by the load
    ASSERT_TRUE(chart.loadFormat(original));
    ASSERT_TRUE(chart.model() == filled);
    const QString path = dir.filePath("look.oc2");
    ASSERT_TRUE(chart.saveFormat(path));

    Chart2D fresh;
    ASSERT_TRUE(fresh.loadFormat(path));
    EXPECT_TRUE(fresh.model() == filled);
    // Saved again, the file is the same to the byte.
    EXPECT_EQ(chart2DFormatText(fresh.model()), readAll(path));
    EXPECT_TRUE(std::isnan(fresh.chartGroups().item(1).data().value(1, 1)));
    EXPECT_EQ(fresh.header().text(), "Line \"1\"\nsecond\ttab \\ back ñ €");
    // And it looks the same.
    EXPECT_EQ(fresh.picture(), chart.picture());
}

TEST(ChartFormat, ThreeDModelsComeBackWhole)
{
    Chart3DModel filled;
    chart_test::fillEverything(filled);
    Chart3DModel read;
    ASSERT_TRUE(parseChart3DFormat(chart3DFormatText(filled), read));
    EXPECT_TRUE(read == filled);
    EXPECT_EQ(chart3DFormatText(read), chart3DFormatText(filled));
}

TEST(ChartFormat, BadFilesAnswerFalseAndChangeNothing)
{
    Chart2DModel filled;
    chart_test::fillEverything(filled);
    const QByteArray good = chart2DFormatText(filled);
    Chart3DModel model3;
    chart_test::fillEverything(model3);
    const QByteArray good3 = chart3DFormatText(model3);

    // A setting of the good file replaced: each must make the whole file refused.
    const std::vector<Replacement> replacements = {
        {"another version", "CHART2D 1", "CHART2D 2"},
        {"no END", "END\n", ""},
        {"an unknown key", "END", "Extra=1\nEND"},
        {"a key twice", "END", "Group.ChartType=2\nEND"},
        {"a line without =", "Legend.Anchor=", "Legend.Anchor"},
        {"a word for a Boolean", "Area.IsBoxed=true", "Area.IsBoxed=yes"},
        {"a refused code", "Group.ChartType=12", "Group.ChartType=13"},
        {"a number out of range", "Legend.Anchor=34", "Legend.Anchor=99999999999"},
        {"a refused value in the last style", "Group.Styles.5.Symbol.Size=16",
         "Group.Styles.5.Symbol.Size=-1"},
        {"an unquoted text", "Legend.Text=\"", "Legend.Text=x\""},
        {"a bad escape", "\\t", "\\q"},
        {"a row with a value too many", "Group.Data.Values.3=", "Group.Data.Values.3=1 "},
        {"a value that is no number", "Area.Y.Spacing=", "Area.Y.Spacing=x"},
        {"more points than a chart holds", "Data.NumPoints=4", "Data.NumPoints=2000000000"},
        {"more series than the file has", "Data.NumSeries=3", "Data.NumSeries=3000000"},
        {"a negative count", "PointLabels.Count=4", "PointLabels.Count=-1"},
        {"not UTF-8", "ñ", "\xff\xfe"},
    };
    std::vector<Corruption> corruptions = {
        {"empty", [](const QByteArray &) { return QByteArray(); }},
        {"a 3-D file", [&](const QByteArray &) { return good3; }},
        {"cut in the middle", [](const QByteArray &t) { return t.left(t.size() / 2); }},
        {"a setting missing", [](const QByteArray &t) { return withoutLine(t, "Legend.Anchor="); }},
        {"a label missing",
         [](const QByteArray &t) { return withoutLine(t, "Group.PointLabels.3="); }},
        {"text after END", [](const QByteArray &t) { return t + "Header.Text=\"x\"\n"; }},
    };
    for (const Replacement &r : replacements) {
        corruptions.push_back(
            {r.what, [r](const QByteArray &t) { return replaced(t, r.from, r.to); }});
    }

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const Corruption &corruption : corruptions) {
        Chart2D chart;
        chart_test::fillData(chart.chartGroups().item(1), 2, 3);
        chart.header().setText("Before");
        chart.refresh();
        const Chart2DModel before = chart.model();
        const QChart *drawn = chart.chartView()->chart();
        const QString path = dir.filePath("bad.oc2");
        writeAll(path, corruption.make(good));
        EXPECT_FALSE(chart.loadFormat(path)) << corruption.what;
        EXPECT_TRUE(chart.model() == before) << corruption.what;
        QCoreApplication::processEvents();
        EXPECT_EQ(chart.chartView()->chart(), drawn) << corruption.what << ": redrawn";
    }

    Chart2D chart;
    chart.header().setText("Before");
    const Chart2DModel before = chart.model();
    EXPECT_FALSE(chart.loadFormat(dir.filePath("missing.oc2")));
    EXPECT_FALSE(chart.loadFormat(QString()));
    EXPECT_FALSE(chart.loadFormat(dir.path())); // a folder
    EXPECT_TRUE(chart.model() == before);

    // The untouched file loads, so the cases above failed for their corruption alone.
    writeAll(dir.filePath("good.oc2"), good);
    EXPECT_TRUE(chart.loadFormat(dir.filePath("good.oc2")));
    EXPECT_TRUE(chart.model() == filled);
}

TEST(ChartFormat, SavingWhereNoFileCanBeWrittenAnswersFalse)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Chart2D chart;
    EXPECT_FALSE(chart.saveFormat(dir.filePath("no/such/folder/look.oc2")));
    EXPECT_FALSE(chart.saveFormat(QString()));
    // A file that exists is replaced whole.
    const QString path = dir.filePath("look.oc2");
    writeAll(path, QByteArray(100000, 'x'));
    ASSERT_TRUE(chart.saveFormat(path));
    EXPECT_EQ(readAll(path), chart2DFormatText(chart.model()));
}

TEST(ChartFormat, EveryLineOfAFileIsNeeded)
{
    Chart2DModel filled;
    chart_test::fillEverything(filled);
    Chart3DModel filled3;
    chart_test::fillEverything(filled3);
    const QByteArray texts[] = {chart2DFormatText(filled), chart3DFormatText(filled3)};
    for (const QByteArray &text : texts) {
        const QList<QByteArray> lines = text.split('\n');
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (lines[i].isEmpty())
                continue;
            QList<QByteArray> kept = lines;
            kept.removeAt(i);
            Chart2DModel model;
            Chart3DModel model3;
            const bool read = text.startsWith("PELMORA CHART3D")
                                  ? parseChart3DFormat(kept.join('\n'), model3)
                                  : parseChart2DFormat(kept.join('\n'), model);
            EXPECT_FALSE(read) << "without " << lines[i].toStdString();
        }
    }
}

TEST(ChartFormat, DamagedBytesNeverHalfLoad)
{
    Chart2DModel filled;
    chart_test::fillEverything(filled);
    const QByteArray good = chart2DFormatText(filled);
    std::mt19937 random(20240611);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("damaged.oc2");
    Chart2D chart;
    chart_test::fillData(chart.chartGroups().item(1), 2, 2);
    const Chart2DModel before = chart.model();
    for (int round = 0; round < 300; ++round) {
        QByteArray damaged = good;
        const int changes = 1 + int(random() % 4);
        for (int k = 0; k < changes; ++k)
            damaged[qsizetype(random() % quint32(damaged.size()))] = char(random() % 256);
        writeAll(path, damaged);
        if (chart.loadFormat(path)) {
            // Damage that still reads (a digit for a digit) loads whole; start again.
            Chart2DModel read;
            EXPECT_TRUE(parseChart2DFormat(damaged, read));
            EXPECT_TRUE(chart.model() == read);
            writeAll(path, chart2DFormatText(before));
            ASSERT_TRUE(chart.loadFormat(path));
        }
        ASSERT_TRUE(chart.model() == before) << "round " << round;
    }
}
