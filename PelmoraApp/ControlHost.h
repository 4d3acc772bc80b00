#pragma once

#include <QString>
#include <QVariant>

class QObject;
class QWidget;

// Creating the cube control and talking to it through its automation interface: properties
// and methods by name, so the host depends on nothing but the names.
namespace pelmoraapp {

inline const QString controlClass = QStringLiteral("PelmoraApp.PelmoraC02");

// The file of the control library this program has loaded (the one beside it).
QString controlLibrary();

// Registers the control library this program has loaded when the class is not registered, its
// registered library no longer exists, or it is another library than this one. Throws
// platform::Error when the store cannot be written.
void ensureControlRegistered();

// Creates the control by its class name inside `parent`, as a stored instance whose property
// bag holds the four font names "Arial" and PreviewChartInNewPage False. Throws platform::Error
// when the class cannot be created.
QWidget *createPelmoraControl(QWidget *parent);

// Sets a property by name; answers false (and changes nothing) when the control has no such
// property or refuses the value.
bool setControlProperty(QObject *control, const char *name, const QVariant &value);
// Reads a property by name; an invalid value when the control has none.
QVariant controlProperty(const QObject *control, const char *name);

// Calls doAction(keyword) and answers its result; false when the control has no such method.
bool runAction(QObject *control, const QString &keyword);
// Calls writeView(file) and answers its result; false when the control has no such method.
bool writeView(QObject *control, const QString &file);

// What the host asks of each new control: the language, and its own toolbar hidden (the
// host's replaces it).
void prepareControl(QObject *control, int languageId);

// The view's caption: the Caption property; empty for a control without one.
QString controlCaption(const QObject *control);

} // namespace pelmoraapp
