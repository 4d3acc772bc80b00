#pragma once

#include "platform/olap/mdx/Syntax.h"

#include <QString>

namespace platform::olap::mdx {

// Parses one statement:
//   [WITH { MEMBER name AS expr [, property = expr ...] | SET name AS expr } ...]
//   SELECT [axis {, axis}] FROM cube [WHERE expr] [CELL PROPERTIES name {, name}]
//   axis := [NON EMPTY] expr [[DIMENSION] PROPERTIES name {, name}]
//           ON COLUMNS | ROWS | PAGES | SECTIONS | CHAPTERS | AXIS(n) | n
// Keywords, functions, properties and flags are matched without regard to case. A definition
// written AS 'text' in single quotes is the expression in the text, with its positions in the
// statement. Throws platform::Error naming the line, the column and what was expected.
Statement parseStatement(const QString &text);

// Parses a text holding one expression (a set, tuple, member or value).
Expression parseExpression(const QString &text);

} // namespace platform::olap::mdx
