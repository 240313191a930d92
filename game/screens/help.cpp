// The help module. Placeholder until the help screen lands: there is no module to load yet.
#include "game/screens/help.h"

#include "game/shell/debuglog.h"

bool LumethGo()
{
    debuglog << "LumethGo called\n";
    return false;
}

void UnloadHelpModule()
{
}
