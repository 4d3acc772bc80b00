// The uninstaller: removes the product that the information appended to this program file
// describes. "/SILENT" runs without a window or a question; "/NOREMOVE" keeps this file.
#include "uninstaller/Run.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFile>

#include <memory>

int main(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    // A silent run needs no display.
    std::unique_ptr<QCoreApplication> app;
    if (uninstaller::hasSwitch(arguments, QStringLiteral("/SILENT")))
        app = std::make_unique<QCoreApplication>(argc, argv);
    else
        app = std::make_unique<QApplication>(argc, argv);
    app->setApplicationName(QStringLiteral("uninstaller"));

    uninstaller::RunSettings settings;
    settings.programPath = QFile::encodeName(QCoreApplication::applicationFilePath());
    settings.bootDirectory = qEnvironmentVariable("PELMORA_BOOT_REMOVAL_DIR");
    settings.restartSystem = uninstaller::restartThroughSystemd;
    return uninstaller::runUninstaller(arguments, settings);
}
