#include "FuzzSupport.h"

#include "platform/olap/local/CubeBuilder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

namespace fuzz {

QString workDir()
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/pelmora-fuzz-XXXXXX"));
    return dir.path();
}

QString fixturePath(const QString &name)
{
    return QStringLiteral(PELMORA_FUZZ_FIXTURES "/") + name;
}

QByteArray fixtureBytes(const QString &name)
{
    QFile file(fixturePath(name));
    if (!file.open(QIODevice::ReadOnly))
        std::abort(); // the fuzz build is broken, not the reader
    return file.readAll();
}

QString buildFixtureCube(const QString &stem)
{
    const QString out = workDir() + QLatin1Char('/') + stem + QStringLiteral(".cub");
    platform::olap::local::buildCubeFromSql(fixturePath(stem + QStringLiteral(".xml")),
                                            fixturePath(stem + QStringLiteral(".sql")), out);
    return out;
}

bool seedsWanted()
{
    return std::getenv("PELMORA_FUZZ_SEEDS") != nullptr;
}

void writeFile(const QString &path, QByteArrayView bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(bytes.data(), bytes.size()) != bytes.size())
        std::abort();
}

void writeSeed(const QString &name, const QByteArray &bytes)
{
    const char *dir = std::getenv("PELMORA_FUZZ_SEEDS");
    if (dir == nullptr)
        return;
    QDir().mkpath(QString::fromLocal8Bit(dir));
    writeFile(QString::fromLocal8Bit(dir) + QLatin1Char('/') + name, bytes);
}

} // namespace fuzz
