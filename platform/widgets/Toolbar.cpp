#include "platform/widgets/Toolbar.h"

#include "platform/runtime/Error.h"
#include "platform/widgets/ImageList.h"

#include <QAction>

namespace platform::widgets {

ToolbarButton::ToolbarButton(Toolbar *toolbar, int index, const QString &key, ButtonStyle style,
                             QAction *action)
    : QObject(toolbar), m_toolbar(toolbar), m_index(index), m_key(key), m_style(style),
      m_action(action)
{}

QString ToolbarButton::toolTipText() const
{
    return m_toolTipText;
}

void ToolbarButton::setToolTipText(const QString &text)
{
    m_toolTipText = text;
    m_action->setToolTip(text);
}

bool ToolbarButton::isVisible() const
{
    return m_action->isVisible();
}

void ToolbarButton::setVisible(bool visible)
{
    m_action->setVisible(visible);
}

void ToolbarButton::setImage(int image)
{
    m_image = image;
    updatePicture();
}

void ToolbarButton::updatePicture()
{
    if (m_style == ButtonStyle::Separator)
        return;
    const ImageList *images = m_toolbar->imageList();
    if (images && m_image >= 1 && m_image <= images->count())
        m_action->setIcon(images->image(m_image));
    else
        m_action->setIcon(QIcon());
}

Toolbar::Toolbar(QWidget *parent) : QToolBar(parent)
{
    setMovable(false);
    setFloatable(false);
    setToolButtonStyle(Qt::ToolButtonIconOnly);
}

void Toolbar::setImageList(ImageList *images)
{
    if (m_images)
        disconnect(m_images, nullptr, this, nullptr);
    m_images = images;
    if (m_images)
        connect(m_images, &ImageList::changed, this, &Toolbar::updatePictures);
    updatePictures();
}

ToolbarButton *Toolbar::addButton(const QString &key, ButtonStyle style, int image,
                                  const QString &toolTipText)
{
    QAction *action = nullptr;
    if (style == ButtonStyle::Separator) {
        action = addSeparator();
    } else {
        action = addAction(key);
        action->setObjectName(key);
    }
    auto *item = new ToolbarButton(this, buttonCount() + 1, key, style, action);
    m_buttons.append(item);
    if (style != ButtonStyle::Separator) {
        item->setToolTipText(toolTipText);
        item->setImage(image);
        connect(action, &QAction::triggered, this, [this, item] { emit buttonClick(item); });
    }
    return item;
}

ToolbarButton *Toolbar::button(int index) const
{
    if (index < 1 || index > buttonCount())
        throw platform::Error(QStringLiteral("Index out of bounds"));
    return m_buttons[index - 1];
}

void Toolbar::updatePictures()
{
    if (m_images)
        setIconSize(m_images->imageSize());
    for (ToolbarButton *item : std::as_const(m_buttons))
        item->updatePicture();
}

} // namespace platform::widgets
