// Stand-ins for the control's procedures that live in the other subsystems' directories
// (view actions, printing and export, format, dimension options, stored defaults, about
// box, view title, view files, the result grids and the charts). Each runs nothing and
// answers False, so its command answers False and does nothing. A procedure's real
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

bool PelmoraC02::showChart2d()
{
    return false;
}

bool PelmoraC02::showChart3d()
{
    return false;
}

bool PelmoraC02::doSwapXY()
{
    return false;
}

bool PelmoraC02::showLayout()
{
    return false;
}

bool PelmoraC02::dimensionOptions()
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

bool PelmoraC02::readView()
{
    return false;
}

bool PelmoraC02::refreshChart()
{
    return false;
}

// Runs nothing yet: the data font onto the value cells.
void PelmoraC02::applyDataFont(int, int) {}

void PelmoraC02::UserControl_InitProperties() {}

void PelmoraC02::UserControl_ReadProperties(platform::automation::PropertyBag &) {}

void PelmoraC02::UserControl_WriteProperties(platform::automation::PropertyBag &) {}

bool PelmoraC02::writeView(const QString &)
{
    return false;
}
