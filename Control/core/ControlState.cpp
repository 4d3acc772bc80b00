#include "Control/core/ControlState.h"

namespace pelmora {

bool connectionWanted(const OpenParams &params)
{
    const bool server =
        !params.OpenServer.isEmpty() && !params.OpenDB.isEmpty() && !params.openCube.isEmpty();
    return server || !params.OpenFile.isEmpty() || !params.OpenView.isEmpty()
           || !params.OpenWWWDir.isEmpty();
}

} // namespace pelmora
