// Drilling down and up on the members of the data grid's headers, and the swap of the axes.
#include "Control/core/ErrorTrap.h"
#include "Control/core/GestureRules.h"
#include "Control/core/PelmoraC02.h"

using platform::olap::Member;

void PelmoraC02::doDrill(int row, int col)
{
    pelmora::trapped(QStringLiteral("doDrill: "), [&] {
        const pelmora::GridHit hit = pelmora::gridHit(layoutState, row, col);
        switch (hit.region) {
        case pelmora::GridRegion::Corner:
            cubePivot();
            genSelect();
            return;
        case pelmora::GridRegion::SideTitle:
        case pelmora::GridRegion::TopTitle:
            // The statement runs again whether the options were confirmed or not.
            doAnalysis(findOrderDim(hit.place, hit.position));
            genSelect();
            return;
        case pelmora::GridRegion::TopHeader:
        case pelmora::GridRegion::SideHeader:
            break;
        case pelmora::GridRegion::Nothing:
            return;
        }

        const int d = findOrderDim(hit.place, hit.position);
        const platform::olap::CellsetMember m = pelmora::headerMember(queryState.cellset, hit);
        // Columns keep the members' captions, rows their names.
        const bool captions = hit.place == pelmora::Columns;
        QString text = captions ? m.caption() : m.name();
        QString uniqueName = m.uniqueName();
        if (hit.firstPosition) {
            // The first header is the member the set starts from: up to its parent.
            const std::optional<Member> parent = drillUp(d, uniqueName);
            if (!parent)
                return; // reported; the dimension keeps its members
            if (!parent->isNull()) {
                text = captions ? parent->caption() : parent->name();
                uniqueName = parent->uniqueName();
            }
        }
        // The new member is known before the old ones go, so that a failure to read it leaves
        // the dimension as it was.
        pelmora::startFrom(layoutState, d, text, uniqueName);
        genSelect();
    });
}

std::optional<Member> PelmoraC02::drillUp(int dimension, const QString &name)
{
    return pelmora::trapped(QStringLiteral("drillUp: "), [&]() -> std::optional<Member> {
        if (!connState.catalog)
            connState.catalog.emplace();
        const platform::olap::Hierarchy hierarchy = connState.catalog->cubeDefs()
                                                        .item(connState.numCube)
                                                        .dimensions()
                                                        .item(dimension)
                                                        .hierarchies()
                                                        .item(0);
        // The hierarchy's index answers at once; it ignores letter case, so a member that it
        // finds under another spelling sends the search through the levels from the top.
        Member found = hierarchy.findMember(name);
        if (!found.isNull() && found.uniqueName() != name) {
            found = Member();
            const platform::olap::Levels levels = hierarchy.levels();
            for (int k = 0; k < levels.count() && found.isNull(); ++k) {
                const platform::olap::Members members = levels.item(k).members();
                for (int i = 0; i < members.count(); ++i) {
                    if (members.item(i).uniqueName() == name) {
                        found = members.item(i);
                        break;
                    }
                }
            }
        }
        if (found.isNull() || found.levelDepth() == 0)
            return Member();
        return found.parent();
    });
}

void PelmoraC02::cubePivot()
{
    pelmora::trapped(QStringLiteral("cubePivot: "), [&] { pelmora::pivotAxes(layoutState); });
}

bool PelmoraC02::doSwapXY()
{
    return pelmora::trapped(QStringLiteral("doSwapXY:"), [&] {
        if (!controlFlags.Interactive)
            return false;
        cubePivot();
        return genSelect();
    });
}
