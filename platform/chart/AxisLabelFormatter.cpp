#include "platform/chart/AxisLabelFormatter.h"

#include <cmath>

namespace platform::chart {

AxisLabelFormatter::AxisLabelFormatter(const QStringList &labels, QObject *parent)
    : QValue3DAxisFormatter(parent), m_labels(labels)
{}

QString AxisLabelFormatter::labelAt(qreal value) const
{
    const double whole = std::round(value);
    if (!std::isfinite(value) || std::fabs(value - whole) > 1e-4)
        return {};
    const qsizetype index = qsizetype(whole);
    return index >= 0 && index < m_labels.size() ? m_labels[index] : QString();
}

QValue3DAxisFormatter *AxisLabelFormatter::createNewInstance() const
{
    return new AxisLabelFormatter;
}

void AxisLabelFormatter::populateCopy(QValue3DAxisFormatter &copy) const
{
    QValue3DAxisFormatter::populateCopy(copy);
    if (auto *same = qobject_cast<AxisLabelFormatter *>(&copy))
        same->m_labels = m_labels;
}

QString AxisLabelFormatter::stringForValue(qreal value, const QString &) const
{
    return labelAt(value);
}

} // namespace platform::chart
