#include "PelmoraApp/frmMain.h"

#include "Control/core/ToolbarButtons.h"
#include "PelmoraApp/Arrange.h"
#include "PelmoraApp/ControlHost.h"
#include "PelmoraApp/HostTables.h"
#include "PelmoraApp/SaveAside.h"
#include "PelmoraApp/Settings.h"
#include "PelmoraApp/frmPelmoraXpalOmrf.h"
#include "platform/forms/AppInfo.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/ScreenTwips.h"
#include "platform/runtime/Error.h"
#include "platform/widgets/CommonDialog.h"
#include "platform/widgets/ImageList.h"
#include "platform/widgets/Toolbar.h"

#include <QCloseEvent>
#include <QDate>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>
#include <QShowEvent>
#include <QStatusBar>
#include <QTime>
#include <QTimer>

#include <algorithm>
#include <exception>

using namespace pelmoraapp;
using platform::forms::msgBox;
using platform::widgets::ButtonStyle;

frmMain::frmMain(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Pelmora Application"));

    mdiArea = new QMdiArea(this);
    mdiArea->setObjectName(QStringLiteral("mdiArea"));
    mdiArea->setBackground(palette().brush(QPalette::Dark));
    setCentralWidget(mdiArea);
    connect(mdiArea, &QMdiArea::subWindowActivated, this, [this] { followActiveChild(); });

    buildMenus();
    buildToolbar();
    buildStatusBar();

    dlgCommonDialog = new platform::widgets::CommonDialog(this);
    dlgCommonDialog->setObjectName(QStringLiteral("dlgCommonDialog"));

    m_controlFactory = [](QWidget *parent) { return createPelmoraControl(parent); };
    m_helpFile = QDir(platform::forms::appPath()).filePath(QStringLiteral("help/index.html"));
    m_helpOpener = [](const QUrl &url) { return QDesktopServices::openUrl(url); };
}

frmMain::~frmMain()
{
    // The area reports its windows going while this window's members are already gone.
    disconnect(mdiArea, nullptr, this, nullptr);
}

void frmMain::buildMenus()
{
    for (const MenuEntry &e : menuEntries()) {
        if (e.menu.isEmpty()) {
            QMenu *m = menuBar()->addMenu(e.english);
            m->setObjectName(e.name);
            m_menus.insert(e.name, m);
            m_actions.insert(e.name, m->menuAction());
            continue;
        }
        QMenu *parentMenu = m_menus.value(e.menu);
        QAction *a = e.separator ? parentMenu->addSeparator() : parentMenu->addAction(e.english);
        a->setObjectName(e.name);
        // A separator is a plain line on screen; the table's "-" is its caption only.
        if (!e.shortcut.isEmpty())
            a->setShortcut(QKeySequence(e.shortcut));
        if (e.checked) {
            a->setCheckable(true);
            a->setChecked(true);
        }
        if (e.hidden)
            a->setVisible(false);
        m_actions.insert(e.name, a);
        if (!e.separator && !e.hidden) {
            const QString name = e.name;
            connect(a, &QAction::triggered, this, [this, name] { runMenuCommand(name); });
        }
    }
    connect(m_menus.value(QStringLiteral("mnuWindow")), &QMenu::aboutToShow, this,
            &frmMain::fillWindowList);
}

void frmMain::buildToolbar()
{
    ImageList1 = new platform::widgets::ImageList(this);
    ImageList1->setObjectName(QStringLiteral("ImageList1"));
    ImageList1->setImageSize(QSize(24, 24));
    for (int image = 1; image <= pelmora::toolbarImageCount; ++image)
        ImageList1->add(pelmora::toolbarImage(image));

    tbToolBar = new platform::widgets::Toolbar(this);
    tbToolBar->setObjectName(QStringLiteral("tbToolBar"));
    tbToolBar->setImageList(ImageList1);
    for (const ToolbarEntry &e : toolbarEntries()) {
        if (e.key.isEmpty())
            tbToolBar->addButton(QString(), ButtonStyle::Separator);
        else
            tbToolBar->addButton(e.key, ButtonStyle::Default, e.image, e.builtTip);
    }
    connect(tbToolBar, &platform::widgets::Toolbar::buttonClick, this,
            &frmMain::tbToolBar_ButtonClick);
    addToolBar(Qt::TopToolBarArea, tbToolBar);
    setWindowIcon(programIcon());
}

QIcon frmMain::programIcon() const
{
    // The toolbar's bars-with-depth picture stands for the program and for each view.
    return ImageList1->image(programImage);
}

void frmMain::buildStatusBar()
{
    sbStatusBar = statusBar();
    sbStatusBar->setObjectName(QStringLiteral("sbStatusBar"));
    for (int i = 0; i < 3; ++i) {
        sbPanels[i] = new QLabel(sbStatusBar);
        sbPanels[i]->setObjectName(QStringLiteral("Panel%1").arg(i + 1));
        sbPanels[i]->setFrameShape(QFrame::StyledPanel);
        sbPanels[i]->setFrameShadow(QFrame::Sunken);
        sbPanels[i]->setContentsMargins(4, 0, 4, 0);
    }
    sbStatusBar->addWidget(sbPanels[0], 1);
    sbStatusBar->addPermanentWidget(sbPanels[1]);
    sbStatusBar->addPermanentWidget(sbPanels[2]);
    updateClock();
    m_clock = new QTimer(this);
    m_clock->setInterval(1000);
    connect(m_clock, &QTimer::timeout, this, &frmMain::updateClock);
    m_clock->start();
}

void frmMain::updateClock()
{
    const QLocale locale;
    sbPanels[1]->setText(locale.toString(QDate::currentDate(), QLocale::ShortFormat));
    sbPanels[2]->setText(locale.toString(QTime::currentTime(), QLocale::ShortFormat));
}

void frmMain::parseCmd(const QString &cmd)
{
    pelmoraapp::parseCmd(cmd, m_tokens);
}

void frmMain::setTitles()
{
    if (vLanguageId == spanishId) {
        for (const auto &[name, caption] : menuCaptions(spanishId)) {
            if (QAction *a = m_actions.value(name))
                a->setText(caption);
        }
        return;
    }
    for (const ToolbarEntry &e : toolbarEntries()) {
        if (!e.key.isEmpty())
            tbToolBar->button(e.index)->setToolTipText(e.englishTip);
    }
}

void frmMain::MDIForm_Load(const QStringList &arguments)
{
    m_tokens = startTokens(arguments);
    vLanguageId = languageFromTokens(m_tokens, vLanguageId);
    setTitles();
    applyStoredGeometry();
    openWindow();
}

void frmMain::applyStoredGeometry()
{
    using platform::forms::twipsToPixelsX;
    using platform::forms::twipsToPixelsY;
    const StoredGeometry g = readStoredGeometry();
    move(twipsToPixelsX(g.left), y());
    move(x(), twipsToPixelsY(g.top));
    resize(std::max(1, twipsToPixelsX(g.width)), height());
    resize(width(), std::max(1, twipsToPixelsY(g.height)));

    QList<QRect> screens;
    if (QScreen *primary = QGuiApplication::primaryScreen())
        screens.append(primary->availableGeometry());
    for (QScreen *screen : QGuiApplication::screens()) {
        if (screen != QGuiApplication::primaryScreen())
            screens.append(screen->availableGeometry());
    }
    const StoredGeometry defaults;
    const QRect fitted =
        fitOntoScreens(QRect(pos(), size()), screens,
                       QPoint(twipsToPixelsX(defaults.left), twipsToPixelsY(defaults.top)));
    if (fitted != QRect(pos(), size())) {
        move(fitted.topLeft());
        resize(fitted.size());
    }
}

void frmMain::MDIForm_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    mdiArea->closeAllSubWindows();
    if (isMinimized())
        return;
    using platform::forms::pixelsToTwipsX;
    using platform::forms::pixelsToTwipsY;
    writeStoredGeometry({float(pixelsToTwipsX(x())), float(pixelsToTwipsY(y())),
                         float(pixelsToTwipsX(width())), float(pixelsToTwipsY(height()))});
}

void frmMain::sizeNewViews()
{
    // Before the main window is shown the workspace has no size of its own yet.
    if (!mdiArea->isVisible())
        return;
    const QSize room = mdiArea->viewport()->size();
    for (QMdiSubWindow *sub : mdiArea->subWindowList(QMdiArea::CreationOrder)) {
        auto *child = qobject_cast<frmPelmoraXpalOmrf *>(sub->widget());
        if (!child || child->openingSize.isValid())
            continue;
        child->openingSize = room * 3 / 4;
        // The window's frame and title bar around the view's own size.
        if (!sub->isMaximized() && !sub->isMinimized())
            sub->resize(sub->sizeHint());
    }
}

void frmMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    sizeNewViews();
}

void frmMain::closeEvent(QCloseEvent *event)
{
    MDIForm_Unload();
    event->accept();
}

QList<frmPelmoraXpalOmrf *> frmMain::childWindows() const
{
    QList<frmPelmoraXpalOmrf *> result;
    for (QMdiSubWindow *sub : mdiArea->subWindowList(QMdiArea::CreationOrder)) {
        if (auto *child = qobject_cast<frmPelmoraXpalOmrf *>(sub->widget()))
            result.append(child);
    }
    return result;
}

frmPelmoraXpalOmrf *frmMain::activeChild() const
{
    // The current subwindow stays current while another program has the focus.
    QMdiSubWindow *sub = mdiArea->currentSubWindow();
    return sub ? qobject_cast<frmPelmoraXpalOmrf *>(sub->widget()) : nullptr;
}

void frmMain::runMenuCommand(const QString &name)
{
    const CommandTarget target = menuCommand(name);
    switch (target.command) {
    case HostCommand::OpenWindow:
        mnuFileOpen_Click();
        break;
    case HostCommand::CloseChild:
        mnuFileClose_Click();
        break;
    case HostCommand::Save:
        mnuFileSave_Click();
        break;
    case HostCommand::Forward:
        dispatchAction(target.keyword);
        break;
    case HostCommand::Exit:
        mnuFileExit_Click();
        break;
    case HostCommand::ToggleToolbar:
        mnuViewToolbar_Click();
        break;
    case HostCommand::ToggleStatusBar:
        mnuViewStatusBar_Click();
        break;
    case HostCommand::Interactive:
        mnuActionsInteractive_Click();
        break;
    case HostCommand::Arrange:
        arrange(target.arrangement);
        break;
    case HostCommand::HelpContents:
        mnuHelpContents_Click();
        break;
    case HostCommand::About:
        mnuHelpAbout_Click();
        break;
    case HostCommand::None:
        break;
    }
}

void frmMain::tbToolBar_ButtonClick(platform::widgets::ToolbarButton *Button)
{
    if (!Button)
        return;
    const CommandTarget target = toolbarCommand(Button->key());
    if (target.command == HostCommand::OpenWindow)
        openWindow();
    else
        dispatchAction(target.keyword);
}

frmPelmoraXpalOmrf *frmMain::newChild()
{
    auto *child = new frmPelmoraXpalOmrf(this);
    // Not shown until its control has opened a view.
    child->hide();
    QWidget *control = nullptr;
    try {
        control = m_controlFactory(child);
    } catch (const platform::Error &error) {
        delete child;
        msgBox(hostText(HostText::NoControl, vLanguageId) + error.description(),
               platform::forms::OkOnly + platform::forms::Critical);
        return nullptr;
    } catch (const std::exception &error) {
        delete child;
        msgBox(hostText(HostText::NoControl, vLanguageId) + QString::fromLocal8Bit(error.what()),
               platform::forms::OkOnly + platform::forms::Critical);
        return nullptr;
    }
    if (!control) {
        delete child;
        return nullptr;
    }
    child->setControl(control);
    prepareControl(control, vLanguageId);
    return child;
}

void frmMain::openWindow()
{
    ++m_windowCounter;
    QPointer<frmPelmoraXpalOmrf> child = newChild();
    if (!child)
        return;
    QObject *control = child->PelmoraC021;
    bool result = false;
    const OpenRoute route = m_windowCounter == 1 ? openRouteFor(m_tokens[0]) : OpenRoute::Ask;
    if (route == OpenRoute::CubeFile) {
        setControlProperty(control, "OpenFile", m_tokens[0]);
        result = runAction(control, QStringLiteral("openParam"));
    } else if (route == OpenRoute::ViewFile) {
        setControlProperty(control, "OpenView", m_tokens[0]);
        result = runAction(control, QStringLiteral("openParam"));
    } else {
        result = runAction(control, QStringLiteral("openOlap"));
    }
    if (!child)
        return;
    if (!result) {
        delete child;
        return;
    }
    child->setWindowTitle(controlCaption(control));
    const QVariant interactive = controlProperty(control, "Interactive");
    child->interactiveMark = !interactive.isValid() || interactive.toBool();
    child->setWindowIcon(programIcon());
    QMdiSubWindow *sub = mdiArea->addSubWindow(child);
    sub->setWindowIcon(programIcon());
    sub->setAttribute(Qt::WA_DeleteOnClose);
    child->show();
    sub->show();
    sizeNewViews();
    mdiArea->setActiveSubWindow(sub);
    followActiveChild();
}

void frmMain::showAboutWithoutWindow()
{
    frmPelmoraXpalOmrf *child = newChild();
    if (!child)
        return;
    QPointer<frmPelmoraXpalOmrf> guard = child;
    runAction(child->PelmoraC021, QStringLiteral("AboutBox"));
    delete guard.data();
}

void frmMain::dispatchAction(const QString &keyword)
{
    frmPelmoraXpalOmrf *child = activeChild();
    switch (dispatchTarget(keyword, child != nullptr)) {
    case DispatchTarget::ActiveControl:
        runAction(child->PelmoraC021, keyword);
        break;
    case DispatchTarget::AboutWithoutWindow:
        showAboutWithoutWindow();
        break;
    case DispatchTarget::Nothing:
        break;
    }
}

void frmMain::mnuFileOpen_Click()
{
    openWindow();
}

void frmMain::mnuFileClose_Click()
{
    if (QMdiSubWindow *sub = mdiArea->currentSubWindow())
        sub->close();
}

void frmMain::mnuFileSave_Click()
{
    frmPelmoraXpalOmrf *child = activeChild();
    if (!child)
        return;
    QPointer<QWidget> control = child->PelmoraC021;
    dlgCommonDialog->setDialogTitle(hostText(HostText::SaveTitle, vLanguageId));
    dlgCommonDialog->setFilter(hostText(HostText::SaveFilter, vLanguageId));
    dlgCommonDialog->setFileName(QString());
    dlgCommonDialog->setCancelError(true);
    try {
        dlgCommonDialog->showSave();
    } catch (const platform::Error &) {
        return; // cancelled
    }
    const QString name = dlgCommonDialog->fileName();
    if (name.isEmpty() || !control)
        return;
    QFile existing(name);
    if (!existing.open(QIODevice::ReadOnly)) {
        writeView(control, name);
        return;
    }
    existing.close();
    if (msgBox(overwriteQuestion(name, vLanguageId), platform::forms::YesNo) != platform::forms::Yes
        || !control)
        return;
    // The old view is kept aside until the new one is written. When it cannot even be moved
    // (a folder without write access), nothing is written and the user hears of it.
    SaveAside aside;
    if (aside.moveAside(viewFileSet(name))) {
        if (writeView(control, name)) {
            aside.discard();
            return;
        }
        if (!aside.restore()) {
            // Say where the old files are rather than that they were kept.
            QStringList keptAs;
            for (const auto &[original, temporary] : aside.aside())
                keptAs.append(temporary);
            msgBox(saveFailedNote(name, vLanguageId, keptAs), platform::forms::OkOnly);
            return;
        }
    }
    msgBox(saveFailedNote(name, vLanguageId), platform::forms::OkOnly);
}

void frmMain::mnuFileExit_Click()
{
    close();
}

// The item's check mark has been inverted by choosing it.
void frmMain::mnuViewToolbar_Click()
{
    tbToolBar->setVisible(menuAction(QStringLiteral("mnuViewToolbar"))->isChecked());
}

void frmMain::mnuViewStatusBar_Click()
{
    sbStatusBar->setVisible(menuAction(QStringLiteral("mnuViewStatusBar"))->isChecked());
}

void frmMain::mnuActionsInteractive_Click()
{
    frmPelmoraXpalOmrf *child = activeChild();
    if (child) {
        if (child->interactiveMark) {
            child->interactiveMark = false;
            setControlProperty(child->PelmoraC021, "Interactive", false);
        } else {
            msgBox(hostText(HostText::InteractiveRefused, vLanguageId), platform::forms::OkOnly);
        }
    }
    followActiveChild();
}

void frmMain::mnuHelpContents_Click()
{
    if (m_helpFile.isEmpty() || !QFileInfo(m_helpFile).isFile()) {
        msgBox(hostText(HostText::NoHelp, vLanguageId), platform::forms::Information,
               windowTitle());
        return;
    }
    const QString file = QFileInfo(m_helpFile).absoluteFilePath();
    if (!m_helpOpener || !m_helpOpener(QUrl::fromLocalFile(file)))
        msgBox(hostText(HostText::HelpFailed, vLanguageId) + file, platform::forms::OkOnly);
}

void frmMain::mnuHelpAbout_Click()
{
    if (!activeChild())
        showAboutWithoutWindow();
    else
        dispatchAction(QStringLiteral("AboutBox"));
}

void frmMain::followActiveChild()
{
    // The check mark shows the active view's own mark.
    frmPelmoraXpalOmrf *child = activeChild();
    menuAction(QStringLiteral("mnuActionsInteractive"))
        ->setChecked(child ? child->interactiveMark : true);
}

void frmMain::fillWindowList()
{
    QMenu *windowMenu = menu(QStringLiteral("mnuWindow"));
    for (QAction *a : m_windowListActions) {
        windowMenu->removeAction(a);
        delete a;
    }
    m_windowListActions.clear();
    const QList<QMdiSubWindow *> subs = mdiArea->subWindowList(QMdiArea::CreationOrder);
    if (subs.isEmpty())
        return;
    m_windowListActions.append(windowMenu->addSeparator());
    QMdiSubWindow *current = mdiArea->currentSubWindow();
    int number = 0;
    for (QMdiSubWindow *sub : subs) {
        ++number;
        QAction *a =
            windowMenu->addAction(QStringLiteral("&%1 %2").arg(number).arg(sub->windowTitle()));
        a->setObjectName(QStringLiteral("mnuWindowList%1").arg(number));
        a->setCheckable(true);
        a->setChecked(sub == current);
        QPointer<QMdiSubWindow> target = sub;
        connect(a, &QAction::triggered, this, [this, target] {
            if (target)
                mdiArea->setActiveSubWindow(target);
        });
        m_windowListActions.append(a);
    }
}

void frmMain::arrange(Arrangement arrangement)
{
    QList<QMdiSubWindow *> open;
    QList<QMdiSubWindow *> minimised;
    for (QMdiSubWindow *sub : mdiArea->subWindowList(QMdiArea::CreationOrder)) {
        if (sub->isHidden())
            continue;
        (sub->isMinimized() ? minimised : open).append(sub);
    }
    const QRect area = mdiArea->viewport()->rect();
    QList<QSize> iconSizes;
    for (QMdiSubWindow *sub : minimised)
        iconSizes.append(sub->size());

    switch (arrangement) {
    case Arrangement::Cascade:
        mdiArea->cascadeSubWindows();
        return;
    case Arrangement::TileHorizontal:
    case Arrangement::TileVertical: {
        const QRect room = areaAboveIcons(area, iconSizes);
        const QList<QRect> places = arrangement == Arrangement::TileHorizontal
                                        ? tileHorizontal(room, int(open.size()))
                                        : tileVertical(room, int(open.size()));
        for (qsizetype i = 0; i < open.size(); ++i) {
            if (open[i]->isMaximized())
                open[i]->showNormal();
            open[i]->setGeometry(places[i]);
        }
        return;
    }
    case Arrangement::ArrangeIcons: {
        const QList<QRect> places = arrangeIcons(area, iconSizes);
        for (qsizetype i = 0; i < minimised.size(); ++i)
            minimised[i]->move(places[i].topLeft());
        return;
    }
    }
}
