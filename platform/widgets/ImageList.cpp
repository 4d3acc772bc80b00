#include "platform/widgets/ImageList.h"

#include "platform/runtime/Error.h"

namespace platform::widgets {

ImageList::ImageList(QObject *parent) : QObject(parent) {}

void ImageList::setImageSize(const QSize &size)
{
    if (size.isEmpty() || size == m_imageSize)
        return;
    m_imageSize = size;
    emit changed();
}

int ImageList::add(const QIcon &picture, const QString &key)
{
    m_images.append(Entry{picture, key});
    emit changed();
    return count();
}

void ImageList::clear()
{
    m_images.clear();
    emit changed();
}

const ImageList::Entry &ImageList::entry(int index) const
{
    if (index < 1 || index > count())
        throw platform::Error(QStringLiteral("Index out of bounds"));
    return m_images[index - 1];
}

QIcon ImageList::image(int index) const
{
    return entry(index).picture;
}

QString ImageList::key(int index) const
{
    return entry(index).key;
}

int ImageList::indexOfKey(const QString &key) const
{
    for (int i = 0; i < count(); ++i) {
        if (m_images[i].key == key)
            return i + 1;
    }
    return 0;
}

} // namespace platform::widgets
