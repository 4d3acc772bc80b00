#pragma once

#include <QList>
#include <QString>

// What each menu item and toolbar button of the main window does.
namespace pelmoraapp {

enum class HostCommand {
    None,
    OpenWindow, // a new child window, which asks what to open
    CloseChild, // the active child window is unloaded
    Save,       // the host's save of the active view
    Forward,    // the keyword goes to the active child's control
    Exit,       // the main window unloads
    ToggleToolbar,
    ToggleStatusBar,
    Interactive, // the active view becomes non-interactive
    Arrange,     // the child windows are arranged
    HelpContents,
    About, // forwarded "AboutBox", or the about box of a hidden control
};

// The window arrangements, numbered as the Window menu's items.
// clang-format off
enum class Arrangement : int { Cascade = 0, TileHorizontal = 1, TileVertical = 2,
                               ArrangeIcons = 3 };
// clang-format on

struct CommandTarget
{
    HostCommand command = HostCommand::None;
    QString keyword;                                // for Forward and About
    Arrangement arrangement = Arrangement::Cascade; // for Arrange
};

// The command of a menu item by its name ("mnuFilePrint"); None for a menu or a separator.
CommandTarget menuCommand(const QString &menuItem);

// The command of a toolbar key: "openOlap" (compared exactly) opens a window, every other key
// is forwarded unchanged.
CommandTarget toolbarCommand(const QString &key);

// Where dispatchAction sends a keyword.
enum class DispatchTarget { ActiveControl, AboutWithoutWindow, Nothing };
DispatchTarget dispatchTarget(const QString &keyword, bool hasActiveChild);

} // namespace pelmoraapp
