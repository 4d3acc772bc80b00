#pragma once

#include "PelmoraApp/CommandLine.h"
#include "PelmoraApp/Commands.h"

#include <QHash>
#include <QIcon>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <QUrl>

#include <functional>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QTimer;
class frmPelmoraXpalOmrf;

namespace platform::widgets {
class CommonDialog;
class ImageList;
class Toolbar;
class ToolbarButton;
} // namespace platform::widgets

// The main window of the host: any number of child windows, each with one cube control, and
// the menus, toolbar and status bar whose commands go to the active child's control.
class frmMain : public QMainWindow
{
    Q_OBJECT

public:
    explicit frmMain(QWidget *parent = nullptr);
    ~frmMain() override;

    // The interface language, 0 English, 1 Spanish; set before the window loads.
    int vLanguageId = 0;

    // Splits a command given as one text into tokens 0 to 2.
    void parseCmd(const QString &cmd);
    // The texts of vLanguageId: Spanish menu captions, or English toolbar tooltips.
    void setTitles();

    // Loads the window: the command line (the program's arguments without its name), the
    // language, the titles, the stored geometry, and the first child window.
    void MDIForm_Load(const QStringList &arguments);
    // Stores the geometry unless the window is minimised; runs when the window closes.
    void MDIForm_Unload();

    const pelmoraapp::CommandTokens &tokens() const { return m_tokens; }
    int windowCounter() const { return m_windowCounter; }

    // Creates the control of a new child window; the real control by its class name unless
    // a test gives another.
    using ControlFactory = std::function<QWidget *(QWidget *parent)>;
    void setControlFactory(ControlFactory factory) { m_controlFactory = std::move(factory); }

    // The help file, and how a file is shown in the desktop's browser (tests replace it).
    QString helpFile() const { return m_helpFile; }
    void setHelpFile(const QString &file) { m_helpFile = file; }
    using HelpOpener = std::function<bool(const QUrl &)>;
    void setHelpOpener(HelpOpener opener) { m_helpOpener = std::move(opener); }

    // The child windows in the order opened, and the active one (null when none is open).
    QList<frmPelmoraXpalOmrf *> childWindows() const;
    frmPelmoraXpalOmrf *activeChild() const;

    // A menu item or menu by its name ("mnuFileOpen", "mnuFile").
    QAction *menuAction(const QString &name) const { return m_actions.value(name); }
    QMenu *menu(const QString &name) const { return m_menus.value(name); }

    QMdiArea *mdiArea = nullptr;
    platform::widgets::Toolbar *tbToolBar = nullptr;
    platform::widgets::ImageList *ImageList1 = nullptr;
    QStatusBar *sbStatusBar = nullptr;
    platform::widgets::CommonDialog *dlgCommonDialog = nullptr;
    // The status bar's panels: empty text, date, time.
    QLabel *sbPanels[3] = {nullptr, nullptr, nullptr};

    // The picture of the main window and of every child window: one of the toolbar's.
    static constexpr int programImage = 9;
    QIcon programIcon() const;

    // Arranges the child windows (Window menu).
    void arrange(pelmoraapp::Arrangement arrangement);
    // Fills the status bar's date and time.
    void updateClock();

    // The click handlers, by menu item and toolbar button.
    void mnuFileOpen_Click();
    void mnuFileClose_Click();
    void mnuFileSave_Click();
    void mnuFileExit_Click();
    void mnuViewToolbar_Click();
    void mnuViewStatusBar_Click();
    void mnuActionsInteractive_Click();
    void mnuHelpContents_Click();
    void mnuHelpAbout_Click();
    void tbToolBar_ButtonClick(platform::widgets::ToolbarButton *Button);

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildMenus();
    void buildToolbar();
    void buildStatusBar();
    void runMenuCommand(const QString &name);
    void fillWindowList();
    void followActiveChild();
    void applyStoredGeometry();
    // Gives every view not sized yet three quarters of the workspace (never less than its
    // control's minimum); only once the workspace is shown and has its size.
    void sizeNewViews();

    void openWindow();
    void showAboutWithoutWindow();
    void dispatchAction(const QString &keyword);
    // A new child window, not shown, with a prepared control; null when the control cannot be
    // created (the reason has been shown).
    frmPelmoraXpalOmrf *newChild();

    pelmoraapp::CommandTokens m_tokens;
    int m_windowCounter = 0;
    ControlFactory m_controlFactory;
    QString m_helpFile;
    HelpOpener m_helpOpener;
    QHash<QString, QAction *> m_actions;
    QHash<QString, QMenu *> m_menus;
    QList<QAction *> m_windowListActions;
    QTimer *m_clock = nullptr;
    bool m_unloaded = false;
};
