// Trazel: the chart format editor alone, on "def.oc2" in the program's folder. The program ends
// when its window closes.
#include "Control/GrfDialogo/frmTrazel.h"
#include "platform/forms/AppInfo.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    frmTrazel form(platform::forms::appPath());
    form.Form_Load();
    QObject::connect(&form, &QDialog::finished, &app, &QApplication::quit);
    form.show();
    return app.exec();
}
