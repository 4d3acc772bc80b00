#include "platform/runtime/BoolWords.h"

#include "platform/runtime/Error.h"
#include "platform/runtime/Numbers.h"

#include <QLocale>

namespace platform::runtime {

namespace {

bool spanish()
{
    return QLocale().language() == QLocale::Spanish;
}

bool equalsWord(const QString &text, const char *word)
{
    return text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

std::optional<bool> numericBool(const QString &text)
{
    if (!isNumeric(text))
        return std::nullopt;
    return toDouble(text) != 0.0;
}

} // namespace

QString boolWord(bool value)
{
    if (spanish())
        return value ? QStringLiteral("Verdadero") : QStringLiteral("Falso");
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

std::optional<bool> parseBoolWord(const QString &text)
{
    const QString word = text.trimmed();
    if (equalsWord(word, "True") || equalsWord(word, "Verdadero"))
        return true;
    if (equalsWord(word, "False") || equalsWord(word, "Falso"))
        return false;
    return numericBool(text);
}

bool toBoolean(const QString &text)
{
    const QString word = text.trimmed();
    if (equalsWord(word, "True"))
        return true;
    if (equalsWord(word, "False"))
        return false;
    if (spanish()) {
        if (equalsWord(word, "Verdadero"))
            return true;
        if (equalsWord(word, "Falso"))
            return false;
    }
    if (const auto number = numericBool(text))
        return *number;
    throw Error(QStringLiteral("Type mismatch"));
}

} // namespace platform::runtime
