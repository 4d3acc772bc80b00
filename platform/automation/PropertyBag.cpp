#include "platform/automation/PropertyBag.h"

#include "platform/runtime/Error.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>
#include <QSaveFile>

#include <cmath>
#include <limits>

namespace platform::automation {

QVariant PropertyBag::readProperty(const QString &name, const QVariant &defaultValue) const
{
    std::optional<QVariant> value = storedValue(name);
    return value ? *value : defaultValue;
}

void PropertyBag::writeProperty(const QString &name, const QVariant &value,
                                const QVariant &defaultValue)
{
    if (value == defaultValue && value.isValid() == defaultValue.isValid())
        removeValue(name);
    else
        storeValue(name, value);
}

QStringList MemoryPropertyBag::names() const
{
    QStringList result;
    for (const Entry &entry : m_entries)
        result.append(entry.name);
    return result;
}

void MemoryPropertyBag::clear()
{
    m_entries.clear();
}

qsizetype MemoryPropertyBag::indexOf(const QString &name) const
{
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

std::optional<QVariant> MemoryPropertyBag::storedValue(const QString &name) const
{
    const qsizetype index = indexOf(name);
    if (index < 0)
        return std::nullopt;
    return m_entries[index].value;
}

void MemoryPropertyBag::storeValue(const QString &name, const QVariant &value)
{
    const qsizetype index = indexOf(name);
    if (index < 0)
        m_entries.append({name, value});
    else
        m_entries[index].value = value;
}

void MemoryPropertyBag::removeValue(const QString &name)
{
    const qsizetype index = indexOf(name);
    if (index >= 0)
        m_entries.removeAt(index);
}

// The file: {"format": "pelmora-properties", "version": 1, "properties": [{"name": "Caption",
// "type": "string", "value": "Sales"}, ...]}. The type travels with each value so that 2.0
// stays a double and 1 an integer; 64-bit integers and doubles that are not finite are written
// as text because JSON numbers cannot hold them exactly.
namespace {

const QString formatTag = QStringLiteral("pelmora-properties");
constexpr int fileVersion = 1;

enum class FileType { Empty, Bool, Int, Int64, Double, String };

struct TypeName
{
    FileType type;
    const char *name;
};

constexpr TypeName typeNames[] = {
    // clang-format off
    {FileType::Empty, "empty"},   {FileType::Bool, "bool"},     {FileType::Int, "int"},
    {FileType::Int64, "int64"},   {FileType::Double, "double"}, {FileType::String, "string"},
    // clang-format on
};

QString nameOf(FileType type)
{
    for (const TypeName &entry : typeNames) {
        if (entry.type == type)
            return QString::fromLatin1(entry.name);
    }
    return QString();
}

std::optional<FileType> typeFromName(const QString &name)
{
    for (const TypeName &entry : typeNames) {
        if (name == QLatin1String(entry.name))
            return entry.type;
    }
    return std::nullopt;
}

std::optional<FileType> fileTypeOf(const QVariant &value)
{
    if (!value.isValid())
        return FileType::Empty;
    switch (value.metaType().id()) {
    case QMetaType::Bool:
        return FileType::Bool;
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return FileType::Int;
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
        return FileType::Int64;
    case QMetaType::Float:
    case QMetaType::Double:
        return FileType::Double;
    case QMetaType::QString:
        return FileType::String;
    default:
        return std::nullopt;
    }
}

QJsonValue toJson(const QVariant &value, FileType type)
{
    switch (type) {
    case FileType::Empty:
        return QJsonValue(QJsonValue::Null);
    case FileType::Bool:
        return value.toBool();
    case FileType::Int:
        return value.toInt();
    case FileType::Int64:
        return QString::number(value.toLongLong());
    case FileType::Double: {
        const double number = value.toDouble();
        if (std::isfinite(number))
            return number;
        return std::isnan(number) ? QStringLiteral("nan")
               : number > 0       ? QStringLiteral("inf")
                                  : QStringLiteral("-inf");
    }
    case FileType::String:
        return value.toString();
    }
    return QJsonValue();
}

[[noreturn]] void corrupt(const QString &path, const QString &reason)
{
    throw Error(QStringLiteral("The property file %1 is corrupt: %2").arg(path, reason));
}

[[noreturn]] void wrongValue(const QString &path, const QString &name, FileType type)
{
    corrupt(path, QStringLiteral("the value of %1 is not a valid %2").arg(name, nameOf(type)));
}

QVariant fromJson(const QJsonValue &json, FileType type, const QString &path, const QString &name)
{
    const auto wrong = [&] { wrongValue(path, name, type); };
    switch (type) {
    case FileType::Empty:
        if (!json.isNull())
            wrong();
        return QVariant();
    case FileType::Bool:
        if (!json.isBool())
            wrong();
        return json.toBool();
    case FileType::Int: {
        const double number = json.toDouble();
        if (!json.isDouble() || number != std::floor(number)
            || number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max())
            wrong();
        return int(number);
    }
    case FileType::Int64: {
        bool ok = false;
        const qlonglong number = json.toString().toLongLong(&ok);
        if (!json.isString() || !ok)
            wrong();
        return number;
    }
    case FileType::Double: {
        if (json.isDouble())
            return json.toDouble();
        const QString text = json.toString();
        if (text == QLatin1String("nan"))
            return std::numeric_limits<double>::quiet_NaN();
        if (text == QLatin1String("inf"))
            return std::numeric_limits<double>::infinity();
        if (text == QLatin1String("-inf"))
            return -std::numeric_limits<double>::infinity();
        wrongValue(path, name, type);
    }
    case FileType::String:
        if (!json.isString())
            wrong();
        return json.toString();
    }
    return QVariant();
}

} // namespace

void FilePropertyBag::storeValue(const QString &name, const QVariant &value)
{
    if (!fileTypeOf(value)) {
        throw Error(QStringLiteral("The property %1 cannot be kept in a property file: values "
                                   "of type %2 are not supported")
                        .arg(name, QString::fromLatin1(value.metaType().name())));
    }
    MemoryPropertyBag::storeValue(name, value);
}

void FilePropertyBag::load(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(
            QStringLiteral("Cannot read the property file %1: %2").arg(path, file.errorString()));
    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (parseError.error != QJsonParseError::NoError)
        corrupt(path, parseError.errorString());
    if (file.error() != QFileDevice::NoError)
        throw Error(
            QStringLiteral("Cannot read the property file %1: %2").arg(path, file.errorString()));

    const QJsonObject root = document.object();
    if (!document.isObject() || root.value(QLatin1String("format")).toString() != formatTag)
        corrupt(path, QStringLiteral("it is not a property file"));
    const QJsonValue version = root.value(QLatin1String("version"));
    if (!version.isDouble() || version.toDouble() != std::floor(version.toDouble())
        || version.toDouble() < 1)
        corrupt(path, QStringLiteral("it has no valid version"));
    if (version.toDouble() > fileVersion) {
        throw Error(QStringLiteral("The property file %1 has version %2; this program reads "
                                   "version %3 and older")
                        .arg(path)
                        .arg(version.toDouble())
                        .arg(fileVersion));
    }
    const QJsonValue properties = root.value(QLatin1String("properties"));
    if (!properties.isArray())
        corrupt(path, QStringLiteral("it has no list of properties"));

    QList<Entry> loaded;
    const auto known = [&loaded](const QString &name) {
        for (const Entry &entry : loaded) {
            if (entry.name.compare(name, Qt::CaseInsensitive) == 0)
                return true;
        }
        return false;
    };
    for (const QJsonValue &item : properties.toArray()) {
        const QJsonObject entry = item.toObject();
        const QString name = entry.value(QLatin1String("name")).toString();
        if (!item.isObject() || name.isEmpty())
            corrupt(path, QStringLiteral("a property has no name"));
        const std::optional<FileType> type =
            typeFromName(entry.value(QLatin1String("type")).toString());
        if (!type)
            corrupt(path, QStringLiteral("the property %1 has no valid type").arg(name));
        if (known(name))
            corrupt(path, QStringLiteral("the property %1 appears twice").arg(name));
        loaded.append({name, fromJson(entry.value(QLatin1String("value")), *type, path, name)});
    }
    m_entries = loaded;
}

void FilePropertyBag::save(const QString &path) const
{
    QJsonArray properties;
    for (const Entry &entry : m_entries) {
        const FileType type = fileTypeOf(entry.value).value_or(FileType::String);
        properties.append(QJsonObject{{QStringLiteral("name"), entry.name},
                                      {QStringLiteral("type"), nameOf(type)},
                                      {QStringLiteral("value"), toJson(entry.value, type)}});
    }
    const QJsonObject root{{QStringLiteral("format"), formatTag},
                           {QStringLiteral("version"), fileVersion},
                           {QStringLiteral("properties"), properties}};

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(root).toJson()) < 0
        || !file.commit()) {
        throw Error(
            QStringLiteral("Cannot write the property file %1: %2").arg(path, file.errorString()));
    }
}

} // namespace platform::automation
