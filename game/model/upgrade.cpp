// Upgrades. Placeholder until experience lands: nothing is ever queued.
#include "game/model/upgrade.h"

void ProcessUpgrades()
{
}
