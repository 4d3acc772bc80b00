#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

namespace platform::automation {

// Where a control keeps its design-time properties. Reading answers the stored value or the
// default; writing a value equal to the default stores nothing and removes what was stored, so
// that only changed properties are kept. Names are compared without regard to case.
class PropertyBag
{
public:
    virtual ~PropertyBag() = default;

    QVariant readProperty(const QString &name, const QVariant &defaultValue) const;
    void writeProperty(const QString &name, const QVariant &value, const QVariant &defaultValue);

protected:
    // The storage under the rules above; `name` may be spelt in any case.
    virtual std::optional<QVariant> storedValue(const QString &name) const = 0;
    virtual void storeValue(const QString &name, const QVariant &value) = 0;
    virtual void removeValue(const QString &name) = 0;
};

// A property bag held in memory, in the order the properties were first written.
class MemoryPropertyBag : public PropertyBag
{
public:
    // Names of the stored properties, spelt as first written.
    QStringList names() const;
    void clear();

protected:
    std::optional<QVariant> storedValue(const QString &name) const override;
    void storeValue(const QString &name, const QVariant &value) override;
    void removeValue(const QString &name) override;

    struct Entry
    {
        QString name;
        QVariant value;
    };
    QList<Entry> m_entries;

private:
    qsizetype indexOf(const QString &name) const;
};

// A property bag kept in a versioned JSON file. It holds empty values, booleans, 32- and 64-bit
// integers (colours are integers), doubles and texts, and gives each back with its type; writing
// a value of another type throws platform::Error.
class FilePropertyBag : public MemoryPropertyBag
{
public:
    // Replaces the contents with the file's. A missing, unreadable or corrupt file throws
    // platform::Error and leaves the contents as they were.
    void load(const QString &path);
    // Writes the contents atomically (a temporary file, then rename); throws platform::Error.
    void save(const QString &path) const;

protected:
    void storeValue(const QString &name, const QVariant &value) override;
};

} // namespace platform::automation
