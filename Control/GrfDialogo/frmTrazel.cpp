#include "Control/GrfDialogo/frmTrazel.h"

#include "platform/chart/Chart2D.h"
#include "platform/forms/MsgBox.h"

#include <QCheckBox>
#include <QDir>

frmTrazel::frmTrazel(const QString &programFolder, QWidget *parent)
    : frmGrf2D(parent), m_folder(programFolder)
{
    setObjectName(QStringLiteral("frmTrazel"));
}

QString frmTrazel::path() const
{
    return QDir(m_folder).filePath(vArchivo);
}

void frmTrazel::Form_Load()
{
    if (m_loaded)
        return;
    m_loaded = true;
    vLanguageId = 0;
    vArchivo = QStringLiteral("def.oc2");
    chkSave->setVisible(false);
    setLanguage(0);
    initMaps();
    const bool read = grf2d->loadFormat(path());
    // A file that cannot be read: the controls show the look the preview was created with, and
    // then the chart the user opens, if any; a cancelled Open leaves them showing the preview.
    loadFromChart();
    if (!read)
        cmdAbrir_Click();
}

void frmTrazel::cmdOK_Click()
{
    // The program folder may not be writable: the user is told, and the window stays open so
    // that the chart can still be saved elsewhere with the Save command.
    if (!grf2d->saveFormat(path())) {
        platform::forms::msgBox(QStringLiteral("The chart format could not be written to ")
                                + path());
        return;
    }
    vOK = true;
    accept();
}

void frmTrazel::cmdCancel_Click()
{
    vOK = false;
    reject();
}
