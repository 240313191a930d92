// The help module "Lumeth.dll" and the help screen.
#pragma once

bool LumethGo();            // start-up: the help module and its folders; true on failure
void UnloadHelpModule();    // shutdown: frees the module
