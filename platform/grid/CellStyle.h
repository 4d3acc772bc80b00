#pragma once

#include <QFont>
#include <QHash>
#include <QString>

#include <optional>
#include <vector>

namespace platform::grid {

// The settings of a cell range (id 158) by their numbers.
enum class CellSetting : int {
    Text = 0,      // the cell's own text; a range reads as the range text
    BackColor = 6, // 0: none of its own (the grid's colour); black is written as 1
    ForeColor = 7,
    Font = 10, // QFont: name, size, bold, italic, underline and strikethrough
    FontName = 11,
    FontSize = 12, // points
    FontBold = 13,
    FontItalic = 14,
    FontUnderline = 15,
    FontStrikethrough = 16,
    TextDisplay = 19, // the text as shown (column format applied); read only
};

// The look of a cell that differs from the grid's: every member has a value meaning "the
// grid's own", so that a cell follows later changes of the grid's colours and font in what it
// does not set itself. Settings 28 and 47 (current-cell members whose meaning the callers do not
// give) are kept here too, as plain numbers read back as they were set.
struct CellStyle
{
    int backColor = 0; // OLE colour; 0: the grid's
    int foreColor = 0;
    QString fontName;    // empty: the grid's
    double fontSize = 0; // points; 0: the grid's
    qint8 bold = -1;     // -1: the grid's, else 0 or 1
    qint8 italic = -1;
    qint8 underline = -1;
    qint8 strikethrough = -1;
    int setting28 = 0;
    int setting47 = 0;

    bool operator==(const CellStyle &other) const = default;

    // The grid's font with what this style sets itself.
    QFont resolveFont(const QFont &gridFont) const;
};

size_t qHash(const CellStyle &style, size_t seed = 0) noexcept;

using StyleId = quint16;

// The distinct styles of a grid, each stored once; cells hold a StyleId. Id 0 is the default
// style (everything the grid's own) and is always present.
class StyleTable
{
public:
    static constexpr int Capacity = 65536;

    StyleTable();

    const CellStyle &style(StyleId id) const { return m_styles[id]; }
    int size() const { return int(m_styles.size()); }

    // The id of this style, added when new; nothing when the table is full.
    std::optional<StyleId> intern(const CellStyle &style);

    // Back to the default style only.
    void reset();

    // Keeps the styles whose used[] is true (and the default), renumbered in order; answers the
    // new id of every old id (0 for the dropped ones).
    std::vector<StyleId> compact(const std::vector<bool> &used);

private:
    std::vector<CellStyle> m_styles;
    QHash<CellStyle, StyleId> m_ids;
};

} // namespace platform::grid
