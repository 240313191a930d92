// Preferences: the options and the player's name kept between runs.
#pragma once
#include <string>

extern std::string playername;  // the local player's name ("name"); hosting names his record with it
