#include "platform/automation/Extender.h"

#include "platform/forms/ScreenTwips.h"
#include "platform/runtime/Error.h"

// pelmora_automation is built against Qt Core; the widget headers come from the Qt include root.
#include <QWidget>

namespace platform::automation {

using platform::forms::pixelsToTwipsX;
using platform::forms::pixelsToTwipsY;
using platform::forms::twipsToPixelsX;
using platform::forms::twipsToPixelsY;

Extender::Extender(QWidget *widget, QObject *parent) : QObject(parent), m_widget(widget) {}

QWidget *Extender::widget() const
{
    return static_cast<QWidget *>(m_widget.data());
}

QWidget &Extender::target() const
{
    if (!m_widget)
        throw Error(QStringLiteral("The control of this extender no longer exists"));
    return *widget();
}

double Extender::left() const
{
    return pixelsToTwipsX(target().x());
}

double Extender::top() const
{
    return pixelsToTwipsY(target().y());
}

double Extender::width() const
{
    return pixelsToTwipsX(target().width());
}

double Extender::height() const
{
    return pixelsToTwipsY(target().height());
}

void Extender::setLeft(double twips)
{
    QWidget &widget = target();
    widget.move(twipsToPixelsX(twips), widget.y());
}

void Extender::setTop(double twips)
{
    QWidget &widget = target();
    widget.move(widget.x(), twipsToPixelsY(twips));
}

void Extender::setWidth(double twips)
{
    if (twips < 0)
        throw Error(QStringLiteral("Invalid property value for Width: %1").arg(twips));
    QWidget &widget = target();
    widget.resize(twipsToPixelsX(twips), widget.height());
}

void Extender::setHeight(double twips)
{
    if (twips < 0)
        throw Error(QStringLiteral("Invalid property value for Height: %1").arg(twips));
    QWidget &widget = target();
    widget.resize(widget.width(), twipsToPixelsY(twips));
}

bool Extender::visible() const
{
    const QWidget &widget = target();
    if (widget.isWindow())
        return widget.isVisible();
    // A child that was never hidden explicitly is shown with its parent.
    return !widget.isHidden() || !widget.testAttribute(Qt::WA_WState_ExplicitShowHide);
}

void Extender::setVisible(bool visible)
{
    target().setVisible(visible);
}

} // namespace platform::automation
