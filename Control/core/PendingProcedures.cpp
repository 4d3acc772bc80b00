// Stand-ins for the control's procedures that live in subsystems not built yet (the format).
// Each runs nothing and answers False, so its command answers False and does nothing. A
// procedure's real definition replaces its stand-in here: delete the stand-in when adding it.
#include "Control/core/PelmoraC02.h"

bool PelmoraC02::doFormat()
{
    return false;
}
