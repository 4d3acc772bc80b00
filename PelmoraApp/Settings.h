#pragma once

#include <QList>
#include <QRect>
#include <QString>

// The program's per-user settings, kept in the registry store under
//     HKEY_CURRENT_USER\Software\Program Settings\<application>\<section>
// one string value per key, as every program of this kind keeps them.
namespace pelmoraapp {

inline const QString applicationName = QStringLiteral("PelmoraApp.en");
inline const QString settingsSection = QStringLiteral("Settings");

// "Software\Program Settings\PelmoraApp.en\Settings"
QString settingsKeyPath(const QString &application, const QString &section);

// The stored text, or `defaultValue` when the key (or the store) has none.
QString getSetting(const QString &application, const QString &section, const QString &key,
                   const QString &defaultValue);
// Stores a text; answers false when the store cannot be written.
bool saveSetting(const QString &application, const QString &section, const QString &key,
                 const QString &value);

// The main window's place in twips, as stored.
struct StoredGeometry
{
    float left = 1000;
    float top = 1000;
    float width = 6500;
    float height = 6500;
    bool operator==(const StoredGeometry &) const = default;
};

// The four values "MainLeft", "MainTop", "MainWidth", "MainHeight" read in that order, each
// text read as a single-precision number in the user's locale; a missing value, or one that
// is not a number, takes its default (1000, 1000, 6500, 6500).
StoredGeometry readStoredGeometry();
// Each value written as the text of a single-precision number in the user's locale.
void writeStoredGeometry(const StoredGeometry &geometry);

// A window placed by stored values may lie off every screen (a monitor since removed): when
// less than a strip of its top edge is on any of `screens`, it is moved onto the first screen
// at `fallbackOffset` from its corner, and shrunk to fit that screen. A window on a screen
// keeps its place; it is only shrunk when it is larger than all the screens together.
QRect fitOntoScreens(const QRect &window, const QList<QRect> &screens,
                     const QPoint &fallbackOffset);

} // namespace pelmoraapp
