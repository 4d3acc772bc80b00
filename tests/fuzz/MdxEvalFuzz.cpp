// MDX statements evaluated on the small fixture cube "Sales": an answer or an error, within
// the cell limit.
#include "FuzzSupport.h"

#include "platform/olap/local/CubeLoader.h"
#include "platform/olap/local/MdxEngine.h"

#include <memory>

using namespace platform::olap::local;

namespace {
std::unique_ptr<MdxEngine> evaluator;
}

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    LoadOptions load;
    load.threads = 1;
    EngineOptions options;
    options.cellLimit = 20000; // enough for the fixture's crossjoins, and quick to refuse more
    options.threads = 1;
    options.cacheCells = 20000;
    evaluator = std::make_unique<MdxEngine>(
        loadCubeFile(fuzz::buildFixtureCube(QStringLiteral("sales")), QString(), load), options);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = QString::fromUtf8(fuzz::bytesOf(data, size));
    fuzz::expectingErrors([&] { evaluator->execute(text); });
    return 0;
}
