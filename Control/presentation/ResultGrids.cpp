// The titles grid and the data grid painted from the layout records and the cell set.
#include "Control/core/ErrorTrap.h"
#include "Control/core/PelmoraC02.h"
#include "Control/presentation/PaintRules.h"
#include "platform/forms/FontObject.h"
#include "platform/grid/FlexGrid.h"
#include "platform/runtime/Error.h"

#include <algorithm>
#include <optional>

using platform::grid::CellSetting;
using platform::grid::FlexGrid;
using platform::olap::Cellset;

namespace {

// The six font attributes of a font onto a range of one row.
void setRowFont(FlexGrid &grid, int row, int col1, int col2,
                const platform::forms::FontObject &font)
{
    grid.setCell(CellSetting::FontBold, row, col1, row, col2, font.bold());
    grid.setCell(CellSetting::FontItalic, row, col1, row, col2, font.italic());
    grid.setCell(CellSetting::FontName, row, col1, row, col2, font.name());
    grid.setCell(CellSetting::FontSize, row, col1, row, col2, font.size());
    grid.setCell(CellSetting::FontStrikethrough, row, col1, row, col2, font.strikethrough());
    grid.setCell(CellSetting::FontUnderline, row, col1, row, col2, font.underline());
}

// The level unique names of the first position's members on a result's axis; none when the
// result has no such axis or no position on it.
QStringList levelsOnAxis(const std::optional<Cellset> &cellset, int axisIndex)
{
    QStringList levels;
    if (!cellset)
        return levels;
    const platform::olap::CellsetAxes axes = cellset->axes();
    if (axisIndex >= axes.count())
        return levels;
    const platform::olap::Positions positions = axes.item(axisIndex).positions();
    if (positions.count() == 0)
        return levels;
    const platform::olap::PositionMembers members = positions.item(0).members();
    for (int k = 0; k < members.count(); ++k) {
        // A member that names no level still names its dimension first.
        const platform::olap::CellsetMember member = members.item(k);
        const QString level = member.levelUniqueName();
        levels.append(level.isEmpty() ? member.uniqueName() : level);
    }
    return levels;
}

} // namespace

bool PelmoraC02::headerPaint()
{
    pelmora::trapped(QStringLiteral("headerPaint: "), [&] {
        int count = 0;
        for (int i = 0; i < layoutState.NumDims; ++i) {
            if (pelmora::orderDimAt(layoutState, i).lugar == pelmora::Slicer)
                ++count;
        }
        grdTitulos->setRows(count);
        for (int i = 0; i < layoutState.NumDims; ++i) {
            const pelmora::OrderDim &record = pelmora::orderDimAt(layoutState, i);
            if (record.lugar != pelmora::Slicer)
                continue;
            grdTitulos->setTextMatrix(record.orden, 0, record.nombre);
            if (record.padreTexto.isEmpty())
                throw platform::Error(QStringLiteral("Subscript out of range"));
            grdTitulos->setTextMatrix(record.orden, 1, record.padreTexto.first());
        }
        // The names and the chosen members show whole: both columns fit their texts.
        grdTitulos->autoSize(0, grdTitulos->cols() - 1);
    });
    return true;
}

void PelmoraC02::paintEmptyResult()
{
    headerPaint();
    grdResults->clear();
    grdResults->setRows(0);
    grdResults->setCols(0);
    emptyCharts();
}

void PelmoraC02::prepareGrid(int dataRows, int headerRows, int dataCols, int headerCols)
{
    FlexGrid &grid = *grdResults;
    pelmora::trapped(QStringLiteral("prepareGrid: "), [&] {
        grid.clear();
        grid.setRows(0);
        grid.setCols(0);
        grid.setRows(dataRows + headerRows);
        grid.setCols(dataCols + headerCols);
        // The fixed rows and columns never take the whole grid: a hidden extra row or column.
        if (headerRows >= grid.rows()) {
            grid.setRows(headerRows + 1);
            grid.setRowHeight(headerRows, 0);
        }
        grid.setFixedRows(headerRows);
        if (headerCols >= grid.cols()) {
            grid.setCols(headerCols + 1);
            grid.setColWidth(headerCols, 0);
        }
        grid.setFixedCols(headerCols);
        for (int c = 0; c < grid.cols(); ++c)
            grid.setColSetting138(c, 1);
        for (int c = 0; c < grid.cols(); ++c) {
            grid.setMergeCol(c, c < headerCols);
            if (c < headerCols)
                grid.setColSetting119(c, 1);
        }
        for (int r = 0; r < grid.rows(); ++r)
            grid.setMergeRow(r, r < headerRows);
    });
}

void PelmoraC02::dimensionTitle(int axis, int row, int col)
{
    FlexGrid &grid = *grdResults;
    pelmora::trapped(QStringLiteral("dimensionTitle: "), [&] {
        int position = col;
        // A statement typed by hand may hold other dimensions than the layout: its own then
        // title the headers, so that no title lands on a caption.
        const QStringList titles =
            pelmora::axisTitles(pelmora::dimensionTitles(layoutState, axis),
                                levelsOnAxis(queryState.cellset, axis == pelmora::Columns ? 0 : 1));
        for (const QString &name : titles) {
            grid.setTextMatrix(row, position, name);
            grid.setRow(row);
            grid.setCol(position);
            grid.setAppearance(1);
            grid.setCellSetting28(-1);
            ++position;
        }
        if (axis == pelmora::Columns) {
            const QString blank = QStringLiteral(" ");
            grid.setCell(CellSetting::Text, row, 0, row, grid.fixedCols() - 1, blank);
            grid.setCell(CellSetting::Text, row, position, row, grid.cols() - 1, blank);
        }
    });
}

bool PelmoraC02::selectPaint()
{
    FlexGrid &grid = *grdResults;
    const bool painted = pelmora::trapped(QStringLiteral("selectPaint: "), [&] {
        if (!queryState.cellset)
            queryState.cellset.emplace();
        const Cellset &cellset = *queryState.cellset;
        const platform::olap::CellsetAxes axes = cellset.axes();
        const int axisCount = axes.count();
        if (axisCount > 2)
            throw platform::Error(message(9));

        std::optional<platform::olap::CellsetAxis> axis0;
        std::optional<platform::olap::CellsetAxis> axis1;
        if (axisCount >= 1)
            axis0 = axes.item(0);
        if (axisCount >= 2)
            axis1 = axes.item(1);
        const pelmora::GridCounts counts = pelmora::gridCounts(
            axisCount, axis0 ? axis0->positions().count() : -1, axis0 ? axis0->dimensionCount() : 0,
            axis1 ? axis1->positions().count() : -1, axis1 ? axis1->dimensionCount() : 0);
        const int headerRows = counts.headerRows;
        const int headerCols = counts.headerCols;

        grid.setRedraw(false);
        prepareGrid(counts.dataRows, headerRows, counts.dataCols, headerCols);

        if (axis0) {
            // Without column headers (an axis without positions) the titles would land on
            // the data row.
            if (headerRows > 0)
                dimensionTitle(pelmora::Columns, 0, headerCols);
            const platform::olap::Positions positions = axis0->positions();
            const int n = positions.count();
            for (int p = 0; p < n; ++p) {
                const platform::olap::PositionMembers members = positions.item(p).members();
                const int m = members.count();
                for (int k = 0; k < m; ++k)
                    grid.setTextMatrix(1 + k, headerCols + p, members.item(k).caption());
            }
        }

        applyDataFont(headerRows, headerCols);

        if (axis1)
            paintRowHeaders(*axis1, headerRows, headerCols);

        for (int c = 0; c < headerCols; ++c) {
            for (int r = 0; r <= headerRows - 2; ++r) {
                grid.setTextMatrix(r, c, QStringLiteral(" "));
                grid.setMergeCol(c, true);
                grid.setMergeRow(r, true);
            }
        }

        grid.setRedraw(true);
        grid.refresh();
        grid.setRedraw(false);

        paintCellValues(cellset, axisCount, headerRows, headerCols);

        for (int c = headerCols; c < grid.cols(); ++c)
            grid.setColFormat(c, gridFormat.DataFormat);
        if (grid.cols() > 0)
            grid.autoSize(0, grid.cols() - 1);
        grid.setRedraw(true);
        grid.refresh();
        return true;
    });
    // A failed paint shows what it wrote rather than leaving the grid frozen.
    if (!painted)
        grid.setRedraw(true);
    return true;
}

void PelmoraC02::paintRowHeaders(const platform::olap::CellsetAxis &axis, int headerRows,
                                 int headerCols)
{
    FlexGrid &grid = *grdResults;
    // The row-dimension names go into the row-header columns of the last header row; without
    // either (an axis without positions) there is no room for them, and the captions stay.
    if (headerCols > 0 && headerRows > 0)
        dimensionTitle(pelmora::Rows, headerRows - 1, 0);

    const platform::olap::Positions positions = axis.positions();
    const int n = positions.count();
    int deepest = 0;
    for (int p = 0; p < n; ++p) {
        const platform::olap::PositionMembers members = positions.item(p).members();
        if (members.count() > 0)
            deepest = std::max(deepest, members.item(0).levelDepth());
    }

    const platform::forms::FontObject &subtotalFont = pelmora::fontOf(gridFormat.FontSubtotal);
    const platform::forms::FontObject &dataSubtotalFont =
        pelmora::fontOf(gridFormat.FontDataSubtotal);
    std::optional<int> firstDepth;
    for (int p = 0; p < n; ++p) {
        const int row = headerRows + p;
        const platform::olap::PositionMembers members = positions.item(p).members();
        const int m = members.count();
        for (int k = 0; k < m; ++k) {
            const platform::olap::CellsetMember member = members.item(k);
            grid.setTextMatrix(row, k, member.caption());
            if (k != 0)
                continue;
            const pelmora::OrderDim &outer =
                pelmora::orderDimAt(layoutState, findOrderDim(pelmora::Rows, 0));
            if (!pelmora::subtotalRowsTakePart(outer))
                continue;
            const int depth = member.levelDepth();
            if (!firstDepth)
                firstDepth = depth;
            const pelmora::SubtotalRow rule =
                pelmora::subtotalRow(depth, deepest, *firstDepth, gridFormat.FormatSubtotal,
                                     gridFormat.FormatSubtotalLevel);
            if (rule.subtotal)
                grid.setIsSubtotal(row, true);
            if (rule.look) {
                const int last = grid.cols() - 1;
                grid.setCell(CellSetting::BackColor, row, headerCols, row, last,
                             gridFormat.BackColorDataSubtotal);
                grid.setCell(CellSetting::ForeColor, row, headerCols, row, last,
                             gridFormat.ForeColorDataSubtotal);
                grid.setCell(CellSetting::BackColor, row, 0, gridFormat.BackColorSubtotal);
                grid.setCell(CellSetting::ForeColor, row, 0, gridFormat.ForeColorSubtotal);
                setRowFont(grid, row, headerCols, last, dataSubtotalFont);
                setRowFont(grid, row, 0, 0, subtotalFont);
            }
            grid.setRowOutlineLevel(row, depth);
        }
    }
}
