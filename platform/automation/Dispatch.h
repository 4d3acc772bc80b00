#pragma once

#include <QString>
#include <QVariant>
#include <QVariantList>

class QObject;

namespace platform::automation {

// By-name access to an object's automation interface, through Qt's meta-object system:
// properties are its Q_PROPERTYs, methods its Q_INVOKABLEs and public slots. Names are compared
// without regard to case, as automation clients do; an exact match is preferred. Every failure
// (unknown name, read-only property, wrong argument count, a value that does not convert to the
// member's type) throws platform::Error naming the member.

QVariant getProperty(const QObject *object, const QString &name);
void setProperty(QObject *object, const QString &name, const QVariant &value);

// Calls the method `name` that takes args.size() arguments, converting each argument to its
// parameter type. Answers the method's result, or an invalid QVariant for a void method.
QVariant invoke(QObject *object, const QString &name, const QVariantList &args = {});

} // namespace platform::automation
