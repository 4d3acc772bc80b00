#pragma once

#include <QIcon>
#include <QList>
#include <QObject>
#include <QSize>
#include <QString>

namespace platform::widgets {

// A list of pictures shared by the controls that show them (a toolbar takes its buttons'
// images from one). Images are numbered from 1 in the order added and may carry a key.
class ImageList : public QObject
{
    Q_OBJECT

public:
    explicit ImageList(QObject *parent = nullptr);

    // The size the pictures are shown at; 16 x 16 unless set.
    QSize imageSize() const { return m_imageSize; }
    void setImageSize(const QSize &size);

    // Adds a picture and answers its number.
    int add(const QIcon &picture, const QString &key = QString());
    int count() const { return int(m_images.size()); }
    void clear();

    // The picture with this number; throws platform::Error outside 1 to count().
    QIcon image(int index) const;
    QString key(int index) const;
    // The number of the first picture with this key (case-sensitive), 0 when there is none.
    int indexOfKey(const QString &key) const;

signals:
    void changed();

private:
    struct Entry
    {
        QIcon picture;
        QString key;
    };
    const Entry &entry(int index) const;

    QList<Entry> m_images;
    QSize m_imageSize{16, 16};
};

} // namespace platform::widgets
