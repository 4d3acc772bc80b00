#pragma once
// What the fuzz targets share: a working folder, the test fixtures, the seeds they make from
// the fixtures, and the trap for the errors a reader is expected to throw.
#include "platform/runtime/Error.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace fuzz {

// A folder of this process, removed when it ends.
QString workDir();
// A file of tests/fixtures.
QString fixturePath(const QString &name);
QByteArray fixtureBytes(const QString &name);
// The fixture cube `stem` (stem.xml over stem.sql) built into the working folder; its path.
QString buildFixtureCube(const QString &stem);

// Writes bytes into the file at path, replacing it; aborts when it cannot (the working folder
// is broken, not the reader).
void writeFile(const QString &path, QByteArrayView bytes);

// With PELMORA_FUZZ_SEEDS naming a folder (scripts/fuzz sets it before the run), puts the
// seed there; otherwise does nothing. Seeds that need the build (cube files, the uninstall
// information) or follow the fixtures are made so instead of being kept in the tree.
bool seedsWanted();
void writeSeed(const QString &name, const QByteArray &bytes);

inline QByteArray bytesOf(const std::uint8_t *data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

// Runs a reader; the description of a bad input is the answer expected, anything else (a
// crash, another exception) is what the fuzzer looks for.
template <typename Read>
void expectingErrors(Read read)
{
    try {
        read();
    } catch (const platform::Error &) {
        // A refused input: what a reader must do with it.
    }
}

} // namespace fuzz
