#include "PelmoraApp/Settings.h"

#include "platform/registry/Store.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/Numbers.h"

#include <algorithm>
#include <cmath>

namespace pelmoraapp {

using platform::registry::Root;
using platform::registry::Store;

QString settingsKeyPath(const QString &application, const QString &section)
{
    return QStringLiteral("Software\\Program Settings\\") + application + QLatin1Char('\\')
           + section;
}

QString getSetting(const QString &application, const QString &section, const QString &key,
                   const QString &defaultValue)
{
    const std::optional<QString> value =
        Store().queryValue(Root::CurrentUser, settingsKeyPath(application, section), key);
    return value ? *value : defaultValue;
}

bool saveSetting(const QString &application, const QString &section, const QString &key,
                 const QString &value)
{
    Store store;
    const QString path = settingsKeyPath(application, section);
    return store.createKey(Root::CurrentUser, path)
           && store.setValue(Root::CurrentUser, path, key, value);
}

namespace {

float readValue(const QString &key, float defaultValue)
{
    const QString text = getSetting(applicationName, settingsSection, key,
                                    platform::runtime::singleText(defaultValue));
    try {
        const double value = platform::runtime::toDouble(text);
        if (!std::isfinite(value) || std::abs(value) > 1e9)
            return defaultValue;
        return float(value);
    } catch (const platform::Error &) {
        return defaultValue;
    }
}

} // namespace

StoredGeometry readStoredGeometry()
{
    StoredGeometry g;
    g.left = readValue(QStringLiteral("MainLeft"), g.left);
    g.top = readValue(QStringLiteral("MainTop"), g.top);
    g.width = readValue(QStringLiteral("MainWidth"), g.width);
    g.height = readValue(QStringLiteral("MainHeight"), g.height);
    return g;
}

void writeStoredGeometry(const StoredGeometry &g)
{
    using platform::runtime::singleText;
    saveSetting(applicationName, settingsSection, QStringLiteral("MainLeft"), singleText(g.left));
    saveSetting(applicationName, settingsSection, QStringLiteral("MainTop"), singleText(g.top));
    saveSetting(applicationName, settingsSection, QStringLiteral("MainWidth"), singleText(g.width));
    saveSetting(applicationName, settingsSection, QStringLiteral("MainHeight"),
                singleText(g.height));
}

QRect fitOntoScreens(const QRect &requested, const QList<QRect> &screens,
                     const QPoint &fallbackOffset)
{
    if (screens.isEmpty())
        return requested;
    // No larger than all the screens together.
    QRect bounds;
    for (const QRect &screen : screens)
        bounds = bounds.united(screen);
    const QRect window(requested.topLeft(), requested.size().boundedTo(bounds.size()));
    // The strip along the top edge where the title bar is: the user can drag the window back
    // as long as a piece of it shows.
    const int strip = std::max(1, std::min(window.height(), 24));
    const QRect top(window.topLeft(), QSize(window.width(), strip));
    for (const QRect &screen : screens) {
        const QRect seen = screen.intersected(top);
        if (seen.width() >= std::min(window.width(), 48) && seen.height() >= strip / 2 + 1)
            return window;
    }
    const QRect &screen = screens.first();
    const QSize size(std::clamp(window.width(), 1, std::max(1, screen.width())),
                     std::clamp(window.height(), 1, std::max(1, screen.height())));
    QPoint corner = screen.topLeft() + fallbackOffset;
    corner.setX(std::min(corner.x(), screen.right() + 1 - size.width()));
    corner.setY(std::min(corner.y(), screen.bottom() + 1 - size.height()));
    corner.setX(std::max(corner.x(), screen.left()));
    corner.setY(std::max(corner.y(), screen.top()));
    return QRect(corner, size);
}

} // namespace pelmoraapp
