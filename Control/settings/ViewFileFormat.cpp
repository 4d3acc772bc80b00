#include "Control/settings/ViewFileFormat.h"

#include "platform/forms/FontObject.h"
#include "platform/grid/GridLines.h"
#include "platform/runtime/BoolWords.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/Items.h"
#include "platform/runtime/Numbers.h"

#include <QLocale>
#include <QStringDecoder>

#include <cmath>

namespace pelmora {

namespace rt = platform::runtime;

void applyViewFont(const ViewFont &a, platform::forms::FontObject &font)
{
    font.setBold(a.bold);
    font.setCharset(a.charset);
    font.setItalic(a.italic);
    font.setName(a.name);
    font.setSize(a.size);
    font.setStrikethrough(a.strikethrough);
    font.setUnderline(a.underline);
    font.setWeight(a.weight);
}

namespace {

// ---------------------------------------------------------------- writing

QString quoted(QString text)
{
    text.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

class Writer
{
public:
    // One record: the key text, then the further items already written out.
    void line(const QString &key, const QString &value, const QStringList &items = {})
    {
        m_text += quoted(key + value);
        for (const QString &item : items)
            m_text += QLatin1Char(',') + item;
        m_text += QLatin1String("\r\n");
    }
    void line(const QString &key, bool value) { line(key, rt::boolWord(value)); }
    void line(const QString &key, int value) { line(key, QString::number(value)); }
    void line(const QString &key, double value) { line(key, rt::numberText(value)); }

    const QString &text() const { return m_text; }

private:
    QString m_text;
};

QString item(const QString &text)
{
    return quoted(text);
}

QString item(int value)
{
    return QString::number(value);
}

QString item(bool value)
{
    return rt::writeItem(value);
}

QString item(const std::optional<double> &value)
{
    return value ? rt::writeItem(*value) : QString();
}

void writeFont(Writer &w, const QString &key, const ViewFont &f)
{
    // The size is a fixed-point number of four decimals.
    const double size = std::round(f.size * 10000.0) / 10000.0;
    w.line(key, rt::boolWord(f.bold),
           {item(f.charset), item(f.italic), item(f.name), rt::writeItem(size),
            item(f.strikethrough), item(f.underline), item(f.weight)});
}

const char *const buttonKeys[] = {
    // clang-format off
    "VisibleButtonOpen=",       "VisibleButtonSave=",     "VisibleButtonPrint=",
    "VisibleButtonExport=",     "VisibleButtonCopy=",     "VisibleButtonDirectMDX=",
    // clang-format on
    "VisibleButtonShowElements=", "VisibleButtonChart2d=", "VisibleButtonChart3d=",
    // clang-format off
    "VisibleButtonSwapXY=",     "VisibleButtonLayout=",   "VisibleButtonDimension=",
    "VisibleButtonFormat=",     "VisibleButtonAbout=",
    // clang-format on
};
static_assert(std::size(buttonKeys) == viewFileButtons.size());

const char *const fontKeys[] = {"Font=", "FontData=", "FontSubtotal=", "FontDataSubtotal="};

QString key(const char *text)
{
    return QString::fromLatin1(text);
}

// ---------------------------------------------------------------- reading

struct Item
{
    QString text;
    bool quoted = false;
};
using Record = QList<Item>;

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

bool isLineEnd(QChar c)
{
    return c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

[[noreturn]] void fail(const char *description)
{
    throw platform::Error(QString::fromLatin1(description));
}

// Splits the text into records. Items are separated by ","; a record ends at an unquoted line
// end (CR LF, LF or CR). A quoted item runs across line ends; inside it "" is one quote, and
// a quote followed (after blanks) by "," or the line's end closes it. Empty lines are skipped.
QList<Record> records(const QString &text)
{
    QList<Record> result;
    const qsizetype n = text.size();
    qsizetype pos = 0;
    auto skipLineEnd = [&] {
        if (pos < n && text[pos] == QLatin1Char('\r'))
            ++pos;
        if (pos < n && text[pos] == QLatin1Char('\n'))
            ++pos;
    };
    while (pos < n) {
        if (isLineEnd(text[pos])) {
            skipLineEnd();
            continue;
        }
        Record record;
        for (;;) {
            while (pos < n && isBlank(text[pos]))
                ++pos;
            Item it;
            if (pos < n && text[pos] == QLatin1Char('"')) {
                it.quoted = true;
                ++pos;
                bool closed = false;
                while (pos < n) {
                    const QChar c = text[pos];
                    if (c != QLatin1Char('"')) {
                        it.text += c;
                        ++pos;
                        continue;
                    }
                    if (pos + 1 < n && text[pos + 1] == QLatin1Char('"')) {
                        it.text += c;
                        pos += 2;
                        continue;
                    }
                    qsizetype after = pos + 1;
                    while (after < n && isBlank(text[after]))
                        ++after;
                    if (after >= n || text[after] == QLatin1Char(',') || isLineEnd(text[after])) {
                        pos = after;
                        closed = true;
                        break;
                    }
                    it.text += c; // a lone quote inside a text is itself
                    ++pos;
                }
                if (!closed)
                    fail("Input past end of file");
            } else {
                const qsizetype start = pos;
                while (pos < n && text[pos] != QLatin1Char(',') && !isLineEnd(text[pos]))
                    ++pos;
                qsizetype end = pos;
                while (end > start && isBlank(text[end - 1]))
                    --end;
                it.text = text.mid(start, end - start);
            }
            record << it;
            if (pos < n && text[pos] == QLatin1Char(',')) {
                ++pos;
                continue;
            }
            skipLineEnd();
            break;
        }
        result << record;
    }
    return result;
}

// Hands out the records in order, each with the number of items its line must have.
class Reader
{
public:
    explicit Reader(QList<Record> records) : m_records(std::move(records)) {}

    const Record &next(qsizetype items)
    {
        if (m_next >= m_records.size())
            fail("Input past end of file");
        const Record &record = m_records[m_next++];
        if (record.size() != items)
            fail("Bad record length");
        return record;
    }

    // The value of the key text: what follows its first "=", or all of it.
    QString value() { return valueOf(next(1)); }

    static QString valueOf(const Record &record)
    {
        const QString &text = record.first().text;
        const qsizetype eq = text.indexOf(QLatin1Char('='));
        return eq < 0 ? text : text.mid(eq + 1);
    }

private:
    QList<Record> m_records;
    qsizetype m_next = 0;
};

int toLong(const QString &text)
{
    return rt::toLong(text);
}

int toInteger(const QString &text)
{
    return rt::toInteger(text);
}

// A Boolean that must be one: a word that is none fails the file.
bool strictBool(const QString &text)
{
    const std::optional<bool> value = rt::parseBoolWord(text);
    if (!value)
        fail("Type mismatch");
    return *value;
}

// A Boolean inside a key text: a word that is none reads as False, as files of the original
// program rely on.
bool wordBool(const QString &text)
{
    return rt::parseBoolWord(text).value_or(false);
}

// A Double written with either decimal separator, without grouping.
double eitherSeparator(const QString &text)
{
    QString t = text.trimmed();
    if (t.contains(QLatin1Char(',')) && t.contains(QLatin1Char('.')))
        fail("Type mismatch");
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = QLocale::c().toDouble(t, &ok);
    if (!ok || !std::isfinite(value))
        fail("Type mismatch");
    return value;
}

// Locale-free numeric items: an empty item is 0; "nan" and "inf" are not numbers.
double itemNumber(const Item &it)
{
    const QString t = it.text.trimmed();
    if (t.isEmpty())
        return 0;
    bool ok = false;
    const double value = QLocale::c().toDouble(t, &ok);
    if (!ok || !std::isfinite(value))
        fail("Type mismatch");
    return value;
}

int itemLong(const Item &it)
{
    return rt::toLong(itemNumber(it));
}

int itemInteger(const Item &it)
{
    return rt::toInteger(itemNumber(it));
}

bool itemBool(const Item &it)
{
    const QString t = it.text.trimmed();
    if (!it.quoted) {
        if (t.compare(QLatin1String("#TRUE#"), Qt::CaseInsensitive) == 0)
            return true;
        if (t.compare(QLatin1String("#FALSE#"), Qt::CaseInsensitive) == 0)
            return false;
    }
    return strictBool(t);
}

std::optional<double> itemPosition(const Item &it)
{
    if (it.text.trimmed().isEmpty())
        return std::nullopt;
    return itemNumber(it);
}

ViewFont readFont(Reader &r)
{
    const Record &rec = r.next(8);
    ViewFont f;
    f.bold = wordBool(Reader::valueOf(rec));
    f.charset = itemInteger(rec[1]);
    f.italic = itemBool(rec[2]);
    f.name = rec[3].text;
    f.size = itemNumber(rec[4]);
    f.strikethrough = itemBool(rec[5]);
    f.underline = itemBool(rec[6]);
    f.weight = itemInteger(rec[7]);
    // What the font objects would refuse, refused before anything is applied (a size is kept
    // to four decimals, so one that rounds to 0 is refused too).
    if (f.name.trimmed().isEmpty() || !(std::round(f.size * 10000) > 0 && f.size <= 2048)
        || f.charset < 0 || f.charset > 255 || f.weight < 0 || f.weight > 1000)
        fail("Invalid property value");
    return f;
}

// A list of a dimension block: its count line, then one line per item.
QStringList readList(Reader &r)
{
    const int count = toLong(r.value());
    if (count < 0)
        fail("Subscript out of range");
    QStringList list;
    for (int j = 0; j < count; ++j)
        list << r.value();
    return list;
}

} // namespace

QByteArray viewFileText(const ViewFile &v)
{
    Writer w;
    w.line(key("FormEnabled="), v.FormEnabled);
    w.line(key("FormPosition="), v.Left ? rt::numberText(*v.Left) : QString(),
           {item(v.Top), item(v.Width), item(v.Height)});
    w.line(key("LanguageID="), v.LanguageID);
    w.line(key("OpenServer="), v.openParams.OpenServer);
    w.line(key("OpenDb="), v.openParams.OpenDB);
    w.line(key("OpenCube="), v.openParams.openCube);
    w.line(key("OpenFile="), v.openParams.OpenFile);
    w.line(key("OpenWWWDir="), v.openParams.OpenWWWDir);
    w.line(key("MDX="), v.currentMDX);
    w.line(key("Title="), v.Title);
    w.line(key("NumDims="), int(v.orderDim.size()));
    for (qsizetype i = 0; i < v.orderDim.size(); ++i) {
        const OrderDim &d = v.orderDim[i];
        w.line(QStringLiteral("orderDim(%1)=").arg(i), QString::number(d.jerarquia),
               {item(d.jerarquiaSalto), item(d.lugar), item(d.nombre), item(d.opcionCampo),
                item(d.opcionTipo), item(d.opcionTipoReg), item(d.opcionValor), item(d.orden),
                item(d.ordenTipo), item(d.profundidad), item(d.tipo), item(d.vacio)});
        const struct
        {
            const char *count;
            const char *each;
            const QStringList &list;
        } lists[] = {{"orderFieldNum=", "orderField(%1)=", d.ordenCampos},
                     {"keyFatherNum=", "keyFather(%1)=", d.padreLlave},
                     {"fatherTextNum=", "fatherText(%1)=", d.padreTexto}};
        for (const auto &l : lists) {
            w.line(key(l.count), int(l.list.size()));
            for (qsizetype j = 0; j < l.list.size(); ++j)
                w.line(key(l.each).arg(j + 1), l.list[j]);
        }
    }
    const DisplayFlags &f = v.displayFlags;
    w.line(key("VisibleTitle="), rt::boolWord(f.VisibleTitle), {item(v.paneValues[0])});
    w.line(key("VisibleHeading="), rt::boolWord(f.VisibleHeading), {item(v.paneValues[1])});
    w.line(key("VisibleMatrix="), rt::boolWord(f.VisibleMatrix), {item(v.paneValues[2])});
    w.line(key("VisibleChart="), rt::boolWord(f.VisibleChart), {item(v.paneValues[3])});
    w.line(key("VisibleChart2d="), v.VisibleChart2d);
    w.line(key("VisibleChart3d="), v.VisibleChart3d);
    w.line(key("VisibleToolBar="), f.VisibleToolBar);
    for (size_t b = 0; b < viewFileButtons.size(); ++b)
        w.line(key(buttonKeys[b]), v.buttons[b]);
    for (size_t k = 0; k < v.fonts.size(); ++k)
        writeFont(w, key(fontKeys[k]), v.fonts[k]);
    const GridFormat &g = v.gridFormat;
    const ValueFormat &vf = v.valueFormat;
    w.line(key("DataFormat="), g.DataFormat);
    w.line(key("Interactive="), v.Interactive);
    w.line(key("BackColor="), g.BackColor);
    w.line(key("BackColorData="), g.BackColorData);
    w.line(key("BackColorSubtotal="), g.BackColorSubtotal);
    w.line(key("BackColorDataSubtotal="), g.BackColorDataSubtotal);
    w.line(key("ForeColor="), g.ForeColor);
    w.line(key("ForeColorData="), g.ForeColorData);
    w.line(key("ForeColorSubtotal="), g.ForeColorSubtotal);
    w.line(key("ForeColorDataSubtotal="), g.ForeColorDataSubtotal);
    w.line(key("GridColor="), g.GridColor);
    w.line(key("GridColorData="), g.GridColorData);
    w.line(key("GridLinesData="), g.GridLinesData);
    w.line(key("GridLines="), g.GridLines);
    w.line(key("GridLinesWidth="), g.GridLinesWidth);
    w.line(key("FormatSubtotal="), g.FormatSubtotal);
    w.line(key("FormatSubtotalLevel="), g.FormatSubtotalLevel);
    w.line(key("ValueType="), vf.ValueType);
    w.line(key("SemaphoreMinValue="), vf.SemaphoreMinValue);
    w.line(key("SemaphoreMaxValue="), vf.SemaphoreMaxValue);
    w.line(key("ThresholdMinBackColor="), vf.ThresholdMinBackColor);
    w.line(key("ThresholdMedBackColor="), vf.ThresholdMedBackColor);
    w.line(key("ThresholdMaxBackColor="), vf.ThresholdMaxBackColor);
    w.line(key("ThresholdMinForeColor="), vf.ThresholdMinForeColor);
    w.line(key("ThresholdMedForeColor="), vf.ThresholdMedForeColor);
    w.line(key("ThresholdMaxForeColor="), vf.ThresholdMaxForeColor);
    w.line(key("ActThresholdMinBackColor="), vf.ActThresholdMinBackColor);
    w.line(key("ActThresholdMedBackColor="), vf.ActThresholdMedBackColor);
    w.line(key("ActThresholdMaxBackColor="), vf.ActThresholdMaxBackColor);
    w.line(key("ActThresholdMinForeColor="), vf.ActThresholdMinForeColor);
    w.line(key("ActThresholdMedForeColor="), vf.ActThresholdMedForeColor);
    w.line(key("ActThresholdMaxForeColor="), vf.ActThresholdMaxForeColor);
    w.line(key("Appearance="), g.Appearance);
    w.line(key("GridLinesData="), g.GridLinesData);
    w.line(key("GridLines="), g.GridLines);
    w.line(key("GridLinesWidth="), g.GridLinesWidth);
    return w.text().toUtf8();
}

QString decodeViewFileText(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError()) {
        if (text.startsWith(QChar(0xFEFF)))
            text.remove(0, 1);
        return text;
    }
    // Windows-1252: Latin-1 but for 0x80..0x9F (the five unassigned bytes kept as they are).
    static const char16_t high[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    text.clear();
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        text += (b >= 0x80 && b < 0xA0) ? QChar(high[b - 0x80]) : QChar(b);
    }
    return text;
}

ViewFile parseViewFile(const QByteArray &bytes)
{
    Reader r(records(decodeViewFileText(bytes)));
    ViewFile v;
    v.FormEnabled = wordBool(r.value());
    {
        const Record &rec = r.next(4);
        const QString left = Reader::valueOf(rec);
        v.Left =
            left.trimmed().isEmpty() ? std::nullopt : std::optional<double>(eitherSeparator(left));
        v.Top = itemPosition(rec[1]);
        v.Width = itemPosition(rec[2]);
        v.Height = itemPosition(rec[3]);
        if (v.Height)
            v.Height = rt::toLong(*v.Height);
        // The container refuses a negative size: refused here, before anything is applied.
        if ((v.Width && *v.Width < 0) || (v.Height && *v.Height < 0))
            fail("Invalid property value");
    }
    v.LanguageID = toLong(r.value());
    v.openParams.OpenServer = r.value();
    v.openParams.OpenDB = r.value();
    v.openParams.openCube = r.value();
    v.openParams.OpenFile = r.value();
    v.openParams.OpenWWWDir = r.value();
    v.currentMDX = r.value();
    v.Title = r.value();
    const int numDims = toLong(r.value());
    if (numDims < 0 || numDims > orderDimCapacity)
        fail("Subscript out of range");
    for (int i = 0; i < numDims; ++i) {
        const Record &rec = r.next(13);
        OrderDim d;
        d.jerarquia = toLong(Reader::valueOf(rec));
        d.jerarquiaSalto = itemLong(rec[1]);
        d.lugar = itemLong(rec[2]);
        d.nombre = rec[3].text;
        d.opcionCampo = rec[4].text;
        d.opcionTipo = itemLong(rec[5]);
        d.opcionTipoReg = itemLong(rec[6]);
        d.opcionValor = itemLong(rec[7]);
        d.orden = itemLong(rec[8]);
        d.ordenTipo = itemLong(rec[9]);
        d.profundidad = itemLong(rec[10]);
        d.tipo = itemLong(rec[11]);
        d.vacio = itemBool(rec[12]);
        d.ordenCampos = readList(r);
        d.padreLlave = readList(r);
        d.padreTexto = readList(r);
        v.orderDim << d;
    }
    DisplayFlags &f = v.displayFlags;
    bool *const paneFlags[] = {&f.VisibleTitle, &f.VisibleHeading, &f.VisibleMatrix,
                               &f.VisibleChart};
    for (int k = 0; k < 4; ++k) {
        const Record &rec = r.next(2);
        *paneFlags[k] = wordBool(Reader::valueOf(rec));
        v.paneValues[k] = itemLong(rec[1]);
    }
    v.VisibleChart2d = wordBool(r.value());
    v.VisibleChart3d = wordBool(r.value());
    f.VisibleToolBar = wordBool(r.value());
    for (bool &button : v.buttons)
        button = wordBool(r.value());
    for (ViewFont &font : v.fonts)
        font = readFont(r);
    GridFormat &g = v.gridFormat;
    ValueFormat &vf = v.valueFormat;
    g.DataFormat = r.value();
    v.Interactive = strictBool(r.value());
    for (int *colour :
         {&g.BackColor, &g.BackColorData, &g.BackColorSubtotal, &g.BackColorDataSubtotal,
          &g.ForeColor, &g.ForeColorData, &g.ForeColorSubtotal, &g.ForeColorDataSubtotal,
          &g.GridColor, &g.GridColorData})
        *colour = toLong(r.value());
    g.GridLinesData = toLong(r.value());
    g.GridLines = toLong(r.value());
    g.GridLinesWidth = toInteger(r.value());
    g.FormatSubtotal = wordBool(r.value());
    g.FormatSubtotalLevel = toInteger(r.value());
    vf.ValueType = toLong(r.value());
    vf.SemaphoreMinValue = eitherSeparator(r.value());
    vf.SemaphoreMaxValue = eitherSeparator(r.value());
    for (int *colour :
         {&vf.ThresholdMinBackColor, &vf.ThresholdMedBackColor, &vf.ThresholdMaxBackColor,
          &vf.ThresholdMinForeColor, &vf.ThresholdMedForeColor, &vf.ThresholdMaxForeColor})
        *colour = toLong(r.value());
    for (bool *flag :
         {&vf.ActThresholdMinBackColor, &vf.ActThresholdMedBackColor, &vf.ActThresholdMaxBackColor,
          &vf.ActThresholdMinForeColor, &vf.ActThresholdMedForeColor, &vf.ActThresholdMaxForeColor})
        *flag = wordBool(r.value());
    g.Appearance = toLong(r.value());
    // What the grids would refuse when the look is applied, refused before anything is.
    if (!platform::grid::isGridLineStyle(g.GridLinesData)
        || !platform::grid::isGridLineStyle(g.GridLines) || g.Appearance < pelmoraFlat
        || g.Appearance > pelmora3DLight)
        fail("Invalid property value");
    // The three lines after it repeat the grid lines and are not needed.
    return v;
}

QString firstDotFileName(const QString &fileName, const QString &extension)
{
    const qsizetype dot = fileName.indexOf(QLatin1Char('.'));
    return dot < 0 ? fileName + extension : fileName.left(dot) + extension;
}

} // namespace pelmora
