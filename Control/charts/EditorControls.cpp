#include "Control/charts/EditorControls.h"

#include "Control/charts/frmGrf2D.h"

#include "platform/chart/ChartModel.h"
#include "platform/runtime/Numbers.h"

#include <QComboBox>
#include <QFont>
#include <QLocale>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

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

void quietText(QLineEdit *field, const QString &text)
{
    const QSignalBlocker held(field);
    field->setText(text);
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
