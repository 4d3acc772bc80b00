#pragma once

#include "platform/widgets/MdxEdit.h"

#include <QString>

#include <vector>

// The colouring rules of the MDX edit box, read from the statement lexer: keywords, function
// and property words, bracketed names, strings, numbers and comments. Text the lexer refuses
// (a string, name or comment still being typed) is coloured as far as it goes.
namespace pelmora {

std::vector<platform::widgets::MdxTextSpan> mdxHighlightSpans(const QString &text);

} // namespace pelmora
