#pragma once

#include <QString>

#include <array>

// The control's user texts: one table per language, looked up by number.
namespace pelmora {

inline constexpr int messageCount = 21; // entries 0 to 20; 10 to 14 are unused and empty

struct MessageTables
{
    std::array<QString, messageCount> msgEnglish;
    std::array<QString, messageCount> msgSpanish;
};

void fillMessageTables(MessageTables &tables);

// Entry i of the table of the language (0 English, 1 Spanish); "M: " and i for any other
// language. Throws platform::Error("Subscript out of range") for an entry outside 0 to 20 of
// a known language.
QString messageText(const MessageTables &tables, int languageId, int i);

} // namespace pelmora
