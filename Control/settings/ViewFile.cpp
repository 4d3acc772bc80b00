// Writing the control's view to a view file with its two chart format files, and reading one
// back into the control.
#include "Control/core/ErrorTrap.h"
#include "Control/core/FileNames.h"
#include "Control/core/PelmoraC02.h"
#include "Control/settings/ViewFileFormat.h"
#include "platform/automation/Extender.h"
#include "platform/chart/Chart2D.h"
#include "platform/chart/Chart3D.h"
#include "platform/forms/FontObject.h"
#include "platform/forms/MsgBox.h"
#include "platform/runtime/Error.h"
#include "platform/widgets/ElasticPanel.h"
#include "platform/widgets/ImageList.h"
#include "platform/widgets/Toolbar.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QTemporaryFile>

#include <cerrno>
#include <fcntl.h>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sys/stat.h>
#include <vector>
#include <unistd.h>

using platform::widgets::ElasticPanel;

namespace pelmora {

namespace {

[[noreturn]] void fail(const QString &description)
{
    throw platform::Error(description);
}

// The process's file mode creation mask, read without changing it where the system tells it.
mode_t processUmask()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (!line.startsWith("Umask:"))
                continue;
            bool ok = false;
            const uint mask = line.mid(6).trimmed().toUInt(&ok, 8);
            if (ok)
                return mode_t(mask & 0777);
        }
    }
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

// A file of the same folder under a temporary name, removed when this ends unless it was put
// in place.
std::unique_ptr<QTemporaryFile> temporaryBeside(const QString &target)
{
    const QFileInfo info(target);
    auto file = std::make_unique<QTemporaryFile>(
        info.absoluteDir().filePath(QLatin1Char('.') + info.fileName() + QLatin1String(".XXXXXX")));
    if (!file->open())
        fail(file->errorString());
    // A temporary file is its owner's alone; the file put in place gets the mode of any new
    // file, so a view saved into a shared folder opens for others.
    if (::fchmod(file->handle(), 0666 & ~processUmask()) != 0)
        fail(QString::fromLocal8Bit(std::strerror(errno)) + QLatin1String(": ") + target);
    return file;
}

QByteArray nativePath(const QString &path)
{
    return QFile::encodeName(path);
}

// Puts `from` in place as `to` unless `to` exists, atomically. False when `to` exists.
bool placeWithoutReplacing(const QString &from, const QString &to)
{
    const QByteArray src = nativePath(from);
    const QByteArray dst = nativePath(to);
    if (::link(src.constData(), dst.constData()) == 0)
        return true;
    if (errno == EEXIST)
        return false;
    // A file system without hard links may still rename without replacing.
    if (::renameat2(AT_FDCWD, src.constData(), AT_FDCWD, dst.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno == EEXIST)
        return false;
    fail(QString::fromLocal8Bit(std::strerror(errno)) + QLatin1String(": ") + to);
}

void placeReplacing(const QString &from, const QString &to)
{
    if (std::rename(nativePath(from).constData(), nativePath(to).constData()) != 0)
        fail(QString::fromLocal8Bit(std::strerror(errno)) + QLatin1String(": ") + to);
}

// The chart format file beside a view: under the name the view's name now gives, else under
// the name the original program gave it (cut at the path's first "."); empty when neither
// exists.
QString chartFileOf(const QString &view, const QString &extension)
{
    const QString current = changeExtension(view, extension);
    if (QFileInfo(current).isFile())
        return current;
    const QString original = firstDotFileName(view, extension);
    if (original != current && QFileInfo(original).isFile())
        return original;
    return QString();
}

constexpr qint64 maxViewFileSize = 64 * 1024 * 1024;

} // namespace

} // namespace pelmora

using namespace pelmora;

ViewFile PelmoraC02::viewFileOf()
{
    ViewFile v;
    // The window's own state, whatever its parent's.
    v.FormEnabled = !testAttribute(Qt::WA_ForceDisabled);
    const platform::automation::Extender extender(this);
    v.Left = extender.left();
    v.Top = extender.top();
    v.Width = extender.width();
    v.Height = extender.height();
    v.LanguageID = language.LanguageID;
    v.openParams = openParams;
    v.currentMDX = queryState.currentMDX;
    v.Title = lblCubo->text();
    for (int i = 0; i < layoutState.NumDims; ++i)
        v.orderDim << orderDimAt(layoutState, i);
    v.displayFlags = displayFlags;
    for (int k = 0; k < 4; ++k)
        v.paneValues[k] = el1->paneValue(ElasticPanel::PaneSizeValue, k);
    v.VisibleChart2d = grf2d && !grf2d->isHidden();
    v.VisibleChart3d = grf3d && !grf3d->isHidden();
    for (size_t b = 0; b < viewFileButtons.size(); ++b)
        v.buttons[b] = tbToolBar->button(viewFileButtons[b])->isVisible();
    v.fonts[ControlFontSlot] = controlFont->attributes();
    v.fonts[DataFontSlot] = fontOf(gridFormat.FontData).attributes();
    v.fonts[SubtotalFontSlot] = fontOf(gridFormat.FontSubtotal).attributes();
    v.fonts[DataSubtotalFontSlot] = fontOf(gridFormat.FontDataSubtotal).attributes();
    v.Interactive = controlFlags.Interactive;
    v.gridFormat = gridFormat;
    v.gridFormat.FontData.reset();
    v.gridFormat.FontSubtotal.reset();
    v.gridFormat.FontDataSubtotal.reset();
    v.valueFormat = valueFormat;
    return v;
}

bool PelmoraC02::writeView(const QString &archivo)
{
    // A view file is never replaced.
    if (archivo.isEmpty() || QFileInfo(archivo).exists() || QFileInfo(archivo).isSymLink())
        return false;
    return trapped(QStringLiteral("writeView: "), [&] {
        const QByteArray text = viewFileText(viewFileOf());

        // Everything is written under temporary names first and put in place at the end, so
        // a failure leaves nothing behind.
        std::unique_ptr<QTemporaryFile> view = temporaryBeside(archivo);
        if (view->write(text) != text.size() || !view->flush() || ::fsync(view->handle()) != 0)
            fail(view->errorString());
        view->close();

        const QString name2d = changeExtension(archivo, QStringLiteral(".oc2"));
        const QString name3d = changeExtension(archivo, QStringLiteral(".oc3"));
        std::unique_ptr<QTemporaryFile> chart2d;
        std::unique_ptr<QTemporaryFile> chart3d;
        if (grf2d) {
            chart2d = temporaryBeside(name2d);
            chart2d->close();
            if (!grf2d->saveFormat(chart2d->fileName()))
                fail(QStringLiteral("The chart format file could not be written: ") + name2d);
        }
        if (grf3d) {
            chart3d = temporaryBeside(name3d);
            chart3d->close();
            if (!grf3d->saveFormat(chart3d->fileName()))
                fail(QStringLiteral("The chart format file could not be written: ") + name3d);
        }

        // Someone may have made the file meanwhile: then it stays as it is.
        if (!placeWithoutReplacing(view->fileName(), archivo))
            return false;
        // Chart files of an earlier view of the same name belong to the view being written
        // and are replaced; they are kept aside until the end, so a failure can restore them.
        std::vector<std::unique_ptr<QTemporaryFile>> kept; // removed with them on success
        QList<QPair<QString, QTemporaryFile *>> replaced;
        QStringList placed;
        try {
            const std::pair<QTemporaryFile *, QString> charts[] = {{chart2d.get(), name2d},
                                                                   {chart3d.get(), name3d}};
            for (const auto &[temporary, target] : charts) {
                if (!temporary)
                    continue;
                const QFileInfo info(target);
                if (info.exists() || info.isSymLink()) {
                    kept.push_back(temporaryBeside(target));
                    kept.back()->close();
                    placeReplacing(target, kept.back()->fileName());
                    replaced << qMakePair(target, kept.back().get());
                }
                placeReplacing(temporary->fileName(), target);
                placed << target;
            }
        } catch (...) {
            for (const QString &target : placed)
                QFile::remove(target);
            for (const auto &[target, keeper] : replaced)
                std::rename(nativePath(keeper->fileName()).constData(),
                            nativePath(target).constData());
            QFile::remove(archivo);
            throw;
        }
        return true;
    });
}

void PelmoraC02::applyViewFile(const ViewFile &v, const QString &localCubeFile)
{
    QWidget::setEnabled(v.FormEnabled);
    {
        platform::automation::Extender extender(this);
        if (v.Top)
            extender.setTop(*v.Top);
        if (v.Width)
            extender.setWidth(*v.Width);
        if (v.Height)
            extender.setHeight(*v.Height);
        if (v.Left)
            extender.setLeft(*v.Left);
    }
    // Stored as it is, without the property's effects on the toolbar.
    language.LanguageID = v.LanguageID;
    openParams.OpenServer = v.openParams.OpenServer;
    openParams.OpenDB = v.openParams.OpenDB;
    openParams.openCube = v.openParams.openCube;
    openParams.OpenFile = v.openParams.OpenFile;
    openParams.OpenWWWDir = v.openParams.OpenWWWDir;
    queryState.currentMDX = v.currentMDX;
    lblCubo->setText(v.Title);
    layoutState.NumDims = int(v.orderDim.size());

    // A cube file downloaded from the view's web address is opened from its local copy.
    if (!openParams.OpenWWWDir.isEmpty())
        openParams.OpenFile = localCubeFile;
    connState.connectionString.clear();
    const QString source =
        !openParams.OpenFile.isEmpty() ? openParams.OpenFile : openParams.OpenServer;
    if (!source.isEmpty())
        connState.connectionString =
            QStringLiteral("Data source=") + source + QStringLiteral(";Provider=MSOLAP");

    for (int i = 0; i < layoutState.NumDims; ++i) {
        const OrderDim &d = v.orderDim[i];
        pelmora::setOrderDim(layoutState, i, d.jerarquia, d.jerarquiaSalto, d.lugar, d.nombre,
                             d.opcionCampo, d.opcionTipo, d.opcionTipoReg, d.opcionValor, d.orden,
                             d.ordenTipo, d.profundidad, d.tipo, d.vacio);
        // Every list is the view's, an empty one included: a list left from the view read
        // before would change the statements.
        OrderDim &record = orderDimAt(layoutState, i);
        record.ordenCampos = d.ordenCampos;
        record.padreLlave = d.padreLlave;
        record.padreTexto = d.padreTexto;
    }

    displayFlags.VisibleTitle = v.displayFlags.VisibleTitle;
    displayFlags.VisibleHeading = v.displayFlags.VisibleHeading;
    displayFlags.VisibleMatrix = v.displayFlags.VisibleMatrix;
    displayFlags.VisibleChart = v.displayFlags.VisibleChart;
    lblCubo->setVisible(displayFlags.VisibleTitle);
    grdTitulos->setVisible(displayFlags.VisibleHeading);
    grdResults->setVisible(displayFlags.VisibleMatrix);
    for (int k = 0; k < 4; ++k)
        el1->setPaneValue(ElasticPanel::PaneSizeValue, k, v.paneValues[k]);
    if (grf2d)
        grf2d->setVisible(v.VisibleChart2d);
    if (grf3d)
        grf3d->setVisible(v.VisibleChart3d);
    displayFlags.VisibleToolBar = v.displayFlags.VisibleToolBar;
    tbToolBar->setVisible(displayFlags.VisibleToolBar);
    for (size_t b = 0; b < viewFileButtons.size(); ++b)
        tbToolBar->button(viewFileButtons[b])->setVisible(v.buttons[b]);

    // The font objects are changed, never replaced: containers may hold them.
    applyViewFont(v.fonts[ControlFontSlot], *controlFont);
    applyViewFont(v.fonts[DataFontSlot], fontOf(gridFormat.FontData));
    applyViewFont(v.fonts[SubtotalFontSlot], fontOf(gridFormat.FontSubtotal));
    applyViewFont(v.fonts[DataSubtotalFontSlot], fontOf(gridFormat.FontDataSubtotal));

    controlFlags.Interactive = v.Interactive;
    GridFormat look = v.gridFormat;
    look.FontData = gridFormat.FontData;
    look.FontSubtotal = gridFormat.FontSubtotal;
    look.FontDataSubtotal = gridFormat.FontDataSubtotal;
    gridFormat = look;
    valueFormat = v.valueFormat;
}

bool PelmoraC02::readView()
{
    const QString path = openParams.OpenView;
    auto report = [&] {
        platform::forms::msgBox(QStringLiteral("readView: ")
                                    + errorDescription(std::current_exception())
                                    + QStringLiteral("\r\n") + message(7) + path,
                                platform::forms::OkOnly);
    };

    // The whole file is read first: one that does not read changes nothing.
    ViewFile view;
    try {
        QFile file(path);
        if (path.isEmpty() || !QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
            fail(QStringLiteral("File not found"));
        if (file.size() > maxViewFileSize)
            fail(QStringLiteral("Out of memory"));
        const QByteArray bytes = file.read(maxViewFileSize + 1);
        if (bytes.size() > maxViewFileSize)
            fail(QStringLiteral("Out of memory"));
        view = parseViewFile(bytes);
    } catch (...) {
        report();
        return false;
    }

    // The cube file of a web address is downloaded before anything changes; a failed download
    // answers False and leaves the control as it was.
    QString localCubeFile;
    if (!view.openParams.OpenWWWDir.isEmpty()) {
        const QString oldAddress = openParams.OpenWWWDir;
        const QString oldFile = openParams.OpenFile;
        openParams.OpenWWWDir = view.openParams.OpenWWWDir;
        connState.downloadState = DownloadWaiting; // not the state of an earlier download
        const bool downloaded = bringWwwDir();
        localCubeFile = openParams.OpenFile;
        openParams.OpenWWWDir = oldAddress;
        openParams.OpenFile = oldFile;
        if (!downloaded)
            return false;
    }

    try {
        applyViewFile(view, localCubeFile);
    } catch (...) {
        report();
        return false;
    }

    // A missing or unreadable chart format file leaves that chart as it is: the view opens
    // all the same.
    if (grf2d) {
        const QString file = chartFileOf(path, QStringLiteral(".oc2"));
        if (!file.isEmpty())
            grf2d->loadFormat(file);
    }
    if (grf3d) {
        const QString file = chartFileOf(path, QStringLiteral(".oc3"));
        if (!file.isEmpty())
            grf3d->loadFormat(file);
    }
    updFormat();
    return true;
}
