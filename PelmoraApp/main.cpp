// The host program PelmoraApp.en: one main window holding a cube view per child window.
#include "PelmoraApp/HostApplication.h"
#include "PelmoraApp/Settings.h"
#include "PelmoraApp/en.h"
#include "PelmoraApp/frmMain.h"
#include "platform/forms/AppInfo.h"
#include "platform/widgets/ThemeIcons.h"

namespace Module1 {

// Creates the main window, gives it the build's language, loads it (which opens the first
// child window) and shows it; the program runs until the main window closes.
int Main(pelmoraapp::HostApplication &app)
{
    frmMain main;
    main.vLanguageId = en::languageId();
    main.MDIForm_Load(app.arguments().mid(1));
    app.setLanguageId(main.vLanguageId);
    main.show();
    return app.exec();
}

} // namespace Module1

int main(int argc, char **argv)
{
    pelmoraapp::HostApplication app(argc, argv);
    app.setApplicationName(pelmoraapp::applicationName);
    platform::forms::setAppTitle(pelmoraapp::applicationName);
    platform::widgets::ensureIconTheme();
    return Module1::Main(app);
}
