#pragma once

#include <QIcon>
#include <QString>
#include <QStringList>

namespace platform::widgets {

// The freedesktop icon theme the programs take their pictures from. Without a desktop (Xvfb,
// the offscreen platform) Qt selects no theme, or only the base theme "hicolor", which holds
// no action icons; this selects Adwaita then, and adds the system icon folders to the search
// paths when Qt left them out. A desktop's own theme is kept.
inline constexpr const char *fallbackIconTheme = "Adwaita";
void ensureIconTheme();

// The first of `names` that the theme has (after ensureIconTheme), else `fallback`.
QIcon themeIcon(const QStringList &names, const QIcon &fallback = QIcon());

} // namespace platform::widgets
