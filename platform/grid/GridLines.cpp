#include "platform/grid/GridLines.h"

namespace platform::grid {

GridLinePlan gridLinePlan(int style)
{
    GridLinePlan plan;
    if (!isGridLineStyle(style) || style == 0)
        return plan;
    if (style == 12) {
        plan.look = LineLook::Raised;
        plan.betweenRows = plan.betweenCols = plan.outline = true;
        return plan;
    }
    if (style == 13) {
        plan.look = LineLook::Flat;
        plan.betweenRows = plan.betweenCols = plan.lightInside = true;
        return plan;
    }
    // 1-3 both ways, 4-7 between rows, 8-11 between columns; within each group flat, inset,
    // raised, skipped.
    const int group = style <= 3 ? 0 : (style <= 7 ? 1 : 2);
    const int kind = group == 0 ? style - 1 : (style - (group == 1 ? 4 : 8));
    plan.betweenRows = group != 2;
    plan.betweenCols = group != 1;
    static constexpr LineLook Looks[] = {LineLook::Flat, LineLook::Inset, LineLook::Raised,
                                         LineLook::Flat};
    plan.look = Looks[kind];
    plan.everyOther = kind == 3;
    return plan;
}

} // namespace platform::grid
