#include "Control/charts/ColourMaps.h"

#include "platform/chart/ChartModel.h"
#include "platform/runtime/Items.h"

#include <QFile>
#include <QStringDecoder>

using platform::chart::ChartGroup;
using platform::chart::SeriesStyle;

namespace {

// Entries 0 to 255 of the default colour table (256 stays black). A component above 255 is
// reduced Mod 256 where the table is applied.
constexpr qint16 defaultEntries[256][3] = {
    // clang-format off
    {0,0,255}, {0,255,0}, {255,0,0}, {255,255,0}, {0,255,255}, {255,0,255},
    {127,127,127}, {127,127,255}, {127,255,127}, {255,127,127}, {255,255,127}, {127,255,255},
    {255,127,255}, {191,191,191}, {0,0,127}, {0,127,0}, {127,0,0}, {127,127,0},
    {0,127,127}, {127,0,127}, {63,63,63}, {127,127,191}, {127,191,127}, {191,127,127},
    {191,191,127}, {127,191,191}, {191,127,191}, {223,233,233}, {63,63,191}, {63,191,63},
    {191,63,63}, {191,191,63}, {63,191,191}, {191,63,191}, {31,31,31}, {31,31,229},
    {31,223,31}, {223,31,31}, {223,223,31}, {31,223,223}, {223,31,223}, {95,95,95},
    {191,191,255}, {191,255,191}, {255,191,191}, {255,255,191}, {191,255,255}, {255,191,255},
    {159,159,159}, {95,95,191}, {95,191,95}, {191,95,95}, {191,191,95}, {95,191,191},
    {191,95,191}, {0,0,0}, {63,63,127}, {63,127,63}, {127,63,63}, {127,127,63},
    {63,127,127}, {127,127,159}, {127,127,31}, {255,255,255}, {127,223,127}, {31,0,31},
    {127,159,127}, {127,95,127}, {191,191,127}, {127,31,127}, {0,0,159}, {127,223,223},
    {31,0,0}, {127,159,159}, {127,95,95}, {159,159,0}, {127,31,31}, {0,0,95},
    {223,127,127}, {95,95,0}, {159,127,127}, {95,127,127}, {127,127,95}, {31,127,127},
    {0,0,63}, {223,127,223}, {127,191,191}, {159,127,191}, {95,127,95}, {63,191,191},
    {31,127,31}, {95,0,95}, {223,223,127}, {63,63,0}, {159,159,127}, {95,95,127},
    {63,63,127}, {31,31,127}, {31,0,0}, {191,191,223}, {191,191,159}, {127,63,127},
    {191,191,95}, {191,191,63}, {63,63,191}, {63,0,0}, {191,223,191}, {191,159,191},
    {159,0,0}, {191,95,191}, {63,191,63}, {191,31,191}, {159,0,159}, {191,223,223},
    {191,159,159}, {191,95,95}, {191,63,63}, {191,31,31}, {95,0,0}, {223,191,191},
    {159,191,191}, {191,127,191}, {95,191,191}, {63,127,63}, {31,191,191}, {0,159,0},
    {223,191,223}, {159,191,159}, {95,191,95}, {63,191,63}, {31,191,31}, {0,0,31},
    {223,223,191}, {159,159,191}, {95,95,191}, {191,191,31}, {31,31,191}, {0,31,31},
    {63,63,223}, {63,63,191}, {63,63,159}, {31,31,31}, {63,63,95}, {63,63,31},
    {191,127,191}, {63,223,63}, {191,63,191}, {63,159,63}, {127,127,223}, {63,95,63},
    {63,31,63}, {0,95,95}, {63,223,223}, {63,159,159}, {63,95,95}, {63,31,31},
    {0,159,159}, {223,63,63}, {159,63,63}, {95,63,63}, {31,63,63}, {0,63,63},
    {223,63,223}, {159,63,159}, {95,63,95}, {31,63,31}, {63,0,63}, {223,223,63},
    {159,159,63}, {95,95,63}, {31,31,63}, {127,191,255}, {127,191,180}, {127,191,63},
    {127,191,75}, {191,127,255}, {191,127,180}, {191,127,63}, {191,127,75}, {127,255,191},
    {127,180,191}, {127,63,191}, {127,75,191}, {191,255,127}, {191,180,127}, {191,63,127},
    {191,75,127}, {255,127,191}, {180,127,191}, {63,127,191}, {75,127,191}, {255,191,127},
    {180,191,127}, {63,191,127}, {75,191,127}, {63,191,255}, {63,191,180}, {63,191,75},
    {191,63,255}, {191,63,180}, {191,63,127}, {191,63,75}, {63,255,191}, {63,180,191},
    {63,127,191}, {63,75,191}, {191,255,63}, {191,180,63}, {191,127,63}, {191,75,63},
    {255,63,191}, {180,63,191}, {127,63,191}, {75,63,191}, {255,191,63}, {180,191,63},
    {127,191,63}, {75,191,63}, {63,127,2255}, {63,127,180}, {63,127,75}, {127,63,255},
    {127,63,180}, {127,63,75}, {63,255,127}, {63,180,127}, {63,75,127}, {127,255,63},
    {127,180,63}, {127,75,63}, {255,63,127}, {180,63,127}, {75,63,127}, {255,127,63},
    {180,127,63}, {75,127,63}, {180,75,255}, {180,75,191}, {180,75,127}, {180,75,63},
    {75,180,255}, {75,180,191}, {75,180,127}, {75,180,63}, {180,255,75}, {180,191,75},
    {180,127,75}, {180,63,75}, {75,255,180}, {75,191,180}, {75,127,180}, {75,63,180},
    {255,75,180}, {191,75,180}, {127,75,180}, {63,75,180},
    // clang-format on
};

// Mod with the sign of the dividend, as the forms runtime computes it.
int mod(int value, int divisor)
{
    return value % divisor;
}

qint32 rgb(int red, int green, int blue)
{
    return red + 256 * green + 65536 * blue;
}

// The map file's text: UTF-8, else Windows-1252 as older files are.
bool readMapText(const QString &path, QString &text)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    auto utf8 = QStringDecoder(QStringDecoder::Utf8);
    text = utf8(bytes);
    if (utf8.hasError()) {
        auto latin = QStringDecoder("Windows-1252");
        text = latin.isValid() ? latin(bytes) : QString::fromLatin1(bytes);
    }
    return true;
}

// Series s gets table entry s - 1 + first (entries first to 256, over again past the end),
// each component Mod `modulus`, as its line colour and the fill colour `paint` sets.
template <typename Paint>
void paintSeries(ChartGroup &group, const pelmora::MapTable &table, int first, int modulus,
                 Paint paint)
{
    const int n = group.data().numSeries();
    const int entries = int(table.size()) - first;
    for (int s = 1; s <= n; ++s) {
        const pelmora::MapEntry &entry = table[std::size_t((s - 1) % entries + first)];
        const qint32 colour =
            rgb(mod(entry.red, modulus), mod(entry.green, modulus), mod(entry.blue, modulus));
        SeriesStyle &style = group.styles().item(s);
        paint(style, colour);
        style.line().setColor(colour);
    }
}

} // namespace

namespace pelmora {

MapTable defaultColourTable()
{
    MapTable table{};
    for (int i = 0; i < 256; ++i)
        table[i] = {defaultEntries[i][0], defaultEntries[i][1], defaultEntries[i][2]};
    return table;
}

MapTable greyTable()
{
    MapTable table{};
    for (int i = 0; i < 256; ++i) {
        const auto level = qint16(mod(16 * i - 1, 255));
        table[i] = {level, level, level};
    }
    return table;
}

qint32 elColor(QString &linea)
{
    qsizetype blanks = 0;
    while (blanks < linea.size() && linea.at(blanks) == u' ')
        ++blanks;
    linea.remove(0, blanks);

    int numbers[3] = {0, 0, 0};
    int k = 0;
    bool inNumber = false;
    for (const QChar c : std::as_const(linea)) {
        if (c >= u'0' && c <= u'9') {
            numbers[k] = numbers[k] * 10 + (c.unicode() - u'0');
            if (numbers[k] > 32767)
                return 0; // overflows the 16-bit number: black
            inNumber = true;
        } else if (inNumber) {
            ++k;
            inNumber = false;
        }
        if (k == 3)
            break;
    }
    return rgb(qMin(numbers[0], 255), qMin(numbers[1], 255), qMin(numbers[2], 255));
}

void applyDefaultMap(ChartGroup &group, const MapTable &table)
{
    paintSeries(group, table, 0, 256, [](SeriesStyle &style, qint32 colour) {
        style.fill().interior().setBackground(colour);
    });
}

void applyGreyMap(ChartGroup &group, const MapTable &table)
{
    paintSeries(group, table, 1, 255, [](SeriesStyle &style, qint32 colour) {
        style.fill().interior().setForeground(colour);
    });
}

bool applyMapFile(ChartGroup &group, const QString &archivo)
{
    int s = 1;
    while (s <= group.data().numSeries()) {
        QString text;
        if (!readMapText(archivo, text))
            return false;
        platform::runtime::ItemReader reader(text);
        int coloured = 0;
        while (s <= group.data().numSeries() && !reader.atEnd()) {
            QString item = reader.readItem();
            const qint32 colour = elColor(item);
            auto &style = group.styles().item(s);
            style.fill().interior().setBackground(colour);
            style.line().setColor(colour);
            ++s;
            ++coloured;
        }
        if (coloured == 0)
            return false; // a file without items would be read again for ever
    }
    return true;
}

} // namespace pelmora
