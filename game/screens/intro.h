// The intro, the entry of the player's name and the end of the program.
#pragma once
#include <string>

extern std::string entrydisplay;        // the name as the name box shows it, with its caret

bool IntroFrame();          // GAME_INTRO: the letters of the title brighten one after another
bool IntroEndFrame();       // GAME_INTROEND: the intro was ended by a key
bool EnterNameFrame();      // GAME_ENTERNAME: the player types his name
bool ExitFrame();           // GAME_EXIT: the program ends (the frame ends at once)
