#include "PelmoraApp/Commands.h"

#include <QHash>

namespace pelmoraapp {

namespace {

CommandTarget command(HostCommand c)
{
    return {c, QString(), Arrangement::Cascade};
}

CommandTarget forward(const char *keyword)
{
    return {HostCommand::Forward, QString::fromLatin1(keyword), Arrangement::Cascade};
}

CommandTarget arrange(Arrangement arrangement)
{
    return {HostCommand::Arrange, QString(), arrangement};
}

} // namespace

CommandTarget menuCommand(const QString &menuItem)
{
    static const QHash<QString, CommandTarget> commands = {
        {QStringLiteral("mnuFileOpen"), command(HostCommand::OpenWindow)},
        {QStringLiteral("mnuFileClose"), command(HostCommand::CloseChild)},
        {QStringLiteral("mnuFileSave"), command(HostCommand::Save)},
        {QStringLiteral("mnuFilePrint"), forward("printView")},
        {QStringLiteral("mnuFileExport"), forward("ExportView")},
        {QStringLiteral("mnuFileExit"), command(HostCommand::Exit)},
        {QStringLiteral("mnuEditCopy"), forward("copyView")},
        {QStringLiteral("mnuEditFormat"), forward("doFormat")},
        {QStringLiteral("mnuViewToolbar"), command(HostCommand::ToggleToolbar)},
        {QStringLiteral("mnuViewStatusBar"), command(HostCommand::ToggleStatusBar)},
        {QStringLiteral("mnuActionsMDXDirect"), forward("directMDX")},
        {QStringLiteral("mnuActionsShowElements"), forward("showElements")},
        {QStringLiteral("mnuActionsChart2d"), forward("showChart2d")},
        {QStringLiteral("mnuActionsChart3d"), forward("showChart3d")},
        {QStringLiteral("mnuActionsSwapXY"), forward("doSwapXY")},
        {QStringLiteral("mnuActionsLayout"), forward("showLayout")},
        {QStringLiteral("mnuActionsDimension"), forward("dimensionOptions")},
        {QStringLiteral("mnuActionsInteractive"), command(HostCommand::Interactive)},
        {QStringLiteral("mnuWindowCascade"), arrange(Arrangement::Cascade)},
        {QStringLiteral("mnuWindowTileHorizontal"), arrange(Arrangement::TileHorizontal)},
        {QStringLiteral("mnuWindowTileVertical"), arrange(Arrangement::TileVertical)},
        {QStringLiteral("mnuWindowArrangeIcons"), arrange(Arrangement::ArrangeIcons)},
        {QStringLiteral("mnuHelpContents"), command(HostCommand::HelpContents)},
        {QStringLiteral("mnuHelpAbout"),
         {HostCommand::About, QStringLiteral("AboutBox"), Arrangement::Cascade}},
    };
    return commands.value(menuItem);
}

CommandTarget toolbarCommand(const QString &key)
{
    if (key == QLatin1String("openOlap"))
        return command(HostCommand::OpenWindow);
    return {HostCommand::Forward, key, Arrangement::Cascade};
}

DispatchTarget dispatchTarget(const QString &keyword, bool hasActiveChild)
{
    if (hasActiveChild)
        return DispatchTarget::ActiveControl;
    if (keyword.toUpper() == QLatin1String("ABOUTBOX"))
        return DispatchTarget::AboutWithoutWindow;
    return DispatchTarget::Nothing;
}

} // namespace pelmoraapp
