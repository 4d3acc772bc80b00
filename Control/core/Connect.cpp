// The routes by which the control reaches a cube, and the opening of its connection, catalog
// and cube.
#include "Control/core/ConnectDialogs.h"
#include "Control/core/DownloadProgress.h"
#include "Control/core/ErrorTrap.h"
#include "Control/core/PelmoraC02.h"
#include "platform/automation/Download.h"
#include "platform/forms/MsgBox.h"
#include "platform/widgets/ImageList.h"
#include "platform/widgets/Toolbar.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPointer>

#include <optional>

using pelmora::trapped;

namespace {

QString connectionStringOf(const QString &source)
{
    return QStringLiteral("Data source=") + source + QStringLiteral(";Provider=MSOLAP");
}

// Clears a flag when the scope ends, however it ends.
class FlagScope
{
public:
    explicit FlagScope(bool &flag) : m_flag(flag) { m_flag = true; }
    ~FlagScope() { m_flag = false; }
    FlagScope(const FlagScope &) = delete;
    FlagScope &operator=(const FlagScope &) = delete;

private:
    bool &m_flag;
};

} // namespace

bool PelmoraC02::cubeConnect(bool ask)
{
    return trapped(QStringLiteral("cubeConnect:"), [&] {
        connState.interactiveRequested = false;
        if (connect(ask)) {
            connState.connected = true;
            tbToolBar->button(1)->setVisible(true);
            tbToolBar->button(19)->setVisible(true);
            showCubeButtons(true);
            return genSelect();
        }
        return false;
    });
}

bool PelmoraC02::cubeConnectNI(bool ask)
{
    return trapped(QStringLiteral("cubeConnectNI:"), [&] {
        connState.interactiveRequested = false;
        if (connect(ask)) {
            tbToolBar->button(1)->setVisible(true);
            tbToolBar->button(19)->setVisible(true);
            showCubeButtons(true);
            connState.connected = true;
            return true;
        }
        return false;
    });
}

bool PelmoraC02::openOlap()
{
    return trapped(QStringLiteral("openOlap:"), [&] { return cubeConnect(true); });
}

bool PelmoraC02::connect(bool ask)
{
    return trapped(QStringLiteral("connect:"), [&] {
        const pelmora::OpenParams &p = openParams;
        if (!p.OpenView.isEmpty())
            return viewConnect();
        else if (!p.OpenFile.isEmpty())
            return fileConnect();
        else if (!p.OpenWWWDir.isEmpty())
            return WwwDirConnect();
        else if (!p.OpenServer.isEmpty() && !p.OpenDB.isEmpty() && !p.openCube.isEmpty())
            return olapConnect();
        else if (connState.interactiveRequested)
            return interactiveConnect();
        else if (ask)
            return askConection();
        return false;
    });
}

bool PelmoraC02::askConection()
{
    return trapped(QStringLiteral("askConection:"), [&] {
        {
            frmOpen form(this);
            form.vLanguageId = QString::number(language.LanguageID);
            form.showModalForm();
            openParams.OpenFile = form.vArchivo;
            openParams.OpenWWWDir = form.vWWWDir;
            openParams.OpenView = form.vVista;
            connState.interactiveRequested = form.vConnInteractiva;
        }
        const bool cancelled = openParams.OpenFile.isEmpty() && openParams.OpenWWWDir.isEmpty()
                               && openParams.OpenView.isEmpty() && !connState.interactiveRequested;
        if (!cancelled)
            return connect(true);
        return false;
    });
}

bool PelmoraC02::fileConnect()
{
    return trapped(QStringLiteral("fileConnect:"), [&] {
        connState.connectionString = connectionStringOf(openParams.OpenFile);
        if (!openConection() || !OpenCatalog())
            return false;
        connState.numCube = 0; // a cube file opens its first cube
        if (!doOpenCube())
            return false;
        // After a download the title is the address, not the local copy.
        lblCubo->setText(openParams.OpenWWWDir.isEmpty() ? openParams.OpenFile
                                                         : openParams.OpenWWWDir);
        return true;
    });
}

bool PelmoraC02::olapConnect()
{
    return trapped(QStringLiteral("olapConnect:"), [&] {
        connState.connectionString = connectionStringOf(openParams.OpenServer);
        if (!openConection() || !OpenCatalog(true))
            return false;
        connState.numCube = bringNumCube();
        if (connState.numCube == -1 || !doOpenCube())
            return false;
        lblCubo->setText(openParams.openCube);
        return true;
    });
}

bool PelmoraC02::viewConnect()
{
    return trapped(QStringLiteral("viewConnect:"), [&] {
        // The view file sets the open parameters, the connection string and the layout.
        if (!readView() || !openConection())
            return false;
        if (openParams.OpenFile.isEmpty() && openParams.OpenWWWDir.isEmpty()) {
            if (!OpenCatalog(true))
                return false;
            connState.numCube = bringNumCube();
            if (connState.numCube == -1)
                return false;
        } else {
            if (!OpenCatalog())
                return false;
            connState.numCube = 0;
        }
        // The view's own title stays.
        return doOpenCube();
    });
}

bool PelmoraC02::WwwDirConnect()
{
    return trapped(QStringLiteral("WwwDirConnect:"), [&] {
        connState.downloadState = pelmora::DownloadWaiting;
        if (bringWwwDir())
            return fileConnect();
        return false;
    });
}

bool PelmoraC02::bringWwwDir()
{
    using platform::automation::Download;
    return trapped(QStringLiteral("bringWwwDir:"), [&] {
        // Commands that arrive while the download runs are ignored (see doAction); the wait
        // ends with the download, which is bounded in size and fails when it stalls. A wait
        // of more than a moment shows its progress, and the user may cancel it there.
        const FlagScope waiting(connState.waitingForDownload);
        AsyncRead(openParams.OpenWWWDir, QStringLiteral("OpenWWWDir"));
        QPointer<Download> download;
        const QList<Download *> downloads = findChildren<Download *>();
        for (Download *d : downloads) {
            if (d->isRunning())
                download = d;
        }
        std::optional<DownloadWait> progress;
        if (download)
            progress.emplace(*download, language.LanguageID, this);
        while (connState.downloadState == pelmora::DownloadWaiting && download)
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        return connState.downloadState == pelmora::DownloadDone;
    });
}

bool PelmoraC02::interactiveConnect()
{
    return trapped(QStringLiteral("interactiveConnect:"), [&] {
        {
            frmConexion form(this);
            form.traeConexion(language.LanguageID, openParams.OpenServer);
            if (form.vConexion.isEmpty())
                return false;
            openParams.OpenServer = form.vConexion;
        }
        connState.connectionString = connectionStringOf(openParams.OpenServer);
        if (!openConection())
            return false;
        {
            frmDb form(this);
            form.traeDb(language.LanguageID, *connState.connection);
            if (form.vDb.isEmpty())
                return false;
            openParams.OpenDB = form.vDb;
        }
        if (!OpenCatalog(true))
            return false;
        {
            if (!connState.catalog)
                connState.catalog.emplace();
            frmCubo form(this);
            form.traeCubo(language.LanguageID, *connState.catalog);
            if (form.vCubo.isEmpty())
                return false;
            openParams.openCube = form.vCubo;
        }
        connState.numCube = bringNumCube();
        if (connState.numCube == -1 || !doOpenCube())
            return false;
        lblCubo->setText(openParams.openCube);
        return true;
    });
}

bool PelmoraC02::openConection()
{
    bool result = false;
    try {
        if (connState.connectionString.isEmpty())
            return false;
        if (!connState.connection)
            connState.connection.emplace();
        platform::olap::Connection &connection = *connState.connection;
        if (connection.state() == platform::olap::Connection::StateOpen) {
            // A cell set that did not open (after a statement that failed) is left alone.
            std::optional<platform::olap::Cellset> &cellset = queryState.cellset;
            if (cellset && cellset->state() == platform::olap::Cellset::StateOpen)
                cellset->close();
            connection.close();
            // The open cube is gone: no statement may run until a new one is open.
            connState.connected = false;
        }
        connection.open(connState.connectionString, QString(), QString(), -1);
        result = true;
    } catch (...) {
        platform::forms::msgBox(
            QStringLiteral("openConection: ") + pelmora::errorDescription(std::current_exception())
                + QStringLiteral("\r\n") + message(6) + connState.connectionString,
            platform::forms::OkOnly);
    }
    return result;
}

bool PelmoraC02::OpenCatalog(bool serverRoute)
{
    return trapped(QStringLiteral("OpenCatalog: "), [&] {
        if (!connState.connection)
            connState.connection.emplace();
        connState.catalog.emplace();
        connState.catalog->setActiveConnection(*connState.connection);
        // The connection string names no database: the one chosen takes effect here.
        if (serverRoute && !openParams.OpenDB.isEmpty())
            connState.catalog->bindCatalog(openParams.OpenDB);
        return true;
    });
}

int PelmoraC02::bringNumCube()
{
    // -1 also after an error, so that no other cube opens in place of the one named.
    return trapped(
        QStringLiteral("bringNumCube:"),
        [&] {
            if (!connState.catalog)
                connState.catalog.emplace();
            const platform::olap::CubeDefs cubes = connState.catalog->cubeDefs();
            for (int i = 0; i < cubes.count(); ++i) {
                if (cubes.item(i).name() == openParams.openCube)
                    return i;
            }
            return -1;
        },
        -1);
}

bool PelmoraC02::doOpenCube()
{
    return trapped(QStringLiteral("doOpenCube: "), [&] {
        if (!connState.catalog)
            connState.catalog.emplace();
        const platform::olap::CubeDef cube = connState.catalog->cubeDefs().item(connState.numCube);
        openParams.openCube = cube.name();
        const platform::olap::Dimensions dimensions = cube.dimensions();
        layoutState.NumDims = dimensions.count();
        if (openParams.OpenView.isEmpty()) {
            for (int d = 0; d < layoutState.NumDims; ++d) {
                const platform::olap::Dimension dimension = dimensions.item(d);
                const platform::olap::Member first =
                    dimension.hierarchies().item(0).levels().item(0).members().item(0);
                newOrderDim(d, first.uniqueName(), first.name(), dimension.name(),
                            dimension.properties(QStringLiteral("DIMENSION_TYPE")).value().toInt());
            }
        }
        return true;
    });
}
