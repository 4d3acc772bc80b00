#pragma once

#include <QString>
#include <QVariant>
#include <QVariantList>

// The separate items of the forms runtime's sequential files ("Write #" and "Input #"), which
// the view files use: locale-free, one line a record, items separated by ",".
namespace platform::runtime {

// One item as "Write #" wrote it:
//   - Boolean: #TRUE# or #FALSE#;
//   - whole numbers: decimal digits, "-" in front when negative;
//   - Double: up to 15 significant digits, Float: up to 7, "." as the decimal point whatever the
//     locale, no grouping, no trailing zeros, no point for a whole value, "1E+20" beyond;
//   - text (QString, QByteArray as UTF-8, QChar): in double quotes, the characters as they are,
//     line breaks included; there is no escape, so a text holding a double quote makes an item
//     that reads back differently (see canWriteAsItem);
//   - an empty value (an invalid QVariant, or a null pointer): nothing;
//   - any other type: its number if it converts to a Double, else its text, quoted.
QString writeItem(const QVariant &value);

// The items joined by "," (no blanks, no line end: the caller ends the line with CR LF).
QString writeItems(const QVariantList &values);

// Whether a text survives a round trip as an item: it holds no double quote.
bool canWriteAsItem(const QString &text);

// Reads items back ("Input #") and lines ("Line Input #") from text already decoded.
//   - Leading spaces and tabs of an item are skipped.
//   - An unquoted item ends at "," or at the line end (CR LF, LF or a lone CR), which is consumed;
//     its trailing spaces and tabs are dropped. A line end met before any character gives an
//     empty item.
//   - A quoted item runs to its closing quote, line breaks included; after the quote, blanks are
//     skipped and the separator ("," or the line end) is consumed; any other characters before
//     the separator are dropped with it.
//   - An unterminated quote gives the rest of the input as the item, and the reader is at its end.
//   - Reading at the end of the input throws platform::Error("Input past end of file").
class ItemReader
{
public:
    explicit ItemReader(QString text);

    bool atEnd() const { return m_pos >= m_text.size(); }
    qsizetype position() const { return m_pos; }

    // The next item's text (without its quotes).
    QString readItem();

    // The next item as a value: a quoted item is a QString; unquoted, #TRUE# and #FALSE# (any
    // case) are Booleans, #NULL# and an empty item an invalid QVariant (Empty), a number in the
    // written form ("-12", "1.5", "1E+20", also with D as the exponent letter) a double, and any
    // other text a QString.
    QVariant readValue();

    // The rest of the current line without its line end, which is consumed.
    QString readLine();

private:
    struct Item
    {
        QString text;
        bool quoted = false;
    };
    Item read();
    void skipLineEnd();
    bool atLineEnd() const;

    QString m_text;
    qsizetype m_pos = 0;
};

} // namespace platform::runtime
