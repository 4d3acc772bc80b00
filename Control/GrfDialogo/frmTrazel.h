#pragma once

#include "Control/charts/frmGrf2D.h"

#include <QString>

// Trazel's only window: the chart format editor on "def.oc2" in the program's own folder,
// always in English. Its load replaces the editor's: no chart action calls, the save-as-default
// box hidden, and when the file cannot be read the Open command runs at once so that the user
// picks a format to start from. OK writes the file back and closes; Cancel closes.
class frmTrazel : public frmGrf2D
{
    Q_OBJECT

public:
    // `programFolder` holds "def.oc2"; the program passes its own folder.
    explicit frmTrazel(const QString &programFolder, QWidget *parent = nullptr);

    void Form_Load() override;
    void cmdOK_Click() override;
    void cmdCancel_Click() override;

    // The file edited: the program folder's "def.oc2".
    QString path() const;

private:
    QString m_folder;
};
