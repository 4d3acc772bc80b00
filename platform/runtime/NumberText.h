#pragma once

// Helpers shared by the runtime's sources; not part of the layer's interface.

#include <QString>

#include <string>

namespace platform::runtime::detail {

// The value with `precision` significant digits in the C library's %G form ("1234.5",
// "1E+15", "1.5E-05"), "." as the decimal point, "-" for negatives; -0 gives "0".
std::string generalText(double value, int precision);

// generalText with "." replaced by `decimal`.
QString generalText(double value, int precision, const QString &decimal);

// Decimal digits of |value| rounded to 15 significant digits: `digits` has no leading zero
// (empty for zero) and no trailing zeros, and |value| = 0.digits x 10^exponent10.
struct Decimal15
{
    std::string digits;
    int exponent10 = 0;
};
Decimal15 decimal15(double value);

} // namespace platform::runtime::detail
