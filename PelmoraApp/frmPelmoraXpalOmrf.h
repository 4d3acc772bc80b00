#pragma once

#include <QWidget>

namespace platform::automation {
class Extender;
} // namespace platform::automation

class PelmoraC02;

// A child window of the main window: it holds one cube control, which it owns, and keeps the
// control filling it.
class frmPelmoraXpalOmrf : public QWidget
{
    Q_OBJECT

public:
    explicit frmPelmoraXpalOmrf(QWidget *parent = nullptr);

    // Takes the control (created inside this window, or moved into it) and fits it.
    void setControl(QWidget *control);

    // The control, known to the host by its automation interface.
    QWidget *PelmoraC021 = nullptr;
    // The control as the class of the control library; null for another kind of control.
    PelmoraC02 *control() const;
    platform::automation::Extender *extender() const { return m_extender; }

    // Whether this view still takes gestures: the Interactive command clears it once.
    bool interactiveMark = true;

    // The size the view opened at: what the window asks for when it is cascaded. Invalid until
    // the host has sized the window in a shown workspace.
    QSize openingSize;
    QSize sizeHint() const override;
    // The control's own minimum.
    QSize minimumSizeHint() const override;

    // Places the control at 0, 0 with the window's inner width and height; a step that fails
    // is skipped.
    void Form_Resize();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    platform::automation::Extender *m_extender = nullptr;
};
