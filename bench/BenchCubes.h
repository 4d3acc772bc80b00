#pragma once

// The sample cubes the benchmarks run on, made once into $PELMORA_BENCH_DIR (default:
// <temp>/pelmora-bench) and kept there for later runs; each has its column image.
#include "platform/olap/local/CubeBuilder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include <sqlite3.h>

#include <cstdint>
#include <cstdio>

// The path of the sample cube with this many facts, written first when missing.
inline QString benchSampleCube(std::int64_t facts)
{
    QString dir = qEnvironmentVariable("PELMORA_BENCH_DIR");
    if (dir.isEmpty())
        dir = QDir::temp().filePath(QStringLiteral("pelmora-bench"));
    QDir().mkpath(dir);
    const QString path = QDir(dir).filePath(QStringLiteral("sample-%1.cub").arg(facts));
    if (!QFileInfo::exists(path)) {
        QElapsedTimer timer;
        timer.start();
        platform::olap::local::writeSampleCube(path, facts, 1);
        std::fprintf(stderr, "made %s (%lld facts) in %.1f s, checking it included\n",
                     qPrintable(path), static_cast<long long>(facts), timer.elapsed() / 1000.0);
    }
    return path;
}

// The same cube without its column image, so that it loads from the fact rows: a copy made
// once beside it.
inline QString benchRowsCube(std::int64_t facts)
{
    const QString image = benchSampleCube(facts);
    const QString path =
        QString(image).replace(QStringLiteral(".cub"), QStringLiteral("-rows.cub"));
    if (!QFileInfo::exists(path)) {
        QFile::copy(image, path);
        sqlite3 *db = nullptr;
        if (sqlite3_open(QFile::encodeName(path).constData(), &db) == SQLITE_OK)
            sqlite3_exec(db, "DROP TABLE pelmora_column_image", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    return path;
}
