// The main menu, the slide that leads into it, and the update and quit dialogs it opens.
#pragma once
#include <string>

extern std::string versiontext;         // "Version a.b.c.d" under the menu; start-up reads it from the strings

bool ToMainMenuFrame();     // GAME_TOMAINMENU: the slide begins
bool MainMenuFadeFrame();   // GAME_MAINMENUFADE: the back picture slides in from the left
bool MainMenuFrame();       // GAME_MAINMENU: the eight menu icons
bool UpdateFrame();         // GAME_UPDATE: close the game to look for updates?
bool QuitFrame();           // GAME_QUIT: quit the game?
