// Preferences. The file itself is read and written once the preferences land; until then the name
// starts empty.
#include "game/shell/prefs.h"

std::string playername;
