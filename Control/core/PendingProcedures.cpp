// Stand-ins for the control's procedures that live in subsystems not built yet (view actions,
// printing and export, format, about box, view title). Each runs nothing and answers False,
// so its command answers False and does nothing. A procedure's real
// definition replaces its stand-in here: delete the stand-in when adding it.
#include "Control/core/PelmoraC02.h"

bool PelmoraC02::saveView()
{
    return false;
}

bool PelmoraC02::printView()
{
    return false;
}

bool PelmoraC02::loadPreview(const QString &, QWidget *)
{
    return false;
}

bool PelmoraC02::copyView()
{
    return false;
}

bool PelmoraC02::directMDX()
{
    return false;
}

bool PelmoraC02::showElements()
{
    return false;
}

bool PelmoraC02::showLayout()
{
    return false;
}

bool PelmoraC02::doFormat()
{
    return false;
}

bool PelmoraC02::ShowAboutBox()
{
    return false;
}

bool PelmoraC02::ShowSplash()
{
    return false;
}

bool PelmoraC02::changeTitle()
{
    return false;
}
