#include "platform/grid/TextWidths.h"

#include <cmath>

namespace platform::grid {

namespace {

// A font's cache is dropped when it grows past this many texts (texts without digits in a
// column of distinct captions); it is then refilled as needed.
constexpr qsizetype MaxCachedTexts = 200000;

bool isDigit(QChar c)
{
    return c.unicode() >= '0' && c.unicode() <= '9';
}

} // namespace

int TextWidths::fontIndex(const QFont &font)
{
    const QString key = font.key();
    const auto found = m_fontIndex.constFind(key);
    if (found != m_fontIndex.constEnd())
        return found.value();
    FontEntry entry{QFontMetricsF(font), false, {}};
    const qreal zero = entry.metrics.horizontalAdvance(QLatin1Char('0'));
    entry.equalDigits = true;
    for (char d = '1'; d <= '9'; ++d)
        entry.equalDigits =
            entry.equalDigits && entry.metrics.horizontalAdvance(QLatin1Char(d)) == zero;
    const int index = int(m_fonts.size());
    m_fonts.push_back(std::move(entry));
    m_fontIndex.insert(key, index);
    return index;
}

int TextWidths::measure(const FontEntry &entry, const QString &text)
{
    ++m_measured;
    qreal widest = 0;
    qsizetype start = 0;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i <= size; ++i) {
        const bool end = i == size;
        if (!end && text.at(i) != QLatin1Char('\n') && text.at(i) != QLatin1Char('\r'))
            continue;
        if (i > start)
            widest = std::max(widest, entry.metrics.horizontalAdvance(text.mid(start, i - start)));
        start = i + 1;
    }
    return int(std::ceil(widest));
}

int TextWidths::width(int fontIndex, const QString &text)
{
    if (text.isEmpty() || fontIndex < 0 || fontIndex >= int(m_fonts.size()))
        return 0;
    FontEntry &entry = m_fonts[std::size_t(fontIndex)];
    const QString *key = &text;
    if (entry.equalDigits) {
        const qsizetype size = text.size();
        qsizetype first = 0;
        while (first < size && !isDigit(text.at(first)))
            ++first;
        if (first < size) {
            // m_key is never shared (the cache stores copies), so writing it allocates only
            // when it must grow.
            m_key.resize(size);
            QChar *out = m_key.data();
            const QChar *in = text.constData();
            for (qsizetype i = 0; i < size; ++i)
                out[i] = isDigit(in[i]) ? QLatin1Char('0') : in[i];
            key = &m_key;
        }
    }
    const auto found = entry.widths.constFind(*key);
    if (found != entry.widths.constEnd())
        return found.value();
    if (entry.widths.size() >= MaxCachedTexts)
        entry.widths.clear();
    const int width = measure(entry, *key);
    entry.widths.insert(QString(key->constData(), key->size()), width);
    return width;
}

void TextWidths::clear()
{
    m_fonts.clear();
    m_fontIndex.clear();
    m_measured = 0;
}

} // namespace platform::grid
