#include "platform/grid/CellStyle.h"

namespace platform::grid {

QFont CellStyle::resolveFont(const QFont &gridFont) const
{
    QFont font = gridFont;
    if (!fontName.isEmpty())
        font.setFamily(fontName);
    if (fontSize > 0)
        font.setPointSizeF(fontSize);
    if (bold >= 0)
        font.setBold(bold != 0);
    if (italic >= 0)
        font.setItalic(italic != 0);
    if (underline >= 0)
        font.setUnderline(underline != 0);
    if (strikethrough >= 0)
        font.setStrikeOut(strikethrough != 0);
    return font;
}

size_t qHash(const CellStyle &style, size_t seed) noexcept
{
    const int flags = (style.bold + 1) | ((style.italic + 1) << 2) | ((style.underline + 1) << 4)
                      | ((style.strikethrough + 1) << 6);
    return qHashMulti(seed, style.backColor, style.foreColor, style.fontName, style.fontSize, flags,
                      style.setting28, style.setting47);
}

StyleTable::StyleTable()
{
    reset();
}

std::optional<StyleId> StyleTable::intern(const CellStyle &style)
{
    const auto found = m_ids.constFind(style);
    if (found != m_ids.constEnd())
        return found.value();
    if (size() >= Capacity)
        return std::nullopt;
    const auto id = static_cast<StyleId>(m_styles.size());
    m_styles.push_back(style);
    m_ids.insert(style, id);
    return id;
}

void StyleTable::reset()
{
    m_styles.assign(1, CellStyle());
    m_ids.clear();
    m_ids.insert(CellStyle(), 0);
}

std::vector<StyleId> StyleTable::compact(const std::vector<bool> &used)
{
    std::vector<StyleId> map(m_styles.size(), 0);
    std::vector<CellStyle> kept;
    kept.reserve(m_styles.size());
    kept.push_back(CellStyle());
    m_ids.clear();
    m_ids.insert(CellStyle(), 0);
    for (std::size_t id = 1; id < m_styles.size(); ++id) {
        if (id < used.size() && used[id]) {
            map[id] = static_cast<StyleId>(kept.size());
            m_ids.insert(m_styles[id], map[id]);
            kept.push_back(std::move(m_styles[id]));
        }
    }
    m_styles = std::move(kept);
    return map;
}

} // namespace platform::grid
