#include "Control/presentation/PaintRules.h"

#include "platform/olap/UniqueName.h"

namespace pelmora {

GridCounts gridCounts(int axisCount, int positions0, int dimensions0, int positions1,
                      int dimensions1)
{
    GridCounts counts;
    if (axisCount >= 1) {
        counts.dataCols = positions0;
        counts.headerRows = positions0 >= 1 ? dimensions0 + 1 : 0;
    }
    if (axisCount >= 2) {
        counts.dataRows = positions1;
        counts.headerCols = positions1 >= 1 ? dimensions1 : 0;
    }
    return counts;
}

QStringList dimensionTitles(const LayoutState &layout, int axis)
{
    QStringList names;
    const int n = countOrderDims(layout, axis);
    for (int k = 0; k < n; ++k) {
        for (int d = 0; d < layout.NumDims; ++d) {
            const OrderDim &record = orderDimAt(layout, d);
            if (record.lugar == axis && record.orden == k)
                names.append(record.nombre);
        }
    }
    return names;
}

QString dimensionOfLevel(const QString &levelUniqueName)
{
    QStringList names;
    if (!platform::olap::splitUniqueName(levelUniqueName, names) || names.isEmpty())
        return levelUniqueName;
    return names.first();
}

QStringList axisTitles(const QStringList &layoutNames, const QStringList &levels)
{
    QStringList own;
    for (const QString &level : levels)
        own.append(dimensionOfLevel(level));
    if (own.size() != layoutNames.size())
        return own;
    for (qsizetype k = 0; k < own.size(); ++k) {
        const QString &name = layoutNames[k];
        const QString &dimension = own[k];
        // A member that names nothing cannot contradict the layout.
        const bool same = dimension.isEmpty() || dimension.compare(name, Qt::CaseInsensitive) == 0
                          || dimension.startsWith(name + u'.', Qt::CaseInsensitive);
        if (!same)
            return own;
    }
    return layoutNames;
}

bool subtotalRowsTakePart(const OrderDim &outer)
{
    return (outer.jerarquia == 0 || outer.jerarquia == 3) && outer.opcionTipo == 0
           && outer.ordenTipo != 3 && outer.ordenTipo != 4;
}

SubtotalRow subtotalRow(int depth, int deepest, int firstDepth, bool formatSubtotal,
                        int formatSubtotalLevel)
{
    SubtotalRow row;
    row.subtotal = depth < deepest;
    row.look = row.subtotal && formatSubtotal && depth <= firstDepth + formatSubtotalLevel;
    return row;
}

BandColors backBands(const ValueFormat &format)
{
    return {
        {format.ThresholdMinBackColor, format.ThresholdMedBackColor, format.ThresholdMaxBackColor},
        {format.ActThresholdMinBackColor, format.ActThresholdMedBackColor,
         format.ActThresholdMaxBackColor}};
}

BandColors foreBands(const ValueFormat &format)
{
    return {
        {format.ThresholdMinForeColor, format.ThresholdMedForeColor, format.ThresholdMaxForeColor},
        {format.ActThresholdMinForeColor, format.ActThresholdMedForeColor,
         format.ActThresholdMaxForeColor}};
}

std::optional<int> signColor(double value, const BandColors &bands)
{
    if (value < 0 && bands.active[0])
        return bands.color[0];
    if (value == 0 && bands.active[1])
        return bands.color[1];
    if (value > 0 && bands.active[2])
        return bands.color[2];
    return std::nullopt;
}

std::optional<int> thresholdColor(double value, double lower, double upper, const BandColors &bands)
{
    if (value <= lower && bands.active[0])
        return bands.color[0];
    if (value > lower && value < upper && bands.active[1])
        return bands.color[1];
    if (value >= upper && bands.active[2])
        return bands.color[2];
    return std::nullopt;
}

int serverCellColor(int color, int gridColor)
{
    if (color == gridColor)
        return 0;
    return color == 0 ? 1 : color;
}

} // namespace pelmora
