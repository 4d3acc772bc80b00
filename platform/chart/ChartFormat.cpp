#include "platform/chart/ChartFormat.h"

#include "platform/runtime/Error.h"

#include <QFile>
#include <QHash>
#include <QSaveFile>
#include <QStringDecoder>

#include <cmath>
#include <limits>

namespace platform::chart {

namespace {

const char Kind2D[] = "PELMORA CHART2D 1";
const char Kind3D[] = "PELMORA CHART3D 1";
constexpr qint64 MaxFileSize = 512LL * 1024 * 1024;
constexpr int MaxLabels = 10'000'000;

// Any fault of a file being read.
struct Corrupt
{
};

qint32 int32Of(qint64 value)
{
    if (value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max())
        throw Corrupt{};
    return qint32(value);
}

qint16 int16Of(qint64 value)
{
    if (value < std::numeric_limits<qint16>::min() || value > std::numeric_limits<qint16>::max())
        throw Corrupt{};
    return qint16(value);
}

int countOf(qint64 value, qint64 most)
{
    if (value < 0 || value > most)
        throw Corrupt{};
    return int(value);
}

QString realText(double value)
{
    if (std::isnan(value))
        return QStringLiteral("nan");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("inf") : QStringLiteral("-inf");
    return QString::number(value, 'g', 17);
}

double realOf(QStringView text)
{
    if (text == u"nan")
        return std::numeric_limits<double>::quiet_NaN();
    if (text == u"inf")
        return std::numeric_limits<double>::infinity();
    if (text == u"-inf")
        return -std::numeric_limits<double>::infinity();
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || text.isEmpty() || text.front().isSpace() || text.back().isSpace())
        throw Corrupt{};
    return value;
}

QString quote(const QString &text)
{
    QString out;
    out.reserve(text.size() + 2);
    out += QLatin1Char('"');
    for (QChar c : text) {
        switch (c.unicode()) {
        case '\\':
            out += QLatin1String("\\\\");
            break;
        case '"':
            out += QLatin1String("\\\"");
            break;
        case '\n':
            out += QLatin1String("\\n");
            break;
        case '\r':
            out += QLatin1String("\\r");
            break;
        case '\t':
            out += QLatin1String("\\t");
            break;
        default:
            out += c;
            break;
        }
    }
    out += QLatin1Char('"');
    return out;
}

QString unquote(const QString &text)
{
    if (text.size() < 2 || !text.startsWith(QLatin1Char('"')) || !text.endsWith(QLatin1Char('"')))
        throw Corrupt{};
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 1; i < text.size() - 1; ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('"'))
            throw Corrupt{}; // an unescaped quote inside
        if (c != QLatin1Char('\\')) {
            out += c;
            continue;
        }
        if (++i >= text.size() - 1)
            throw Corrupt{};
        switch (text[i].unicode()) {
        case '\\':
            out += QLatin1Char('\\');
            break;
        case '"':
            out += QLatin1Char('"');
            break;
        case 'n':
            out += QLatin1Char('\n');
            break;
        case 'r':
            out += QLatin1Char('\r');
            break;
        case 't':
            out += QLatin1Char('\t');
            break;
        default:
            throw Corrupt{};
        }
    }
    return out;
}

class Writer
{
public:
    static constexpr bool writing = true;

    explicit Writer(const char *kind)
    {
        m_out = kind;
        m_out += '\n';
    }

    template <typename F>
    void boolean(const QString &key, bool value, F &&)
    {
        put(key, value ? QStringLiteral("true") : QStringLiteral("false"));
    }
    template <typename F>
    void integer(const QString &key, qint64 value, F &&)
    {
        put(key, QString::number(value));
    }
    template <typename F>
    void real(const QString &key, double value, F &&)
    {
        put(key, realText(value));
    }
    template <typename F>
    void text(const QString &key, const QString &value, F &&)
    {
        put(key, quote(value));
    }
    // A row of values; `value(i)` gives value i (0-based) of `count`.
    template <typename G, typename F>
    void reals(const QString &key, int count, G &&value, F &&)
    {
        QString line;
        for (int i = 0; i < count; ++i) {
            if (i)
                line += QLatin1Char(' ');
            line += realText(value(i));
        }
        put(key, line);
    }

    bool has(const QString &) const { return true; }

    QByteArray finish()
    {
        m_out += "END\n";
        return m_out;
    }

private:
    void put(const QString &key, const QString &value)
    {
        m_out += key.toUtf8();
        m_out += '=';
        m_out += value.toUtf8();
        m_out += '\n';
    }

    QByteArray m_out;
};

class Reader
{
public:
    static constexpr bool writing = false;

    // Splits the text into its settings; false when it is not a whole file of this kind.
    bool load(const QByteArray &bytes, const char *kind)
    {
        QStringDecoder decoder(QStringDecoder::Utf8);
        const QString text = decoder(bytes);
        if (decoder.hasError())
            return false;
        const QList<QStringView> lines = QStringView(text).split(u'\n');
        if (lines.isEmpty() || stripped(lines.front()) != QLatin1String(kind))
            return false;
        bool ended = false;
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const QStringView line = stripped(lines[i]);
            if (ended) {
                if (!line.trimmed().isEmpty())
                    return false;
                continue;
            }
            if (line == u"END") {
                ended = true;
                continue;
            }
            const qsizetype equals = line.indexOf(u'=');
            if (equals <= 0)
                return false;
            const QString key = line.left(equals).toString();
            if (m_values.contains(key))
                return false;
            m_values.insert(key, line.mid(equals + 1).toString());
        }
        return ended;
    }

    bool allTaken() const { return m_taken == m_values.size(); }
    bool has(const QString &key) const { return m_values.contains(key); }

    template <typename F>
    void boolean(const QString &key, bool, F &&set)
    {
        const QString value = take(key);
        if (value == QLatin1String("true"))
            set(true);
        else if (value == QLatin1String("false"))
            set(false);
        else
            throw Corrupt{};
    }
    template <typename F>
    void integer(const QString &key, qint64, F &&set)
    {
        const QString value = take(key);
        bool ok = false;
        const qint64 number = value.toLongLong(&ok, 10);
        if (!ok || value.trimmed() != value)
            throw Corrupt{};
        set(number);
    }
    template <typename F>
    void real(const QString &key, double, F &&set)
    {
        set(realOf(take(key)));
    }
    template <typename F>
    void text(const QString &key, const QString &, F &&set)
    {
        set(unquote(take(key)));
    }
    template <typename G, typename F>
    void reals(const QString &key, int count, G &&, F &&set)
    {
        const QString value = take(key);
        const QList<QStringView> parts =
            count ? QStringView(value).split(u' ') : QList<QStringView>();
        if (parts.size() != count || (count == 0 && !value.isEmpty()))
            throw Corrupt{};
        for (int i = 0; i < count; ++i)
            set(i, realOf(parts[i]));
    }

private:
    static QStringView stripped(QStringView line)
    {
        return line.endsWith(u'\r') ? line.chopped(1) : line;
    }

    QString take(const QString &key)
    {
        const auto found = m_values.constFind(key);
        if (found == m_values.constEnd())
            throw Corrupt{};
        ++m_taken;
        return found.value();
    }

    QHash<QString, QString> m_values;
    qsizetype m_taken = 0;
};

// What the 2-D and 3-D models hold, in file order. With a Writer the setters are never called,
// so the model is only read; with a Reader every value goes through its setter.

template <typename Io>
void exchange(Io &io, const QString &p, Font &f)
{
    io.text(p + "Name", f.name(), [&](const QString &v) { f.setName(v); });
    io.real(p + "Size", f.size(), [&](double v) { f.setSize(v); });
    io.boolean(p + "Bold", f.bold(), [&](bool v) { f.setBold(v); });
    io.boolean(p + "Italic", f.italic(), [&](bool v) { f.setItalic(v); });
    io.boolean(p + "Underline", f.underline(), [&](bool v) { f.setUnderline(v); });
    io.boolean(p + "Strikethrough", f.strikethrough(), [&](bool v) { f.setStrikethrough(v); });
    io.integer(p + "Weight", f.weight(), [&](qint64 v) { f.setWeight(int16Of(v)); });
    io.integer(p + "Charset", f.charset(), [&](qint64 v) { f.setCharset(int16Of(v)); });
}

template <typename Io>
void exchange(Io &io, const QString &p, Border &b)
{
    io.integer(p + "BorderType", b.borderType(), [&](qint64 v) { b.setBorderType(int32Of(v)); });
    io.integer(p + "BorderWidth", b.borderWidth(), [&](qint64 v) { b.setBorderWidth(int32Of(v)); });
}

template <typename Io>
void exchange(Io &io, const QString &p, Interior &in)
{
    io.integer(p + "Background", in.background(), [&](qint64 v) { in.setBackground(int32Of(v)); });
    io.integer(p + "Foreground", in.foreground(), [&](qint64 v) { in.setForeground(int32Of(v)); });
    Image &image = in.image();
    io.text(p + "Image.FileName", image.fileName(),
            [&](const QString &v) { image.setFileName(v); });
    io.integer(p + "Image.FileImageLayout", image.fileImageLayout(),
               [&](qint64 v) { image.setFileImageLayout(int32Of(v)); });
}

template <typename Io>
void exchangeBox(Io &io, const QString &p, TextBox &box)
{
    io.boolean(p + "IsShowing", box.isShowing(), [&](bool v) { box.setIsShowing(v); });
    io.text(p + "Text", box.text(), [&](const QString &v) { box.setText(v); });
    exchange(io, p + "Font.", box.font());
    exchange(io, p + "Border.", box.border());
    exchange(io, p + "Interior.", box.interior());
}

template <typename Io>
void exchange(Io &io, const QString &p, Title &t)
{
    exchangeBox(io, p, t);
    io.integer(p + "Alignment", t.alignment(), [&](qint64 v) { t.setAlignment(int32Of(v)); });
}

template <typename Io>
void exchange(Io &io, const QString &p, Legend &l)
{
    exchangeBox(io, p, l);
    io.integer(p + "Orientation", l.orientation(), [&](qint64 v) { l.setOrientation(int32Of(v)); });
    io.integer(p + "Anchor", l.anchor(), [&](qint64 v) { l.setAnchor(int32Of(v)); });
}

template <typename Io>
void exchange(Io &io, const QString &p, Axis &a)
{
    io.boolean(p + "IsShowing", a.isShowing(), [&](bool v) { a.setIsShowing(v); });
    io.boolean(p + "IsReversed", a.isReversed(), [&](bool v) { a.setIsReversed(v); });
    io.boolean(p + "IsLogarithmic", a.isLogarithmic(), [&](bool v) { a.setIsLogarithmic(v); });
    io.boolean(p + "Is100Percente", a.is100Percente(), [&](bool v) { a.setIs100Percente(v); });
    io.text(p + "Title.Text", a.titleText(), [&](const QString &v) { a.setTitleText(v); });
    io.integer(p + "TitleRotation", a.titleRotation(),
               [&](qint64 v) { a.setTitleRotation(int32Of(v)); });
    exchange(io, p + "TitleFont.", a.titleFont());
    io.real(p + "Rotation", a.rotation(), [&](double v) { a.setRotation(v); });
    exchange(io, p + "Font.", a.font());
    io.integer(p + "LabelCategory", a.labelCategory(),
               [&](qint64 v) { a.setLabelCategory(int16Of(v)); });
    io.text(p + "LabelFormat", a.labelFormat(), [&](const QString &v) { a.setLabelFormat(v); });
    io.integer(p + "AnnotationMethod", a.annotationMethod(),
               [&](qint64 v) { a.setAnnotationMethod(int32Of(v)); });
    io.integer(p + "LineStyle", a.lineStyle(), [&](qint64 v) { a.setLineStyle(int32Of(v)); });
    io.integer(p + "LineColor", a.lineColor(), [&](qint64 v) { a.setLineColor(int32Of(v)); });
    io.integer(p + "LineWidth", a.lineWidth(), [&](qint64 v) { a.setLineWidth(int32Of(v)); });
    io.integer(p + "GridStyle", a.gridStyle(), [&](qint64 v) { a.setGridStyle(int32Of(v)); });
    io.integer(p + "GridColor", a.gridColor(), [&](qint64 v) { a.setGridColor(int32Of(v)); });
    io.integer(p + "GridWidth", a.gridWidth(), [&](qint64 v) { a.setGridWidth(int32Of(v)); });
    io.real(p + "Spacing", a.spacing(), [&](double v) { a.setSpacing(v); });
    // A bound first, then whether it is automatic: setting a bound fixes it.
    io.real(p + "Min", a.min(), [&](double v) { a.setMin(v); });
    io.boolean(p + "MinAuto", a.isMinAuto(), [&](bool v) { a.setMinAuto(v); });
    io.real(p + "Max", a.max(), [&](double v) { a.setMax(v); });
    io.boolean(p + "MaxAuto", a.isMaxAuto(), [&](bool v) { a.setMaxAuto(v); });
}

template <typename Io>
void exchange(Io &io, const QString &p, Labels &labels)
{
    int count = labels.count();
    io.integer(p + "Count", count, [&](qint64 v) {
        count = countOf(v, MaxLabels);
        labels.removeAll();
    });
    for (int i = 1; i <= count; ++i) {
        io.text(p + QString::number(i), Io::writing ? labels.item(i) : QString(),
                [&](const QString &v) { labels.add(v); });
    }
}

template <typename Io>
void exchange(Io &io, const QString &p, SeriesStyle &s)
{
    LineStyle &line = s.line();
    io.integer(p + "Line.Pattern", line.pattern(), [&](qint64 v) { line.setPattern(int32Of(v)); });
    io.integer(p + "Line.Color", line.color(), [&](qint64 v) { line.setColor(int32Of(v)); });
    io.integer(p + "Line.Width", line.width(), [&](qint64 v) { line.setWidth(int32Of(v)); });
    FillStyle &fill = s.fill();
    io.integer(p + "Fill.Pattern", fill.pattern(), [&](qint64 v) { fill.setPattern(int32Of(v)); });
    exchange(io, p + "Fill.Interior.", fill.interior());
    SymbolStyle &symbol = s.symbol();
    io.integer(p + "Symbol.Shape", symbol.shape(), [&](qint64 v) { symbol.setShape(int32Of(v)); });
    io.integer(p + "Symbol.Color", symbol.color(), [&](qint64 v) { symbol.setColor(int32Of(v)); });
    io.integer(p + "Symbol.Size", symbol.size(), [&](qint64 v) { symbol.setSize(int32Of(v)); });
}

template <typename Io>
void exchange(Io &io, ChartGroup &g)
{
    const QString p = QStringLiteral("Group.");
    io.integer(p + "ChartType", g.chartType(), [&](qint64 v) { g.setChartType(int32Of(v)); });
    io.boolean(p + "IsStacked", g.isStacked(), [&](bool v) { g.setIsStacked(v); });

    ChartData &data = g.data();
    int series = data.numSeries();
    int points = data.numPoints();
    io.integer(p + "Data.NumSeries", series,
               [&](qint64 v) { series = countOf(v, ChartData::MaxValues); });
    io.integer(p + "Data.NumPoints", points, [&](qint64 v) {
        points = countOf(v, ChartData::MaxValues);
        // A count the file has no rows for is refused before the values are made room for.
        if (series > 0 && !io.has(p + "Data.Values." + QString::number(series)))
            throw Corrupt{};
        data.setSize(series, points);
    });
    for (int s = 1; s <= series; ++s) {
        io.reals(
            p + "Data.Values." + QString::number(s), points,
            [&](int i) { return data.value(s, i + 1); },
            [&](int i, double v) { data.setValue(s, i + 1, v); });
    }
    exchange(io, p + "PointLabels.", g.pointLabels());
    exchange(io, p + "SeriesLabels.", g.seriesLabels());

    SeriesStyles &styles = g.styles();
    int count = styles.count();
    io.integer(p + "Styles.Count", count, [&](qint64 v) {
        count = countOf(v, SeriesStyles::MaxStyles);
        styles.resize(count);
    });
    for (int s = 1; s <= count; ++s)
        exchange(io, p + "Styles." + QString::number(s) + ".", styles.item(s));
}

template <typename Io>
void exchange(Io &io, Chart2DModel &m)
{
    exchange(io, QStringLiteral("Header."), m.header);
    exchange(io, QStringLiteral("Footer."), m.footer);
    exchange(io, QStringLiteral("Legend."), m.legend);
    exchange(io, QStringLiteral("Border."), m.border);
    exchange(io, QStringLiteral("Interior."), m.interior);
    ChartArea &area = m.chartArea;
    io.boolean(QStringLiteral("Area.IsHorizontal"), area.isHorizontal(),
               [&](bool v) { area.setIsHorizontal(v); });
    exchange(io, QStringLiteral("Area.Border."), area.border());
    io.boolean(QStringLiteral("Area.IsBoxed"), area.areaBox().isBoxed(),
               [&](bool v) { area.areaBox().setIsBoxed(v); });
    Effect3D &effect = area.effect3D();
    io.integer(QStringLiteral("Area.Effect3D.Shading"), effect.shading(),
               [&](qint64 v) { effect.setShading(int16Of(v)); });
    io.integer(QStringLiteral("Area.Effect3D.Depth"), effect.depth(),
               [&](qint64 v) { effect.setDepth(int32Of(v)); });
    io.integer(QStringLiteral("Area.Effect3D.Elevation"), effect.elevation(),
               [&](qint64 v) { effect.setElevation(int32Of(v)); });
    io.integer(QStringLiteral("Area.Effect3D.Rotation"), effect.rotation(),
               [&](qint64 v) { effect.setRotation(int32Of(v)); });
    exchange(io, QStringLiteral("Area.X."), area.axes().x());
    exchange(io, QStringLiteral("Area.Y."), area.axes().y());
    exchange(io, m.group());
}

template <typename Io>
void exchange(Io &io, Chart3DModel &m)
{
    io.boolean(QStringLiteral("Header.IsShowing"), m.header.isShowing(),
               [&](bool v) { m.header.setIsShowing(v); });
    io.text(QStringLiteral("Header.Text"), m.header.text(),
            [&](const QString &v) { m.header.setText(v); });
    exchange(io, QStringLiteral("Header.Font."), m.header.font());
    View3D &view = m.view;
    io.boolean(QStringLiteral("View.IsInteractive"), view.isInteractive(),
               [&](bool v) { view.setIsInteractive(v); });
    io.integer(QStringLiteral("View.SelectionMode"), view.selectionMode(),
               [&](qint64 v) { view.setSelectionMode(int32Of(v)); });
    io.integer(QStringLiteral("View.ColorStyle"), view.colorStyle(),
               [&](qint64 v) { view.setColorStyle(int32Of(v)); });
    for (int i = 1; i <= 2; ++i) {
        Axis3D &axis = m.chartArea.axes().item(i);
        const QString p = i == 1 ? QStringLiteral("Area.X.") : QStringLiteral("Area.Y.");
        io.text(p + "Title.Text", axis.titleText(),
                [&](const QString &v) { axis.setTitleText(v); });
        io.integer(p + "AnnotationMethod", axis.annotationMethod(),
                   [&](qint64 v) { axis.setAnnotationMethod(int32Of(v)); });
    }
    ChartGroup3D &g = m.group();
    io.integer(QStringLiteral("Group.ChartType"), g.chartType(),
               [&](qint64 v) { g.setChartType(int32Of(v)); });
    for (int i = 1; i <= 2; ++i) {
        Style3D &style = g.styles().item(i);
        const QString p = QStringLiteral("Group.Styles.%1.").arg(i);
        io.boolean(p + "IsFilled", style.isFilled(), [&](bool v) { style.setIsFilled(v); });
        io.boolean(p + "IsMeshed", style.isMeshed(), [&](bool v) { style.setIsMeshed(v); });
        io.integer(p + "Shading", style.shading(), [&](qint64 v) { style.setShading(int32Of(v)); });
    }
    ElevationData &data = g.elevation();
    int rows = data.rowCount();
    int columns = data.columnCount();
    io.integer(QStringLiteral("Group.Elevation.RowCount"), rows,
               [&](qint64 v) { rows = countOf(v, ElevationData::MaxValues); });
    io.integer(QStringLiteral("Group.Elevation.ColumnCount"), columns, [&](qint64 v) {
        columns = countOf(v, ElevationData::MaxValues);
        if (rows > 0 && !io.has(QStringLiteral("Group.Elevation.Values.%1").arg(rows)))
            throw Corrupt{};
        data.setRowCount(0);
        data.setColumnCount(columns);
        data.setRowCount(rows);
    });
    for (int r = 1; r <= rows; ++r) {
        io.reals(
            QStringLiteral("Group.Elevation.Values.%1").arg(r), columns,
            [&](int i) { return data.value(r, i + 1); },
            [&](int i, double v) { data.setValue(r, i + 1, v); });
    }
    exchange(io, QStringLiteral("Group.Elevation.RowLabels."), data.rowLabels());
    exchange(io, QStringLiteral("Group.Elevation.ColumnLabels."), data.columnLabels());
}

template <typename Model>
QByteArray textOf(const Model &model, const char *kind)
{
    Writer writer(kind);
    // The writer only reads the model.
    exchange(writer, const_cast<Model &>(model));
    return writer.finish();
}

template <typename Model>
bool parse(const QByteArray &text, Model &model, const char *kind)
{
    Reader reader;
    if (!reader.load(text, kind))
        return false;
    try {
        exchange(reader, model);
    } catch (const Corrupt &) {
        return false;
    } catch (const platform::Error &) {
        return false; // a value its setter refused
    } catch (const std::bad_alloc &) {
        return false;
    }
    return reader.allTaken();
}

} // namespace

QByteArray chart2DFormatText(const Chart2DModel &model)
{
    return textOf(model, Kind2D);
}

QByteArray chart3DFormatText(const Chart3DModel &model)
{
    return textOf(model, Kind3D);
}

bool parseChart2DFormat(const QByteArray &text, Chart2DModel &model)
{
    return parse(text, model, Kind2D);
}

bool parseChart3DFormat(const QByteArray &text, Chart3DModel &model)
{
    return parse(text, model, Kind3D);
}

bool writeChartFormat(const QByteArray &text, const QString &path)
{
    if (path.isEmpty())
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool readChartFormatFile(const QString &path, QByteArray &text)
{
    QFile file(path);
    // Chart files are plain files: no pipes or devices, which could be read without end.
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly) || file.isSequential())
        return false;
    if (file.size() > MaxFileSize)
        return false;
    text = file.readAll();
    return text.size() <= MaxFileSize && file.error() == QFileDevice::NoError;
}

} // namespace platform::chart
