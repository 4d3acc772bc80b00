// Building the statement of the layout and running statements.
#include "Control/core/ErrorTrap.h"
#include "Control/core/MdxGen.h"
#include "Control/core/PelmoraC02.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/Screen.h"

using pelmora::trapped;
using platform::forms::setMousePointer;
using platform::olap::Cellset;

namespace {

const QString crlf = QStringLiteral("\r\n");

pelmora::CubeAccess openCubeOf(pelmora::ConnState &state)
{
    return [&state] {
        if (!state.catalog)
            state.catalog.emplace();
        return state.catalog->cubeDefs().item(state.numCube);
    };
}

} // namespace

bool PelmoraC02::genSelect()
{
    const bool result = trapped(QStringLiteral("genSelect: "), [&] {
        gestureState.movingDim = false;
        setMousePointer(platform::forms::Hourglass);
        const int c = countOrderDims(pelmora::Columns);
        const int r = countOrderDims(pelmora::Rows);
        const QString columns = c > 0 ? drillDown(pelmora::Columns) : QString();
        const QString rows = r > 0 ? drillDown(pelmora::Rows) : QString();
        const QString s =
            pelmora::selectStatement(c, columns, r, rows, openParams.openCube, genWhere());
        return MDXExecute(s);
    });
    // The statement's run resets the pointer; a control without a cube runs none.
    setMousePointer(platform::forms::DefaultPointer);
    return result;
}

QString PelmoraC02::genWhere()
{
    return trapped(QStringLiteral("genWhere: "), [&] { return pelmora::genWhere(layoutState); });
}

QString PelmoraC02::drillDown(int axis)
{
    return trapped(QStringLiteral("drillDown: "), [&] {
        return pelmora::drillDown(layoutState, axis,
                                  [this, axis](int k) { return drillDownDimension(axis, k); });
    });
}

QString PelmoraC02::drillDownDimension(int axis, int position)
{
    return trapped(QStringLiteral("drillDownDimension: "), [&] {
        return pelmora::drillDownDimension(layoutState, openCubeOf(connState), axis, position);
    });
}

QString PelmoraC02::bringLevelName(int d, int n)
{
    return pelmora::bringLevelName(layoutState, openCubeOf(connState), d, n);
}

bool PelmoraC02::MDXExecute(const QString &strSource)
{
    // A statement that arrives while a web address downloads is ignored.
    if (connState.waitingForDownload)
        return false;
    try {
        if (!connState.connected)
            return false;
        MDXExe(strSource);
    } catch (...) {
        platform::forms::msgBox(QStringLiteral("MDXExecute: ")
                                    + pelmora::errorDescription(std::current_exception()) + crlf
                                    + message(8) + strSource,
                                platform::forms::OkOnly);
        return false;
    }
    // Errors of the painting reach the caller.
    setMousePointer(platform::forms::Hourglass);
    if (queryState.cellset && queryState.cellset->state() == Cellset::StateOpen) {
        headerPaint();
        selectPaint();
        refreshChart();
    } else {
        // The statement failed and has been reported: nothing of the result is read, so that
        // no painting step reports its own error about it.
        paintEmptyResult();
    }
    setMousePointer(platform::forms::DefaultPointer);
    return true;
}

void PelmoraC02::MDXExe(const QString &s)
{
    try {
        setMousePointer(platform::forms::Hourglass);
        std::optional<Cellset> &cellset = queryState.cellset;
        if (cellset && cellset->state() == Cellset::StateOpen)
            cellset->close();
        cellset.emplace();
        if (!connState.catalog)
            connState.catalog.emplace();
        cellset->setActiveConnection(connState.catalog->activeConnection());
        if (!connState.connection)
            connState.connection.emplace();
        cellset->open(s, *connState.connection);
        setMousePointer(platform::forms::DefaultPointer);
        queryState.currentMDX = s;
    } catch (...) {
        // The pointer stays the hourglass until MDXExecute has painted.
        platform::forms::msgBox(QStringLiteral("MDXExe: ")
                                    + pelmora::errorDescription(std::current_exception()) + crlf
                                    + QStringLiteral("MDX: ") + s,
                                platform::forms::OkOnly);
    }
}
