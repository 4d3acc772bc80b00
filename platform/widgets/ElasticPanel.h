#pragma once

#include <QWidget>

namespace platform::widgets {

class ElasticLayout;

// A panel that stacks its panes from top to bottom across its whole width and re-sizes them
// with itself. Each pane has a size setting, in twips:
//   NaturalSize (-1)  the pane's widget keeps the height it asks for;
//   ElasticSize (0)   the pane shares the height the other panes leave, equally with the other
//                     elastic panes;
//   above 0           the pane has that fixed height.
// Hidden panes take no room. When the panel is too small, panes are served from the top and
// the last ones get what is left (possibly nothing).
//
// The settings are also reached as the indexed value (PaneSizeValue, pane), pane counted from
// 0, which is how stored layouts read and write them.
//
// A pane may also keep an empty strip at its right, of the width (in twips) held by the indexed
// value (PaneStripValue, pane); 0, the start, is no strip. The pane's widget takes the rest of
// the width.
class ElasticPanel : public QWidget
{
    Q_OBJECT

public:
    enum : int { NaturalSize = -1, ElasticSize = 0 };
    // The kind of indexed value that holds a pane's size setting.
    static constexpr int PaneSizeValue = 4;
    // The kind of indexed value that holds the width of the strip at a pane's right.
    static constexpr int PaneStripValue = 5;

    explicit ElasticPanel(QWidget *parent = nullptr);
    ~ElasticPanel() override;

    // Adds a pane below the others (the panel takes the widget over) and answers its number.
    int addPane(QWidget *widget, int size = ElasticSize);
    int paneCount() const;

    QWidget *paneWidget(int pane) const;
    // Puts another widget in a pane, keeping its setting; answers the widget it held, which
    // the caller now owns. Throws platform::Error for a pane that does not exist.
    QWidget *setPaneWidget(int pane, QWidget *widget);

    // The indexed value (kind, pane). Only PaneSizeValue and PaneStripValue are known; any other
    // kind, or a pane that does not exist, throws platform::Error. A size below -1 is taken as
    // NaturalSize, a strip width below 0 as 0.
    int paneValue(int kind, int pane) const;
    void setPaneValue(int kind, int pane, int value);

    // Whether the boundary above a pane has a handle (a few pixels high, above the pane when a
    // visible pane is above it) that the user drags: the pane then gets the height it is
    // dragged to as its size setting, in twips, and the elastic panes above share the rest.
    void setPaneSplit(int pane, bool on);
    bool paneSplit(int pane) const;
    // Where the handle above a pane is now, in the panel's coordinates; empty when it has none.
    QRect splitHandle(int pane) const;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void checkPane(int kind, int pane) const;

    ElasticLayout *m_layout;
    int m_dragPane = -1;  // the pane whose handle is being dragged
    int m_dragOffset = 0; // where in the handle it was taken
};

} // namespace platform::widgets
