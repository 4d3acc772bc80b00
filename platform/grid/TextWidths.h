#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QString>

#include <vector>

namespace platform::grid {

// Widths of texts in pixels, measured with QFontMetricsF once per distinct text and font. In a
// font whose ten digits are equally wide (nearly every font) a text is measured with its digits
// read as "0", so a column of a hundred thousand numbers needs a handful of measurements.
class TextWidths
{
public:
    // A number for this font, to pass to width(); the same font gives the same number.
    int fontIndex(const QFont &font);

    // The width of the text's longest line in that font, rounded up.
    int width(int fontIndex, const QString &text);

    // Forgets every font and width (after a change of screen or of the fonts themselves).
    void clear();

    int measuredCount() const { return m_measured; } // texts measured, for tests

private:
    struct FontEntry
    {
        QFontMetricsF metrics;
        bool equalDigits = false;
        QHash<QString, int> widths;
    };

    int measure(const FontEntry &entry, const QString &text);

    std::vector<FontEntry> m_fonts;
    QHash<QString, int> m_fontIndex; // by QFont::key()
    QString m_key;                   // reused for the digits-as-0 form
    int m_measured = 0;
};

} // namespace platform::grid
