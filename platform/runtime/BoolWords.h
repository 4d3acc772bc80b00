#pragma once

#include <QString>

#include <optional>

// The Boolean words of the locale, as the forms runtime turned a Boolean into text and back.
// "Locale" is QLocale(), the default locale (see Numbers.h).
namespace platform::runtime {

// "True" / "False"; "Verdadero" / "Falso" when the locale's language is Spanish.
QString boolWord(bool value);

// Lenient reading: "True", "False", "Verdadero" or "Falso" in any case and whatever the locale,
// blanks around ignored; or a numeric text (isNumeric), 0 giving false and any other number true.
// Anything else: no value.
std::optional<bool> parseBoolWord(const QString &text);

// CBool of a text, strict as the runtime was: the English words and the current locale's own
// words (any case, blanks around ignored), or a numeric text (0 false, other true); any other
// text throws platform::Error("Type mismatch"). So under an English locale "Verdadero" fails,
// which is how a view file written in another language fails to load its key text.
bool toBoolean(const QString &text);

} // namespace platform::runtime
