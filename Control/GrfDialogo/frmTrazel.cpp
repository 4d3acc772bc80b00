#include "Control/GrfDialogo/frmTrazel.h"

#include "platform/chart/Chart2D.h"
#include "platform/forms/MsgBox.h"

#include <QCheckBox>
#include <QDir>
#include <QPushButton>

frmTrazel::frmTrazel(const QString &programFolder, QWidget *parent)
    : frmGrf2D(parent), m_folder(programFolder)
{
    setObjectName(QStringLiteral("frmTrazel"));
    disconnect(cmdOK, &QPushButton::clicked, this, &frmGrf2D::cmdOK_Click);
    disconnect(cmdCancel, &QPushButton::clicked, this, &frmGrf2D::cmdCancel_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmTrazel::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmTrazel::cmdCancel_Click);
}

QString frmTrazel::path() const
{
    return QDir(m_folder).filePath(vArchivo);
}

void frmTrazel::showEvent(QShowEvent *event)
{
    if (!m_formLoaded)
        Form_Load();
    // The editor's own load is replaced by this one.
    QDialog::showEvent(event);
}

void frmTrazel::Form_Load()
{
    if (m_formLoaded)
        return;
    m_formLoaded = true;
    vLanguageId = 0;
    vArchivo = QStringLiteral("def.oc2");
    chkSave->setVisible(false);
    setLanguage(0);
    initMaps();
    if (grf2d->loadFormat(path())) {
        loadFromChart();
        return;
    }
    // The controls show the look the preview was created with, and then the chart the user
    // opens, if any: a cancelled Open leaves the controls showing the preview as it is.
    loadFromChart();
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
