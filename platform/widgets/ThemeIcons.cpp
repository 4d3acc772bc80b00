#include "platform/widgets/ThemeIcons.h"

#include <QDir>
#include <QStandardPaths>

namespace platform::widgets {

void ensureIconTheme()
{
    // "hicolor" is only the base every theme inherits; it holds no action icons. The theme is
    // decided from its name alone: Qt keeps the answers of icon look-ups made before a theme
    // change, so a probe here would spoil the look-ups under the new theme.
    const QString current = QIcon::themeName();
    const QString wanted = QString::fromLatin1(fallbackIconTheme);
    if (!current.isEmpty() && current != QLatin1String("hicolor"))
        return;
    // Without a desktop Qt may search no system icon folder at all.
    QStringList paths = QIcon::themeSearchPaths();
    const QStringList dataDirs =
        QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
    for (const QString &dataDir : dataDirs) {
        const QString icons = QDir(dataDir).filePath(QStringLiteral("icons"));
        if (!paths.contains(icons) && QDir(icons).exists())
            paths.append(icons);
    }
    if (paths != QIcon::themeSearchPaths())
        QIcon::setThemeSearchPaths(paths);
    QIcon::setThemeName(wanted);
}

QIcon themeIcon(const QStringList &names, const QIcon &fallback)
{
    ensureIconTheme();
    for (const QString &name : names) {
        if (QIcon::hasThemeIcon(name))
            return QIcon::fromTheme(name);
    }
    return fallback;
}

} // namespace platform::widgets
