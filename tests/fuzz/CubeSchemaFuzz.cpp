// The cube loader on any schema XML over the tables of a fixture cube. The first byte of an
// input chooses the fixture's tables, the rest is the schema.
#include "FuzzSupport.h"

#include "platform/olap/local/CubeLoader.h"

#include <sqlite3.h>

#include <array>
#include <cstdlib>

using namespace platform::olap::local;

namespace {

const std::array<QString, 3> stems = {QStringLiteral("sales"), QStringLiteral("shop"),
                                      QStringLiteral("retail")};

struct Base
{
    QString path;
    sqlite3 *db = nullptr;
    sqlite3_stmt *update = nullptr;
};
std::array<Base, 3> bases;

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    for (std::size_t i = 0; i < stems.size(); ++i) {
        Base &base = bases[i];
        base.path = fuzz::buildFixtureCube(stems[i]);
        // The schema is replaced in place for each input, as quickly as SQLite can.
        if (sqlite3_open(base.path.toUtf8().constData(), &base.db) != SQLITE_OK
            || sqlite3_exec(base.db, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF", nullptr,
                            nullptr, nullptr)
                   != SQLITE_OK
            || sqlite3_prepare_v2(base.db, "UPDATE pelmora_schema SET xml = ?1", -1, &base.update,
                                  nullptr)
                   != SQLITE_OK) {
            std::abort();
        }
        QByteArray seed(1, char(i));
        seed += fuzz::fixtureBytes(stems[i] + QStringLiteral(".xml"));
        fuzz::writeSeed(stems[i] + QStringLiteral(".xml"), seed);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    Base &base = bases[data[0] % bases.size()];
    const QByteArray xml = fuzz::bytesOf(data + 1, size - 1);
    sqlite3_reset(base.update);
    sqlite3_bind_text(base.update, 1, xml.constData(), int(xml.size()), SQLITE_TRANSIENT);
    if (sqlite3_step(base.update) != SQLITE_DONE)
        std::abort();
    LoadOptions load;
    load.threads = 1;
    fuzz::expectingErrors([&] { loadCubeFile(base.path, QString(), load); });
    return 0;
}
