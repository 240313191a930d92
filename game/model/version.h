// The version of the game, from the string module.
#pragma once
#include <string>

std::string GetVersionText();           // "Version " and the four version parts joined by "."
