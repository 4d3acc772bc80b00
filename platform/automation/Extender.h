#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

namespace platform::automation {

// The geometry and visibility a container gives a control it holds, in twips: setting them
// moves, resizes, shows or hides the control's widget; reading them answers the widget's
// current state, so a pixel-rounded position reads back as the twips of that pixel. The
// properties carry the container's names, so they can also be reached through Dispatch.
class Extender : public QObject
{
    Q_OBJECT
    Q_PROPERTY(double Left READ left WRITE setLeft)
    Q_PROPERTY(double Top READ top WRITE setTop)
    Q_PROPERTY(double Width READ width WRITE setWidth)
    Q_PROPERTY(double Height READ height WRITE setHeight)
    Q_PROPERTY(bool Visible READ visible WRITE setVisible)

public:
    explicit Extender(QWidget *widget, QObject *parent = nullptr);

    QWidget *widget() const;

    // Every accessor throws platform::Error once the widget has been destroyed.
    double left() const;
    double top() const;
    double width() const;
    double height() const;
    void setLeft(double twips);
    void setTop(double twips);
    void setWidth(double twips);
    void setHeight(double twips);

    // Whether the widget is shown, or (for a child widget) will be shown with its parent.
    bool visible() const;
    void setVisible(bool visible);

private:
    QWidget &target() const;

    QPointer<QObject> m_widget; // the widget; QObject so this header needs no widget headers
};

} // namespace platform::automation
