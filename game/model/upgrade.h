// Experience and upgrades.
#pragma once

void ProcessUpgrades();     // the host's upgrade queue, once per main-loop pass
