// The MDX parser on any text: it answers a statement or a syntax error, and a statement it
// answers, written back as MDX, parses again.
#include "FuzzSupport.h"

#include "platform/olap/mdx/Parser.h"
#include "platform/olap/mdx/Unparser.h"

#include <cstdio>
#include <cstdlib>

using namespace platform::olap::mdx;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = QString::fromUtf8(fuzz::bytesOf(data, size));
    fuzz::expectingErrors([&] {
        const QString written = toMdx(parseStatement(text));
        try {
            parseStatement(written);
        } catch (const platform::Error &e) {
            std::fprintf(stderr, "written back as\n%s\nit does not parse: %s\n",
                         qPrintable(written), qPrintable(e.description()));
            std::abort();
        }
    });
    fuzz::expectingErrors([&] {
        const Expression expression = parseExpression(text);
        toMdx(expression.root());
    });
    return 0;
}
