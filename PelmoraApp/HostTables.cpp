#include "PelmoraApp/HostTables.h"

namespace pelmoraapp {

namespace {

MenuEntry menu(const char *name, const QString &english, const QString &spanish)
{
    MenuEntry e;
    e.name = QString::fromLatin1(name);
    e.english = english;
    e.spanish = spanish;
    return e;
}

MenuEntry item(const char *menuName, const char *name, const QString &english,
               const QString &spanish, const char *shortcut = "", bool checked = false)
{
    MenuEntry e = menu(name, english, spanish);
    e.menu = QString::fromLatin1(menuName);
    e.shortcut = QString::fromLatin1(shortcut);
    e.checked = checked;
    return e;
}

MenuEntry bar(const char *menuName, const char *name, bool hidden = false)
{
    MenuEntry e = item(menuName, name, QStringLiteral("-"), QString());
    e.separator = true;
    e.hidden = hidden;
    return e;
}

MenuEntry hiddenItem(const char *menuName, const char *name)
{
    MenuEntry e = item(menuName, name, QString(), QString());
    e.hidden = true;
    return e;
}

} // namespace

const QList<MenuEntry> &menuEntries()
{
    static const QList<MenuEntry> entries = {
        menu("mnuFile", QStringLiteral("&File"), QStringLiteral("&Archivo")),
        item("mnuFile", "mnuFileOpen", QStringLiteral("&Open..."), QStringLiteral("&Abrir..."),
             "Ctrl+O"),
        item("mnuFile", "mnuFileClose", QStringLiteral("&Close"), QStringLiteral("&Cerrar")),
        bar("mnuFile", "mnuFileBar0"),
        item("mnuFile", "mnuFileSave", QStringLiteral("&Save"), QStringLiteral("&Guardar"),
             "Ctrl+G"),
        bar("mnuFile", "mnuFileBar1"),
        item("mnuFile", "mnuFilePrint", QStringLiteral("&Print"), QStringLiteral("&Imprimir"),
             "Ctrl+I"),
        item("mnuFile", "mnuFileExport", QStringLiteral("&Export"), QStringLiteral("&Exportar"),
             "Ctrl+E"),
        bar("mnuFile", "mnuFileBar3"),
        hiddenItem("mnuFile", "mnuFileMRU1"),
        hiddenItem("mnuFile", "mnuFileMRU2"),
        hiddenItem("mnuFile", "mnuFileMRU3"),
        bar("mnuFile", "mnuFileBar4", true),
        item("mnuFile", "mnuFileExit", QStringLiteral("E&xit"), QStringLiteral("&Salir")),
        menu("mnuEdit", QStringLiteral("&Edit"), QStringLiteral("&Edición")),
        item("mnuEdit", "mnuEditCopy", QStringLiteral("&Copy"), QStringLiteral("&Copiar"),
             "Ctrl+C"),
        bar("mnuEdit", "mnuEdicionBar1"),
        item("mnuEdit", "mnuEditFormat", QStringLiteral("&Format"), QStringLiteral("&Formato")),
        menu("mnuView", QStringLiteral("&View"), QStringLiteral("&Ver")),
        item("mnuView", "mnuViewToolbar", QStringLiteral("&Tool bar"),
             QStringLiteral("Barra de &herramientas"), "", true),
        item("mnuView", "mnuViewStatusBar", QStringLiteral("&Status bar"),
             QStringLiteral("Barra de e&status"), "", true),
        menu("mnuActions", QStringLiteral("A&ctions"), QStringLiteral("&Acciones")),
        item("mnuActions", "mnuActionsMDXDirect", QStringLiteral("Direct &MDX"),
             QStringLiteral("&MDX Directo")),
        item("mnuActions", "mnuActionsShowElements", QStringLiteral("&Show elements"),
             QStringLiteral("Mostrar &elementos")),
        item("mnuActions", "mnuActionsChart2d", QStringLiteral("&2d chart"),
             QStringLiteral("Gráfica &2d")),
        item("mnuActions", "mnuActionsChart3d", QStringLiteral("&3d chart"),
             QStringLiteral("Gráfica &3d")),
        bar("mnuActions", "mnuActionsBar0"),
        item("mnuActions", "mnuActionsSwapXY", QStringLiteral("&Swap XY"),
             QStringLiteral("&Pivote")),
        item("mnuActions", "mnuActionsLayout", QStringLiteral("&Layout"),
             QStringLiteral("&Layout")),
        item("mnuActions", "mnuActionsDimension", QStringLiteral("&Dimension"),
             QStringLiteral("&Dimension")),
        bar("mnuActions", "mnuAccionesBar1"),
        item("mnuActions", "mnuActionsInteractive", QStringLiteral("&Interactive"),
             QStringLiteral("&Interactivo"), "", true),
        menu("mnuWindow", QStringLiteral("&Window"), QStringLiteral("&Ventana")),
        item("mnuWindow", "mnuWindowCascade", QStringLiteral("Casca&de"),
             QStringLiteral("&Cascada")),
        item("mnuWindow", "mnuWindowTileHorizontal", QStringLiteral("Tile &horizontal"),
             QStringLiteral("Mosaico &horizontal")),
        item("mnuWindow", "mnuWindowTileVertical", QStringLiteral("Tile &vertical"),
             QStringLiteral("Mosaico &verical")),
        item("mnuWindow", "mnuWindowArrangeIcons", QStringLiteral("&Arrange icons"),
             QStringLiteral("&Organizar íconos")),
        menu("mnuHelp", QStringLiteral("&Help"), QStringLiteral("&Ayuda")),
        item("mnuHelp", "mnuHelpContents", QStringLiteral("&Contents"),
             QStringLiteral("&Contenido")),
        bar("mnuHelp", "mnuHelpBar0"),
        item("mnuHelp", "mnuHelpAbout", QStringLiteral("&About..."), QStringLiteral("&Acerca de")),
    };
    return entries;
}

QList<QPair<QString, QString>> menuCaptions(int languageId)
{
    QList<QPair<QString, QString>> captions;
    for (const MenuEntry &e : menuEntries()) {
        if (e.separator || e.hidden)
            continue;
        captions.append({e.name, languageId == spanishId ? e.spanish : e.english});
    }
    return captions;
}

const QList<ToolbarEntry> &toolbarEntries()
{
    static const QList<ToolbarEntry> entries = {
        {1, QStringLiteral("openOlap"), QStringLiteral("Abrir conexión a un cubo cubo"),
         QStringLiteral("Open cube"), 1},
        {2, QStringLiteral("saveView"), QStringLiteral("Guarda la vista actual"),
         QStringLiteral("Save view"), 2},
        {3, QString(), QString(), QString(), 0},
        {4, QStringLiteral("printView"), QStringLiteral("Imprimir"), QStringLiteral("Print view"),
         3},
        {5, QStringLiteral("exportView"), QStringLiteral("Exportar"), QStringLiteral("Export view"),
         4},
        {6, QStringLiteral("copyView"), QStringLiteral("Copiar"),
         QStringLiteral("Copy data to clipboard"), 5},
        {7, QString(), QString(), QString(), 0},
        {8, QStringLiteral("directMDX"), QStringLiteral("Pantalla de SQL directo"),
         QStringLiteral("Direct MDX screen"), 6},
        {9, QStringLiteral("showElements"),
         QStringLiteral("Muestra o esconde elementos de la forma"),
         QStringLiteral("Show / hide screen elements"), 7},
        {10, QStringLiteral("showChart2d"), QStringLiteral("Muestra gráfica 2d"),
         QStringLiteral("Show 2D chart"), 8},
        {11, QStringLiteral("showChart3d"), QStringLiteral("Muestra gráfica 2d"),
         QStringLiteral("Show 3D chart"), 9},
        {12, QString(), QString(), QString(), 0},
        {13, QStringLiteral("doSwapXY"), QStringLiteral("Rota el cubo en su eje"),
         QStringLiteral("Swap XY axis"), 10},
        {14, QStringLiteral("showLayout"), QStringLiteral("Cambia el layout del cubo"),
         QStringLiteral("Cube layout change"), 11},
        {15, QStringLiteral("dimensionOptions"), QStringLiteral("Cambia opciones de dimensiones"),
         QStringLiteral("Dimension options change"), 12},
        {16, QString(), QString(), QString(), 0},
        {17, QStringLiteral("doFormat"), QStringLiteral("Formato del cubo"),
         QStringLiteral("Format cube change"), 13},
        {18, QString(), QString(), QString(), 0},
        {19, QStringLiteral("aboutBox"), QStringLiteral("Muestra la ventana Acerca de.."),
         QStringLiteral("About Pelmora Application"), 14},
    };
    return entries;
}

QString hostText(HostText text, int languageId)
{
    const bool es = languageId == spanishId;
    switch (text) {
    case HostText::SaveTitle:
        return es ? QStringLiteral("Elija el nombre del archivo que contendra la vista")
                  : QStringLiteral("Choose the file name of the view");
    case HostText::SaveFilter:
        return es ? QStringLiteral("Vista (*.vcg)|*.vcg") : QStringLiteral("View (*.vcg)|*.vcg");
    case HostText::OverwriteBefore:
        return es ? QStringLiteral("El archivo: ") : QStringLiteral("File: ");
    case HostText::OverwriteAfter:
        return es ? QStringLiteral(" ya existe. Desea rescribirlo?")
                  : QStringLiteral(" already existes. Would you like to overwrite?");
    case HostText::InteractiveRefused:
        return es ? QStringLiteral("Una sesion no interactiva no se puede volver interactiva. "
                                   "Abra otra ventana por favor.")
                  : QStringLiteral("A non interactive session cannot become interactive. "
                                   "Please open another window.");
    case HostText::NoHelp:
        return es ? QStringLiteral("No se puede mostrar el contenido de la Ayuda. No hay Ayuda "
                                   "asociada a este proyecto.")
                  : QStringLiteral("The help contents can't be shown. There is no help for "
                                   "this project.");
    case HostText::HelpFailed:
        return es ? QStringLiteral("No se puede mostrar el contenido de la Ayuda. No se pudo "
                                   "abrir: ")
                  : QStringLiteral("The help contents can't be shown. This file could not be "
                                   "opened: ");
    case HostText::SaveFailedBefore:
        return es ? QStringLiteral("No se pudo escribir la vista en: ")
                  : QStringLiteral("The view could not be written to: ");
    case HostText::SaveFailedAfter:
        return es ? QStringLiteral(". Se conserva la vista anterior.")
                  : QStringLiteral(". The previous view has been kept.");
    case HostText::SaveFailedKeptAs:
        return es ? QStringLiteral(". La vista anterior no se pudo restituir; se conserva como: ")
                  : QStringLiteral(". The previous view could not be put back; it is kept as: ");
    case HostText::NoControl:
        return es ? QStringLiteral("No se puede crear el control del cubo: ")
                  : QStringLiteral("The cube control cannot be created: ");
    case HostText::EventFailed:
        return es ? QStringLiteral("No se pudo terminar la acción: ")
                  : QStringLiteral("The action could not be completed: ");
    }
    return QString();
}

QString overwriteQuestion(const QString &fileName, int languageId)
{
    return hostText(HostText::OverwriteBefore, languageId) + fileName
           + hostText(HostText::OverwriteAfter, languageId);
}

QString saveFailedNote(const QString &fileName, int languageId, const QStringList &keptAs)
{
    const QString before = hostText(HostText::SaveFailedBefore, languageId) + fileName;
    if (keptAs.isEmpty())
        return before + hostText(HostText::SaveFailedAfter, languageId);
    return before + hostText(HostText::SaveFailedKeptAs, languageId) + keptAs.join(", ");
}

} // namespace pelmoraapp
