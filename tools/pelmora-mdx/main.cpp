// pelmora-mdx: runs an MDX statement on a cube file or server and prints the cell set.

#include "platform/olap/Cellset.h"
#include "platform/olap/Connection.h"
#include "platform/olap/local/LocalProvider.h"
#include "platform/runtime/Error.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>
#include <QTextStream>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <exception>
#include <new>
#include <vector>

using namespace platform::olap;

namespace {

const char usage[] =
    "usage: pelmora-mdx [--json] [--time] [--cell-limit N] [--threads N] FILE-or-SERVER "
    "STATEMENT\n"
    "  prints the cell set as a table; --json as {\"axes\": [...], \"cells\": [...]};\n"
    "  --time the elapsed time (on standard error with --json); --cell-limit the most cells\n"
    "  a result may have (10000000); --threads the threads of a cube file's engine (0: one\n"
    "  per core, 1: none); a STATEMENT of - is read from standard input\n";

struct Options
{
    bool json = false;
    bool time = false;
    qint64 cellLimit = -1;
    int threads = -1;
    QString source;
    QString statement;
};

struct UsageError
{
    QString message;
};

QString jsonString(const QString &text)
{
    QString out = QStringLiteral("\"");
    for (QChar c : text) {
        switch (c.unicode()) {
        case '"':
            out += QStringLiteral("\\\"");
            break;
        case '\\':
            out += QStringLiteral("\\\\");
            break;
        case '\n':
            out += QStringLiteral("\\n");
            break;
        case '\r':
            out += QStringLiteral("\\r");
            break;
        case '\t':
            out += QStringLiteral("\\t");
            break;
        default:
            if (c.unicode() < 0x20)
                out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    return out + QLatin1Char('"');
}

// The shortest text that reads back as the same double.
QString jsonNumber(double value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, int(result.ptr - buffer));
}

QString jsonValue(const QVariant &value)
{
    if (!value.isValid())
        return QStringLiteral("null");
    if (value.typeId() == QMetaType::Double) {
        const double d = value.toDouble();
        if (!std::isfinite(d)) // JSON has no infinities: their text
            return jsonString(
                std::isnan(d) ? QStringLiteral("NaN")
                              : (d > 0 ? QStringLiteral("Infinity") : QStringLiteral("-Infinity")));
        return jsonNumber(d);
    }
    if (value.typeId() == QMetaType::Bool)
        return jsonString(value.toBool() ? QStringLiteral("true") : QStringLiteral("false"));
    return jsonString(value.toString());
}

QString json(const Cellset &cellset)
{
    QString out = QStringLiteral("{\"axes\": [");
    const CellsetAxes axes = cellset.axes();
    for (int a = 0; a < axes.count(); ++a) {
        if (a > 0)
            out += QStringLiteral(", ");
        out += QLatin1Char('[');
        const Positions positions = axes.item(a).positions();
        for (int p = 0; p < positions.count(); ++p) {
            if (p > 0)
                out += QStringLiteral(", ");
            out += QLatin1Char('[');
            const PositionMembers members = positions.item(p).members();
            for (int m = 0; m < members.count(); ++m) {
                if (m > 0)
                    out += QStringLiteral(", ");
                out += jsonString(members.item(m).uniqueName());
            }
            out += QLatin1Char(']');
        }
        out += QLatin1Char(']');
    }
    out += QStringLiteral("], \"cells\": [");
    for (qint64 c = 0; c < cellset.cellCount(); ++c) {
        const Cell cell = cellset.item(c);
        if (c > 0)
            out += QStringLiteral(", ");
        out += QStringLiteral("{\"ordinal\": %1, \"value\": %2, \"formatted\": %3}")
                   .arg(c)
                   .arg(jsonValue(cell.value()), jsonString(cell.formattedValue()));
    }
    out += QStringLiteral("]}");
    return out;
}

QString captions(const PositionMembers &members)
{
    QStringList parts;
    for (int m = 0; m < members.count(); ++m)
        parts.append(members.item(m).caption());
    return parts.join(QStringLiteral(", "));
}

// One grid of text: the header rows and columns, then the cells right-aligned.
QString grid(const std::vector<std::vector<QString>> &rows, int headerColumns)
{
    std::vector<qsizetype> widths;
    for (const auto &row : rows) {
        widths.resize(std::max(widths.size(), row.size()), 0);
        for (std::size_t c = 0; c < row.size(); ++c)
            widths[c] = std::max(widths[c], row[c].size());
    }
    QString out;
    for (const auto &row : rows) {
        QString line;
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (c > 0)
                line += QStringLiteral("  ");
            line += int(c) < headerColumns ? row[c].leftJustified(widths[c])
                                           : row[c].rightJustified(widths[c]);
        }
        out += line.trimmed().isEmpty() ? QString() : line;
        while (out.endsWith(QLatin1Char(' ')))
            out.chop(1);
        out += QLatin1Char('\n');
    }
    return out;
}

QString table(const Cellset &cellset)
{
    QString out;
    const Positions slicer = cellset.filterAxis().positions();
    if (slicer.count() == 1 && slicer.item(0).members().count() > 0)
        out += QStringLiteral("slicer: %1\n").arg(captions(slicer.item(0).members()));
    const CellsetAxes axes = cellset.axes();
    if (axes.count() == 0) {
        out += cellset.item(0).formattedValue() + QLatin1Char('\n');
        return out;
    }
    const CellsetAxis columns = axes.item(0);
    const int columnCount = columns.positions().count();
    const int columnDims = columns.dimensionCount();
    const bool hasRows = axes.count() > 1;
    const int rowCount = hasRows ? axes.item(1).positions().count() : 1;
    const int rowDims = hasRows ? axes.item(1).dimensionCount() : 0;
    // Every combination of the later axes' positions is a page.
    qint64 pages = 1;
    for (int a = 2; a < axes.count(); ++a)
        pages *= axes.item(a).positions().count();
    std::vector<int> index(std::size_t(axes.count()), 0);
    for (qint64 page = 0; page < pages; ++page) {
        if (axes.count() > 2) {
            QStringList names;
            for (int a = 2; a < axes.count(); ++a)
                names.append(
                    captions(axes.item(a).positions().item(index[std::size_t(a)]).members()));
            out += QStringLiteral("page: %1\n").arg(names.join(QStringLiteral("; ")));
        }
        std::vector<std::vector<QString>> rows;
        for (int d = 0; d < columnDims; ++d) {
            std::vector<QString> row(static_cast<std::size_t>(rowDims));
            for (int c = 0; c < columnCount; ++c)
                row.push_back(columns.positions().item(c).members().item(d).caption());
            rows.push_back(std::move(row));
        }
        for (int r = 0; r < rowCount; ++r) {
            std::vector<QString> row;
            if (hasRows) {
                const PositionMembers members = axes.item(1).positions().item(r).members();
                for (int d = 0; d < rowDims; ++d)
                    row.push_back(members.item(d).caption());
                index[1] = r;
            }
            for (int c = 0; c < columnCount; ++c) {
                index[0] = c;
                row.push_back(cellset.item(std::span<const int>(index)).formattedValue());
            }
            rows.push_back(std::move(row));
        }
        out += grid(rows, rowDims);
        for (int a = 2; a < axes.count(); ++a) {
            if (++index[std::size_t(a)] < axes.item(a).positions().count())
                break;
            index[std::size_t(a)] = 0;
        }
    }
    return out;
}

Options parse(const QStringList &args)
{
    Options o;
    QStringList rest;
    for (int i = 1; i < args.size(); ++i) {
        const QString &a = args[i];
        const auto value = [&]() {
            if (i + 1 >= args.size())
                throw UsageError{QStringLiteral("%1 needs a value").arg(a)};
            return args[++i];
        };
        const auto number = [&](const QString &text) {
            bool ok = false;
            const qint64 n = text.toLongLong(&ok);
            if (!ok || n < 0)
                throw UsageError{
                    QStringLiteral("%1 needs a whole number, not \"%2\"").arg(a, text)};
            return n;
        };
        if (a == QLatin1String("--json"))
            o.json = true;
        else if (a == QLatin1String("--time"))
            o.time = true;
        else if (a == QLatin1String("--cell-limit"))
            o.cellLimit = number(value());
        else if (a == QLatin1String("--threads"))
            o.threads = int(std::min<qint64>(number(value()), 256));
        else if (a == QLatin1String("--help") || a == QLatin1String("-h"))
            throw UsageError{};
        else if (a.startsWith(QLatin1String("--")))
            throw UsageError{QStringLiteral("unknown option %1").arg(a)};
        else
            rest.append(a);
    }
    if (rest.size() != 2)
        throw UsageError{QStringLiteral("give a cube file or server and one statement")};
    o.source = rest[0];
    o.statement = rest[1];
    if (o.statement == QLatin1String("-")) {
        // A statement longer than the system's argument limit comes this way.
        QFile in;
        if (!in.open(stdin, QIODevice::ReadOnly))
            throw UsageError{QStringLiteral("cannot read the statement from standard input")};
        o.statement = QString::fromUtf8(in.readAll());
        if (o.statement.trimmed().isEmpty())
            throw UsageError{QStringLiteral("standard input holds no statement")};
    }
    return o;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    Options options;
    try {
        options = parse(app.arguments());
    } catch (const UsageError &e) {
        if (!e.message.isEmpty())
            err << "pelmora-mdx: " << e.message << '\n';
        err << usage;
        return 2;
    }
    // Every failure ends with its description, in the form the output has.
    const auto fail = [&](const QString &description) {
        if (options.json)
            out << QStringLiteral("{\"error\": %1}\n").arg(jsonString(description));
        else
            err << "pelmora-mdx: " << description << '\n';
        return 1;
    };
    try {
        Connection connection;
        connection.open(QStringLiteral("Data source=") + options.source
                        + QStringLiteral(";Provider=MSOLAP"));
        if (auto *local = dynamic_cast<local::LocalProvider *>(connection.provider().get())) {
            local::EngineOptions engine = local->engine().options();
            if (options.cellLimit >= 0)
                engine.cellLimit = options.cellLimit;
            if (options.threads >= 0)
                engine.threads = options.threads;
            local->engine().setOptions(engine);
        }
        QElapsedTimer timer;
        timer.start();
        Cellset cellset;
        cellset.open(options.statement, connection);
        const double elapsed = double(timer.nsecsElapsed()) / 1e6;
        if (options.json) {
            out << json(cellset) << '\n';
            if (options.time)
                err << QStringLiteral("elapsed: %1 ms\n").arg(elapsed, 0, 'f', 2);
        } else {
            out << table(cellset);
            if (options.time)
                out << QStringLiteral("elapsed: %1 ms\n").arg(elapsed, 0, 'f', 2);
        }
        return 0;
    } catch (const platform::Error &e) {
        return fail(e.description());
    } catch (const std::bad_alloc &) {
        return fail(QStringLiteral("out of memory"));
    } catch (const std::exception &e) {
        return fail(QString::fromLocal8Bit(e.what()));
    }
}
