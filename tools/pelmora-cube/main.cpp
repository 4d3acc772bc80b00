// pelmora-cube: makes and inspects cube files.

#include "platform/olap/local/CubeBuilder.h"
#include "platform/olap/local/CubeLoader.h"
#include "platform/runtime/Error.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <QTextStream>

#include <cstdio>

using namespace platform::olap::local;

namespace {

QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

// clang-format off
const char usage[] =
    "usage:\n"
    "  pelmora-cube check FILE.cub\n"
    "  pelmora-cube schema FILE.cub\n"
    "  pelmora-cube build --schema SCHEMA.xml --sql DATA.sql OUT.cub\n"
    "  pelmora-cube build --schema SCHEMA.xml --from EXISTING.sqlite OUT.cub\n"
    "  pelmora-cube sample [--facts N] [--seed S] OUT.cub\n";
// clang-format on

struct UsageError
{
    QString message;
};

QString levelLine(const LevelStore &level)
{
    return QStringLiteral("      level %1: %2 member(s)")
        .arg(level.uniqueName)
        .arg(level.memberCount);
}

void printSummary(const CubeFile &file)
{
    out() << "catalog " << file.schemaName << '\n';
    for (const CubeStore &cube : file.cubes) {
        out() << "cube " << cube.name << '\n';
        for (const DimensionStore &dimension : cube.dimensions) {
            const char *type = dimension.dimensionType == 1   ? "time"
                               : dimension.dimensionType == 2 ? "measures"
                                                              : "standard";
            out() << "  dimension " << dimension.uniqueName << " (" << type << ")\n";
            for (int h = dimension.firstHierarchy;
                 h < dimension.firstHierarchy + dimension.hierarchyCount; ++h) {
                const HierarchyStore &hierarchy = cube.hierarchies[std::size_t(h)];
                out() << "    hierarchy " << hierarchy.uniqueName << '\n';
                for (const LevelStore &level : hierarchy.levels)
                    out() << levelLine(level) << '\n';
            }
        }
        for (const MeasureStore &measure : cube.measures) {
            out() << "  measure " << measure.uniqueName << ": "
                  << aggregatorName(measure.aggregator) << " of "
                  << cube.facts.values[std::size_t(measure.valueColumn)].column;
            if (!measure.formatString.isEmpty())
                out() << ", format \"" << measure.formatString << '"';
            out() << '\n';
        }
        for (const CalculatedMemberStore &member : cube.calculatedMembers)
            out() << "  calculated member " << member.uniqueName << " = " << member.formula << '\n';
        out() << "  facts: " << cube.facts.rowCount << '\n';
        out() << "  facts left out (a foreign key matching no dimension row): "
              << cube.facts.leftOut << '\n';
        out() << "  facts read from: "
              << (cube.facts.fromImage ? "the column image" : "the fact table's rows") << '\n';
        if (!cube.facts.fromImage && !cube.facts.imagePassedOver.isEmpty())
            out() << "  column image passed over: " << cube.facts.imagePassedOver << '\n';
    }
}

std::int64_t number(const QString &option, const QString &text)
{
    bool ok = false;
    const qlonglong value = text.toLongLong(&ok);
    if (!ok || value < 0)
        throw UsageError{
            QStringLiteral("%1 needs a number of 0 or more, not \"%2\"").arg(option, text)};
    return value;
}

int run(const QStringList &args)
{
    if (args.isEmpty())
        throw UsageError{QString()};
    const QString command = args.front();
    QStringList rest = args.mid(1);
    auto value = [&](const QString &option) {
        const qsizetype i = rest.indexOf(option);
        if (i < 0)
            return QString();
        if (i + 1 >= rest.size())
            throw UsageError{QStringLiteral("%1 needs a value").arg(option)};
        const QString v = rest[i + 1];
        rest.remove(i, 2);
        return v;
    };
    auto onlyFile = [&] {
        for (const QString &arg : rest) {
            if (arg.startsWith(QLatin1String("--")))
                throw UsageError{QStringLiteral("unknown option %1").arg(arg)};
        }
        if (rest.size() != 1)
            throw UsageError{QStringLiteral("%1 needs one file").arg(command)};
        return rest.front();
    };

    if (command == QLatin1String("check")) {
        const QString file = onlyFile();
        QElapsedTimer timer;
        timer.start();
        const auto cube = loadCubeFile(file);
        printSummary(*cube);
        out() << "loaded in " << timer.elapsed() << " ms\n";
        return 0;
    }
    if (command == QLatin1String("schema")) {
        out() << readSchemaXml(onlyFile());
        return 0;
    }
    if (command == QLatin1String("build")) {
        const QString schema = value(QStringLiteral("--schema"));
        const QString sql = value(QStringLiteral("--sql"));
        const QString from = value(QStringLiteral("--from"));
        const QString file = onlyFile();
        if (schema.isEmpty())
            throw UsageError{QStringLiteral("build needs --schema")};
        if (sql.isEmpty() == from.isEmpty())
            throw UsageError{QStringLiteral("build needs either --sql or --from")};
        const auto cube = sql.isEmpty() ? buildCubeFromDatabase(schema, from, file)
                                        : buildCubeFromSql(schema, sql, file);
        printSummary(*cube);
        out() << "wrote " << file << '\n';
        return 0;
    }
    if (command == QLatin1String("sample")) {
        const QString facts = value(QStringLiteral("--facts"));
        const QString seed = value(QStringLiteral("--seed"));
        const QString file = onlyFile();
        QElapsedTimer timer;
        timer.start();
        const auto cube = writeSampleCube(
            file, facts.isEmpty() ? defaultSampleFacts : number(QStringLiteral("--facts"), facts),
            seed.isEmpty() ? 1 : std::uint64_t(number(QStringLiteral("--seed"), seed)));
        printSummary(*cube);
        out() << "wrote " << file << " in " << timer.elapsed() << " ms\n";
        return 0;
    }
    throw UsageError{QStringLiteral("unknown command \"%1\"").arg(command)};
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    args.removeFirst();
    try {
        return run(args);
    } catch (const UsageError &e) {
        out().flush();
        if (!e.message.isEmpty())
            std::fprintf(stderr, "pelmora-cube: %s\n", e.message.toLocal8Bit().constData());
        std::fputs(usage, stderr);
        return 2;
    } catch (const platform::Error &e) {
        out().flush();
        std::fprintf(stderr, "pelmora-cube: %s\n", e.description().toLocal8Bit().constData());
        return 1;
    } catch (const std::exception &e) {
        out().flush();
        std::fprintf(stderr, "pelmora-cube: %s\n", e.what());
        return 1;
    }
}
