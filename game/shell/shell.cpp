// The shell's globals.
#include "game/shell/shell.h"

uint8_t appactive = 1;
uint8_t candraw = 1;
uint8_t startupdone = 0;
int32_t editmode = EDIT_NONE;
std::string* editstring = nullptr;
