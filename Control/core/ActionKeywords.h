#pragma once

#include <QString>

#include <array>
#include <functional>
#include <optional>

// The command keywords of doAction and the procedure bound to each.
namespace pelmora {

// In the order they are compared.
enum class ActionKeyword : int {
    ConectaCuboNI,
    OpenParam,
    OpenOlap,
    SaveView,
    PrintView,
    ExportView,
    CopyView,
    DirectMDX,
    ShowElements,
    ShowChart2d,
    ShowChart3d,
    DoSwapXY,
    ShowLayout,
    DimensionOptions,
    DoFormat,
    AboutBox,
    Splash,
    CambiaTitulo,
    WriteRegistry,
    WriteChartRegistry,
    WritePreviewRegistry,
    ReadRegistry,
    StartLog,
    EndLog,
};

inline constexpr int actionKeywordCount = int(ActionKeyword::EndLog) + 1;

// The keyword as it is compared: "CONECTACUBONI", "OPENPARAM", ...
QString actionKeywordText(ActionKeyword keyword);

// The keyword an action names: the action in upper case compared exactly, in table order.
// Blanks are not trimmed, so " SAVEVIEW" names nothing.
std::optional<ActionKeyword> findActionKeyword(const QString &action);

// The procedure behind each keyword; each answers the command's result.
class ActionTable
{
public:
    using Procedure = std::function<bool()>;

    void bind(ActionKeyword keyword, Procedure procedure);
    const Procedure &procedure(ActionKeyword keyword) const;

    // Runs the keyword's procedure; False for a keyword that has none.
    bool run(ActionKeyword keyword) const;

private:
    std::array<Procedure, actionKeywordCount> m_procedures;
};

} // namespace pelmora
