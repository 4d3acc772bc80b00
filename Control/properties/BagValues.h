#pragma once

#include <QString>
#include <QVariant>

#include <limits>
#include <optional>

// A value read from a property bag, taken as the type of the property it goes to, with the
// conversions the automation runtime makes (True is -1, numeric text is a number, numbers are
// texts). A value that is none of these, or out of the property's range, gives nothing.
namespace pelmora {

std::optional<bool> bagBool(const QVariant &value);
// Whole numbers in [min, max]; a fraction rounds half to even.
std::optional<int> bagInt(const QVariant &value, int min = std::numeric_limits<int>::min(),
                          int max = std::numeric_limits<int>::max());
// Finite numbers only.
std::optional<double> bagDouble(const QVariant &value);
std::optional<QString> bagString(const QVariant &value);

} // namespace pelmora
