#pragma once

#include <QList>
#include <QString>

// The texts of the host's main window: menu captions in both languages, the toolbar's keys and
// tooltips, and the messages of its commands.
namespace pelmoraapp {

inline constexpr int englishId = 0;
inline constexpr int spanishId = 1;

// One entry of the menus, in menu order. A separator keeps "-" in both languages; `spanish`
// is empty for the entries the Spanish titles leave alone.
struct MenuEntry
{
    QString name;     // "mnuFileOpen"
    QString menu;     // the top-level menu it belongs to; empty for a top-level menu itself
    QString english;  // the caption as built
    QString shortcut; // "Ctrl+O", or empty
    QString spanish;  // the caption setTitles puts on it in Spanish
    bool separator = false;
    bool checked = false; // a check mark that starts set
    bool hidden = false;  // built but never shown
};
const QList<MenuEntry> &menuEntries();

// The captions of a language in menu order, separators and hidden entries left out: the 30
// Spanish ones for language 1, the built English ones for any other.
QList<QPair<QString, QString>> menuCaptions(int languageId);

// One item of the toolbar, numbered from 1. Separators have no key.
struct ToolbarEntry
{
    int index = 0;
    QString key;
    QString builtTip;   // the tooltip as built
    QString englishTip; // the tooltip setTitles puts on it in English
    int image = 0;      // picture number of the toolbar images; 0 for a separator
};
inline constexpr int toolbarEntryCount = 19;
const QList<ToolbarEntry> &toolbarEntries();

// The messages of the host's commands.
enum class HostText {
    SaveTitle,
    SaveFilter,
    OverwriteBefore, // + file name + OverwriteAfter
    OverwriteAfter,
    InteractiveRefused,
    NoHelp,
    HelpFailed,       // + help file
    SaveFailedBefore, // + file name + SaveFailedAfter
    SaveFailedAfter,
    SaveFailedKeptAs, // the old view could not be put back: + the names it is kept under
    NoControl,        // + the reason
    EventFailed,      // + the reason: an error that no procedure caught
};
// Spanish for language 1, English for any other.
QString hostText(HostText text, int languageId);

// The overwrite question and the failed-save note for a file name.
QString overwriteQuestion(const QString &fileName, int languageId);
// `keptAs`: the names of the old files that could not be put back (empty when all were).
QString saveFailedNote(const QString &fileName, int languageId,
                       const QStringList &keptAs = QStringList());

} // namespace pelmoraapp
