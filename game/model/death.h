// The death list.
#pragma once

void ProcessDeaths();       // removes the dead, once per main-loop pass
