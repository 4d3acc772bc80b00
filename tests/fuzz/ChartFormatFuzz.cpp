// The chart format file readers on any bytes; a file they accept, written again, reads again.
// The seeds are the files of the default charts.
#include "FuzzSupport.h"

#include "platform/chart/Chart3DModel.h"
#include "platform/chart/ChartFormat.h"
#include "platform/chart/ChartModel.h"

#include <cstdio>
#include <cstdlib>

using namespace platform::chart;

namespace {

template <typename Model, typename Parse, typename Write>
void readAndReread(const QByteArray &text, Parse parse, Write write, const char *kind)
{
    Model model;
    if (!parse(text, model))
        return;
    const QByteArray written = write(model);
    Model again;
    if (!parse(written, again)) {
        std::fprintf(stderr, "the %s format written back does not read:\n%s\n", kind,
                     written.constData());
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::writeSeed(QStringLiteral("default.oc2"), chart2DFormatText(Chart2DModel()));
    fuzz::writeSeed(QStringLiteral("default.oc3"), chart3DFormatText(Chart3DModel()));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray text = fuzz::bytesOf(data, size);
    fuzz::expectingErrors([&] {
        readAndReread<Chart2DModel>(text, parseChart2DFormat, chart2DFormatText, "2-D");
        readAndReread<Chart3DModel>(text, parseChart3DFormat, chart3DFormatText, "3-D");
    });
    return 0;
}
