#include "Control/properties/BagValues.h"

#include <QLocale>

#include <cmath>

namespace pelmora {

namespace {

bool isNumber(const QVariant &value)
{
    switch (value.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Float:
    case QMetaType::Double:
        return true;
    default:
        return false;
    }
}

// The value as a number: numbers, Booleans (True is -1) and numeric text.
std::optional<double> numberOf(const QVariant &value)
{
    if (value.metaType().id() == QMetaType::Bool)
        return value.toBool() ? -1.0 : 0.0;
    if (isNumber(value)) {
        const double number = value.toDouble();
        if (!std::isfinite(number))
            return std::nullopt;
        return number;
    }
    if (value.metaType().id() == QMetaType::QString) {
        bool ok = false;
        const double number = QLocale::c().toDouble(value.toString().trimmed(), &ok);
        if (!ok || !std::isfinite(number))
            return std::nullopt;
        return number;
    }
    return std::nullopt;
}

} // namespace

std::optional<bool> bagBool(const QVariant &value)
{
    if (value.metaType().id() == QMetaType::Bool)
        return value.toBool();
    if (value.metaType().id() == QMetaType::QString) {
        const QString text = value.toString().trimmed();
        if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
            return true;
        if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
            return false;
    }
    if (const std::optional<double> number = numberOf(value))
        return *number != 0;
    return std::nullopt;
}

std::optional<int> bagInt(const QVariant &value, int min, int max)
{
    const std::optional<double> number = numberOf(value);
    if (!number)
        return std::nullopt;
    const double whole = std::nearbyint(*number); // the default rounding: half to even
    if (whole < min || whole > max)
        return std::nullopt;
    return int(whole);
}

std::optional<double> bagDouble(const QVariant &value)
{
    return numberOf(value);
}

std::optional<QString> bagString(const QVariant &value)
{
    if (value.metaType().id() == QMetaType::QString)
        return value.toString();
    if (value.metaType().id() == QMetaType::Bool)
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    if (isNumber(value) && std::isfinite(value.toDouble()))
        return value.toString();
    return std::nullopt;
}

} // namespace pelmora
