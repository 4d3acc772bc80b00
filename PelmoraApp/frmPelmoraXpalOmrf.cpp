#include "PelmoraApp/frmPelmoraXpalOmrf.h"

#include "Control/core/PelmoraC02.h"
#include "platform/automation/Extender.h"
#include "platform/forms/ScreenTwips.h"

#include <QResizeEvent>

frmPelmoraXpalOmrf::frmPelmoraXpalOmrf(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmPelmoraXpalOmrf"));
    setWindowTitle(QStringLiteral("Pelmora Application"));
    resize(640, 420);
}

void frmPelmoraXpalOmrf::setControl(QWidget *control)
{
    PelmoraC021 = control;
    if (!PelmoraC021)
        return;
    if (PelmoraC021->parentWidget() != this)
        PelmoraC021->setParent(this);
    PelmoraC021->setObjectName(QStringLiteral("PelmoraC021"));
    delete m_extender;
    m_extender = new platform::automation::Extender(PelmoraC021, this);
    Form_Resize();
}

PelmoraC02 *frmPelmoraXpalOmrf::control() const
{
    return qobject_cast<PelmoraC02 *>(PelmoraC021);
}

QSize frmPelmoraXpalOmrf::sizeHint() const
{
    return openingSize.isValid() ? openingSize.expandedTo(minimumSizeHint()) : QWidget::sizeHint();
}

QSize frmPelmoraXpalOmrf::minimumSizeHint() const
{
    if (!PelmoraC021)
        return QWidget::minimumSizeHint();
    return PelmoraC021->minimumSize().expandedTo(PelmoraC021->minimumSizeHint());
}

void frmPelmoraXpalOmrf::Form_Resize()
{
    if (!m_extender)
        return;
    using platform::forms::pixelsToTwipsX;
    using platform::forms::pixelsToTwipsY;
    const auto step = [](auto &&set) {
        try {
            set();
        } catch (...) {
        }
    };
    step([&] { m_extender->setLeft(0); });
    step([&] { m_extender->setTop(0); });
    step([&] { m_extender->setHeight(pixelsToTwipsY(height())); });
    step([&] { m_extender->setWidth(pixelsToTwipsX(width())); });
}

void frmPelmoraXpalOmrf::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}
