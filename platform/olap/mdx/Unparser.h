#pragma once

#include "platform/olap/mdx/Syntax.h"

#include <QString>

namespace platform::olap::mdx {

// MDX text that parses back to the same tree: names, function, property and flag words as
// written, strings in double quotes, numbers in their shortest form, one blank around binary
// operators, parentheses where the tree has them (and where an operand needs them). Empty for
// a null node. For error messages and tests.
QString toMdx(const Node &node);

// The statement on one line: WITH ... SELECT ... ON COLUMNS, ... FROM ... WHERE ... CELL
// PROPERTIES ...; axes 0 to 4 by their names, later ones as AXIS(n).
QString toMdx(const Statement &statement);

} // namespace platform::olap::mdx
