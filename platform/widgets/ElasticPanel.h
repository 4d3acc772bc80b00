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
class ElasticPanel : public QWidget
{
    Q_OBJECT

public:
    enum : int { NaturalSize = -1, ElasticSize = 0 };
    // The kind of indexed value that holds a pane's size setting.
    static constexpr int PaneSizeValue = 4;

    explicit ElasticPanel(QWidget *parent = nullptr);
    ~ElasticPanel() override;

    // Adds a pane below the others (the panel takes the widget over) and answers its number.
    int addPane(QWidget *widget, int size = ElasticSize);
    int paneCount() const;

    QWidget *paneWidget(int pane) const;
    // Puts another widget in a pane, keeping its setting; answers the widget it held, which
    // the caller now owns. Throws platform::Error for a pane that does not exist.
    QWidget *setPaneWidget(int pane, QWidget *widget);

    // The indexed value (kind, pane). Only PaneSizeValue is known; any other kind, or a pane
    // that does not exist, throws platform::Error. A size below -1 is taken as NaturalSize.
    int paneValue(int kind, int pane) const;
    void setPaneValue(int kind, int pane, int value);

private:
    void checkPane(int kind, int pane) const;

    ElasticLayout *m_layout;
};

} // namespace platform::widgets
