#pragma once

#include "platform/forms/FontAttributes.h"

#include <QFont>
#include <QObject>
#include <QString>

namespace platform::forms {

// The standard font object that controls hand to their containers: eight attributes, shared
// by reference, so that a container changing an attribute of the object it was given changes
// the owner's font. Bold and Weight go together: setting Bold makes the weight 700 or 400,
// setting a weight of 600 or more makes the font bold. Invalid values throw platform::Error
// ("Invalid property value") and leave the font as it was.
class FontObject : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString Name READ name WRITE setName NOTIFY changed)                         // id 0
    Q_PROPERTY(double Size READ size WRITE setSize NOTIFY changed)                          // id 2
    Q_PROPERTY(bool Bold READ bold WRITE setBold NOTIFY changed)                            // id 3
    Q_PROPERTY(bool Italic READ italic WRITE setItalic NOTIFY changed)                      // id 4
    Q_PROPERTY(bool Underline READ underline WRITE setUnderline NOTIFY changed)             // id 5
    Q_PROPERTY(bool Strikethrough READ strikethrough WRITE setStrikethrough NOTIFY changed) // 6
    Q_PROPERTY(int Weight READ weight WRITE setWeight NOTIFY changed)                       // id 7
    Q_PROPERTY(int Charset READ charset WRITE setCharset NOTIFY changed)                    // id 8

public:
    // A font with the platform's default attributes (the application's general font).
    explicit FontObject(QObject *parent = nullptr);
    FontObject(const QString &name, double size, bool bold, QObject *parent = nullptr);

    QString name() const { return m_font.name; }
    void setName(const QString &name);          // not empty
    double size() const { return m_font.size; } // points, four decimals at most
    void setSize(double size);                  // (0, 2048]
    bool bold() const { return m_font.bold; }
    void setBold(bool on);
    bool italic() const { return m_font.italic; }
    void setItalic(bool on);
    bool underline() const { return m_font.underline; }
    void setUnderline(bool on);
    bool strikethrough() const { return m_font.strikethrough; }
    void setStrikethrough(bool on);
    int weight() const { return m_font.weight; }
    void setWeight(int weight);                    // 0..1000
    int charset() const { return m_font.charset; } // kept and stored; drawing ignores it
    void setCharset(int charset);                  // 0..255

    // All eight attributes at once. Setting them copies them as they stand (they are taken to
    // be valid, as another font's are); one `changed` at most.
    const FontAttributes &attributes() const { return m_font; }
    void setAttributes(const FontAttributes &attributes);

    // Copies all eight attributes of `other`; one `changed` at most.
    void copyFrom(const FontObject &other) { setAttributes(other.m_font); }
    bool sameAs(const FontObject &other) const { return m_font == other.m_font; }

    // The font to draw with, and the attributes taken from a drawing font (charset kept).
    QFont toQFont() const;
    void setFromQFont(const QFont &font);

signals:
    // After any attribute changed.
    void changed();

private:
    template <typename T>
    void assign(T &member, const T &value);

    FontAttributes m_font;
};

} // namespace platform::forms
