// The cube loader on any file: a damaged SQLite database, a file of another kind. The seeds are
// the fixture cubes, built when the run starts.
#include "FuzzSupport.h"

#include "platform/olap/local/CubeLoader.h"

#include <QFile>

#include <cstdlib>

using namespace platform::olap::local;

namespace {
QString inputPath;
}

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    inputPath = fuzz::workDir() + QStringLiteral("/input.cub");
    if (fuzz::seedsWanted()) {
        for (const QString &stem : {QStringLiteral("sales"), QStringLiteral("shop")}) {
            QFile built(fuzz::buildFixtureCube(stem));
            if (!built.open(QIODevice::ReadOnly))
                std::abort();
            fuzz::writeSeed(stem + QStringLiteral(".cub"), built.readAll());
        }
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    fuzz::writeFile(inputPath, QByteArrayView(data, qsizetype(size)));
    LoadOptions load;
    load.threads = 1;
    fuzz::expectingErrors([&] { loadCubeFile(inputPath, QString(), load); });
    return 0;
}
