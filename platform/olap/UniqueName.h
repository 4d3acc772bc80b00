#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

namespace platform::olap {

// "[name]" with every "]" doubled, as member, level and hierarchy unique names quote their parts.
QString quoteName(QStringView name);

// Splits "[A].[B]..." into its names. Parts may be bracketed (with "]]" for "]") or bare
// identifiers; blanks around the dots are allowed. Returns false on any other text.
bool splitUniqueName(QStringView text, QStringList &names);

// The canonical form of a name path: every part bracketed, joined by ".".
QString joinUniqueName(const QStringList &names);

} // namespace platform::olap
