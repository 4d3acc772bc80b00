// Stand-ins for the control's procedures that live in subsystems not built yet (printing and
// export). Each runs nothing and answers False, so its command answers False and does
// nothing. A procedure's real definition replaces its stand-in here: delete the stand-in when
// adding it.
#include "Control/core/PelmoraC02.h"

#include <QDialog>

// A plain form with an empty printer control, until the print preview form exists.
std::unique_ptr<QDialog> PelmoraC02::newPreviewForm(QWidget *&vp)
{
    auto form = std::make_unique<QDialog>(this);
    form->setObjectName(QStringLiteral("frmPreview"));
    vp = new QWidget(form.get());
    vp->setObjectName(QStringLiteral("vp"));
    return form;
}

bool PelmoraC02::loadPreview(const QString &, QWidget *)
{
    return false;
}
