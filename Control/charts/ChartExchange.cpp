#include "Control/charts/ChartExchange.h"

#include "Control/charts/frmGrf2D.h"
#include "platform/chart/Chart2D.h"
#include "platform/forms/Modal.h"
#include "platform/forms/MsgBox.h"

#include <QCheckBox>
#include <QDir>
#include <QTemporaryDir>

namespace {

// Says which file of the exchange failed, in the control's language.
void reportFile(int languageId, bool writing, const QString &path)
{
    QString what;
    if (languageId == 0)
        what = writing ? QStringLiteral("the chart format could not be written to ")
                       : QStringLiteral("the edited chart format could not be read from ");
    else
        what = writing ? QStringLiteral("no se pudo escribir el formato de la gráfica en ")
                       : QStringLiteral("no se pudo leer el formato editado de ");
    platform::forms::msgBox(QStringLiteral("grf2d_DblClick: ") + what + path);
}

} // namespace

namespace pelmora {

ChartEdit editChartFormat(platform::chart::Chart2D &chart, int languageId, QWidget *owner)
{
    ChartEdit edit;
    // A folder of its own (readable by this user only) per exchange: no other program or
    // exchange can take or remove the file.
    QTemporaryDir folder;
    const QString path =
        folder.isValid() ? folder.filePath(QStringLiteral("chart.oc2")) : QString();
    if (path.isEmpty() || !chart.saveFormat(path)) {
        reportFile(languageId, true, path.isEmpty() ? QDir::tempPath() : path);
        return edit;
    }

    frmGrf2D editor(owner);
    editor.vArchivo = path;
    editor.vLanguageId = languageId;
    editor.Form_Load();
    platform::forms::showModal(editor);
    if (editor.vOK) {
        if (!chart.loadFormat(path)) {
            reportFile(languageId, false, path);
            return edit;
        }
        edit.accepted = true;
        edit.saveAsDefault = editor.chkSave->isChecked();
    }
    return edit;
}

} // namespace pelmora
