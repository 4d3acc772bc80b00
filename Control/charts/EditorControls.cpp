#include "Control/charts/EditorControls.h"

#include "Control/charts/frmGrf2D.h"

#include "platform/chart/Chart2D.h"
#include "platform/chart/ChartModel.h"
#include "platform/runtime/Numbers.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QLogValueAxis>
#include <QPolarChart>
#include <QSignalBlocker>
#include <QValueAxis>

namespace pelmora::charteditor {

std::optional<double> fieldNumber(const QString &text)
{
    return platform::runtime::leadingNumber(text, QLocale().decimalPoint());
}

void showPosition(QComboBox *list, int position)
{
    if (position >= -1 && position < list->count())
        list->setCurrentIndex(position);
}

void quietPosition(QComboBox *list, int position)
{
    const QSignalBlocker held(list);
    showPosition(list, position);
}

namespace {

const char heldTextProperty[] = "pelmoraHeldText";

} // namespace

void quietText(QLineEdit *field, const QString &text)
{
    const QSignalBlocker held(field);
    field->setText(text);
    holdText(field);
}

QString heldText(const QLineEdit *field)
{
    return field->property(heldTextProperty).toString();
}

void holdText(QLineEdit *field)
{
    field->setProperty(heldTextProperty, field->text());
}

std::optional<std::pair<double, double>> drawnValueBounds(platform::chart::Chart2D &chart)
{
    chart.refresh();
    const QChartView *view = chart.chartView();
    const QChart *drawn = view ? view->chart() : nullptr;
    if (!drawn)
        return std::nullopt;
    // Values run across a horizontal chart; a polar chart's values run along its radius, which
    // Qt counts as its vertical axis.
    const bool polar = qobject_cast<const QPolarChart *>(drawn) != nullptr;
    const bool across = chart.chartArea().isHorizontal() && !polar;
    for (QAbstractAxis *axis : drawn->axes(across ? Qt::Horizontal : Qt::Vertical)) {
        if (const auto *values = qobject_cast<const QValueAxis *>(axis))
            return std::pair(values->min(), values->max());
        if (const auto *log = qobject_cast<const QLogValueAxis *>(axis))
            return std::pair(log->min(), log->max());
    }
    return std::nullopt;
}

qint32 blackIfAutomatic(qint32 colour)
{
    return colour == platform::chart::AutomaticColor ? 0 : colour;
}

void showFontSample(QLabel *sample, const platform::chart::Font &font)
{
    sample->setText(font.name());
    QFont shown = sample->font();
    frmGrf2D::copiaFont(font, shown);
    sample->setFont(shown);
}

} // namespace pelmora::charteditor
