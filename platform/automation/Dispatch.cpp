#include "platform/automation/Dispatch.h"

#include "platform/runtime/Error.h"

#include <QMetaMethod>
#include <QMetaObject>
#include <QMetaProperty>
#include <QObject>

#include <optional>
#include <vector>

namespace platform::automation {

namespace {

// Members are looked up class by class from the most derived one, so that a control's own
// "Enabled" or "Font" wins over QWidget's "enabled" or "font" even when the caller's spelling
// matches the base class exactly. Within one class an exact match comes first.

QString memberName(const char *name)
{
    return QString::fromUtf8(name);
}

bool sameName(const QString &a, const QString &b, Qt::CaseSensitivity sensitivity)
{
    return a.compare(b, sensitivity) == 0;
}

[[noreturn]] void unknownMember(const QString &name)
{
    throw Error(QStringLiteral("Object doesn't support this property or method: %1").arg(name));
}

void requireObject(const QObject *object, const QString &name)
{
    if (!object)
        throw Error(QStringLiteral("Object required to use the property or method: %1").arg(name));
}

std::optional<QMetaProperty> findProperty(const QObject *object, const QString &name)
{
    for (const QMetaObject *meta = object->metaObject(); meta; meta = meta->superClass()) {
        for (const Qt::CaseSensitivity sensitivity : {Qt::CaseSensitive, Qt::CaseInsensitive}) {
            for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
                const QMetaProperty property = meta->property(i);
                if (sameName(memberName(property.name()), name, sensitivity))
                    return property;
            }
        }
    }
    return std::nullopt;
}

QString typeName(const QVariant &value)
{
    return value.isValid() ? QString::fromLatin1(value.metaType().name())
                           : QStringLiteral("an empty value");
}

// Converts `value` in place to `type`. An empty value becomes the type's default value, as an
// automation client's Empty does.
bool convertTo(QVariant &value, QMetaType type)
{
    if (!type.isValid())
        return false;
    if (type == QMetaType::fromType<QVariant>() || value.metaType() == type)
        return true;
    if (!value.isValid()) {
        value = QVariant(type);
        return true;
    }
    return value.convert(type);
}

bool isCallable(const QMetaMethod &method)
{
    return method.access() == QMetaMethod::Public
           && (method.methodType() == QMetaMethod::Method
               || method.methodType() == QMetaMethod::Slot);
}

struct Call
{
    QMetaMethod method;
    std::vector<QVariant> arguments; // converted to the parameter types
};

// Converts every argument for `method`; answers the index of the first one that fails, or -1.
int convertArguments(const QMetaMethod &method, const QVariantList &args,
                     std::vector<QVariant> &converted)
{
    converted.assign(args.begin(), args.end());
    for (int i = 0; i < method.parameterCount(); ++i) {
        if (!convertTo(converted[size_t(i)], method.parameterMetaType(i)))
            return i;
    }
    return -1;
}

Call resolveCall(const QObject *object, const QString &name, const QVariantList &args)
{
    bool nameSeen = false;
    for (const QMetaObject *meta = object->metaObject(); meta; meta = meta->superClass()) {
        for (const Qt::CaseSensitivity sensitivity : {Qt::CaseSensitive, Qt::CaseInsensitive}) {
            std::optional<QString> mismatch;
            for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
                const QMetaMethod method = meta->method(i);
                if (!isCallable(method)
                    || !sameName(memberName(method.name().constData()), name, sensitivity))
                    continue;
                nameSeen = true;
                if (method.parameterCount() != args.size())
                    continue;
                Call call{method, {}};
                const int failed = convertArguments(method, args, call.arguments);
                if (failed < 0)
                    return call;
                if (!mismatch) {
                    mismatch =
                        QStringLiteral("Type mismatch in argument %1 of %2: cannot "
                                       "convert %3 to %4")
                            .arg(failed + 1)
                            .arg(name, typeName(args[failed]),
                                 QString::fromLatin1(method.parameterMetaType(failed).name()));
                }
            }
            if (mismatch)
                throw Error(*mismatch);
        }
    }
    if (nameSeen) {
        throw Error(QStringLiteral("Wrong number of arguments for %1: %2 given")
                        .arg(name)
                        .arg(args.size()));
    }
    unknownMember(name);
}

} // namespace

QVariant getProperty(const QObject *object, const QString &name)
{
    requireObject(object, name);
    const std::optional<QMetaProperty> property = findProperty(object, name);
    if (!property)
        unknownMember(name);
    if (!property->isReadable())
        throw Error(QStringLiteral("Property is write-only: %1").arg(name));
    return property->read(object);
}

void setProperty(QObject *object, const QString &name, const QVariant &value)
{
    requireObject(object, name);
    const std::optional<QMetaProperty> property = findProperty(object, name);
    if (!property)
        unknownMember(name);
    if (!property->isWritable())
        throw Error(QStringLiteral("Property is read-only: %1").arg(name));

    QVariant converted = value;
    // Enumerations accept their key names as well as numbers; QMetaProperty::write does that.
    if (!property->isEnumType() && !convertTo(converted, property->metaType())) {
        throw Error(
            QStringLiteral("Invalid property value for %1: cannot convert %2 to %3")
                .arg(name, typeName(value), QString::fromLatin1(property->metaType().name())));
    }
    if (!property->write(object, converted))
        throw Error(QStringLiteral("Invalid property value for %1").arg(name));
}

QVariant invoke(QObject *object, const QString &name, const QVariantList &args)
{
    requireObject(object, name);
    Call call = resolveCall(object, name, args);

    std::vector<void *> argv(call.arguments.size() + 1, nullptr);
    for (size_t i = 0; i < call.arguments.size(); ++i) {
        QVariant &argument = call.arguments[i];
        const bool passVariant =
            call.method.parameterMetaType(int(i)) == QMetaType::fromType<QVariant>();
        argv[i + 1] = passVariant ? static_cast<void *>(&argument) : argument.data();
    }

    const QMetaType returnType = call.method.returnMetaType();
    QVariant result;
    if (returnType == QMetaType::fromType<QVariant>())
        argv[0] = &result;
    else if (returnType.isValid() && returnType.id() != QMetaType::Void) {
        result = QVariant(returnType);
        argv[0] = result.data();
    }
    QMetaObject::metacall(object, QMetaObject::InvokeMetaMethod, call.method.methodIndex(),
                          argv.data());
    return result;
}

} // namespace platform::automation
