// The death list. Placeholder until kills land: nothing ever dies.
#include "game/model/death.h"

void ProcessDeaths()
{
}
