// The shell's globals: the program's activity and the text field being typed into.
#pragma once
#include <cstdint>
#include <string>

extern uint8_t appactive;       // the game has the foreground; while 0 the loop waits for messages
extern uint8_t candraw;         // drawing enabled; drawing routines return at once while 0
extern uint8_t startupdone;     // start-up has finished; re-activation does nothing before
extern int32_t editmode;        // what typed characters go to: EDIT_NONE .. EDIT_TEXT
extern std::string* editstring; // the text field being edited; null for none

enum { EDIT_NONE = 0, EDIT_NAME = 1, EDIT_DIGITS = 2, EDIT_ADDRESS = 3, EDIT_TEXT = 4 };
