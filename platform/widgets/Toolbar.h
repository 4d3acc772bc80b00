#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QToolBar>

class QAction;

namespace platform::widgets {

class ImageList;
class Toolbar;

// The kinds of toolbar item, with the numbers the common controls gave them.
enum class ButtonStyle : int {
    Default = 0,
    Separator = 3,
};

// One item of a toolbar: a button that sends its key when pressed, or a separator. Items are
// numbered from 1 in the order added.
class ToolbarButton : public QObject
{
    Q_OBJECT

public:
    int index() const { return m_index; }
    QString key() const { return m_key; }
    ButtonStyle style() const { return m_style; }

    QString toolTipText() const;
    void setToolTipText(const QString &text);

    // The item's own visibility, whether or not the toolbar itself is shown.
    bool isVisible() const;
    void setVisible(bool visible);

    // Number of the item's picture in the toolbar's image list; 0 for none.
    int image() const { return m_image; }
    void setImage(int image);

    QAction *action() const { return m_action; }

private:
    friend class Toolbar;
    ToolbarButton(Toolbar *toolbar, int index, const QString &key, ButtonStyle style,
                  QAction *action);
    void updatePicture();

    Toolbar *m_toolbar;
    int m_index;
    QString m_key;
    ButtonStyle m_style;
    QAction *m_action;
    int m_image = 0;
    QString m_toolTipText;
};

// A row of buttons reached by number, each with a key, a tooltip and a picture taken from an
// image list. A press of a button is reported by buttonClick; separators are never pressed.
class Toolbar : public QToolBar
{
    Q_OBJECT

public:
    explicit Toolbar(QWidget *parent = nullptr);

    // The list the buttons' pictures are taken from; the toolbar does not own it.
    void setImageList(ImageList *images);
    ImageList *imageList() const { return m_images; }

    // Adds an item at the end and answers it; it is numbered buttonCount() afterwards.
    ToolbarButton *addButton(const QString &key, ButtonStyle style = ButtonStyle::Default,
                             int image = 0, const QString &toolTipText = QString());

    int buttonCount() const { return int(m_buttons.size()); }
    // The item with this number; throws platform::Error outside 1 to buttonCount().
    ToolbarButton *button(int index) const;

signals:
    void buttonClick(platform::widgets::ToolbarButton *button);

private:
    void updatePictures();

    QList<ToolbarButton *> m_buttons;
    QPointer<ImageList> m_images;
};

} // namespace platform::widgets
