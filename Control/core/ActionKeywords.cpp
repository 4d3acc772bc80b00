#include "Control/core/ActionKeywords.h"

namespace pelmora {

namespace {

constexpr std::array<const char *, actionKeywordCount> keywordTexts = {
    // clang-format off
    "CONECTACUBONI", "OPENPARAM", "OPENOLAP", "SAVEVIEW", "PRINTVIEW", "EXPORTVIEW",
    "COPYVIEW", "DIRECTMDX", "SHOWELEMENTS", "SHOWCHART2D", "SHOWCHART3D", "DOSWAPXY",
    "SHOWLAYOUT", "DIMENSIONOPTIONS", "DOFORMAT", "ABOUTBOX", "SPLASH", "CAMBIATITULO",
    "WRITEREGISTRY", "WRITECHARTREGISTRY", "WRITEPREVIEWREGISTRY", "READREGISTRY", "STARTLOG",
    // clang-format on
    "ENDLOG",
};

} // namespace

QString actionKeywordText(ActionKeyword keyword)
{
    const int index = int(keyword);
    if (index < 0 || index >= actionKeywordCount)
        return QString();
    return QString::fromLatin1(keywordTexts[size_t(index)]);
}

std::optional<ActionKeyword> findActionKeyword(const QString &action)
{
    const QString keyword = action.toUpper();
    for (int i = 0; i < actionKeywordCount; ++i) {
        if (keyword == QLatin1String(keywordTexts[size_t(i)]))
            return ActionKeyword(i);
    }
    return std::nullopt;
}

void ActionTable::bind(ActionKeyword keyword, Procedure procedure)
{
    m_procedures[size_t(keyword)] = std::move(procedure);
}

const ActionTable::Procedure &ActionTable::procedure(ActionKeyword keyword) const
{
    return m_procedures[size_t(keyword)];
}

bool ActionTable::run(ActionKeyword keyword) const
{
    const Procedure &procedure = m_procedures[size_t(keyword)];
    return procedure ? procedure() : false;
}

} // namespace pelmora
