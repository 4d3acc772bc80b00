// The view file reader on any bytes: a view or one of the runtime's errors; a view it reads,
// written again, reads again. The seeds are the fixture view files.
#include "FuzzSupport.h"

#include "Control/settings/ViewFileFormat.h"

#include <QDir>

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    if (fuzz::seedsWanted()) {
        const QDir views(fuzz::fixturePath(QStringLiteral("views")));
        for (const QString &name : views.entryList({QStringLiteral("*.vcg")}, QDir::Files))
            fuzz::writeSeed(name, fuzz::fixtureBytes(QStringLiteral("views/") + name));
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    fuzz::expectingErrors([&] {
        const QByteArray written =
            pelmora::viewFileText(pelmora::parseViewFile(fuzz::bytesOf(data, size)));
        try {
            pelmora::parseViewFile(written);
        } catch (const platform::Error &e) {
            std::fprintf(stderr, "written back, the view does not read (%s):\n%s\n",
                         qPrintable(e.description()), written.constData());
            std::abort();
        }
    });
    return 0;
}
