#pragma once

#include <QStringList>
#include <QValue3DAxisFormatter>

namespace platform::chart {

// Writes the labels of rows or columns under a 3-D value axis that runs 0, 1, ... n - 1: the
// label of the row or column at a whole value, nothing between them.
class AxisLabelFormatter : public QValue3DAxisFormatter
{
    Q_OBJECT

public:
    explicit AxisLabelFormatter(const QStringList &labels = {}, QObject *parent = nullptr);

    const QStringList &labels() const { return m_labels; }
    QString labelAt(qreal value) const;

protected:
    QValue3DAxisFormatter *createNewInstance() const override;
    void populateCopy(QValue3DAxisFormatter &copy) const override;
    QString stringForValue(qreal value, const QString &format) const override;

private:
    QStringList m_labels;
};

} // namespace platform::chart
