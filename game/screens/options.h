// The in-game menu, the options box, leaving a game and the victory.
#pragma once

bool MenuOpenFrame();           // GAME_MENUOPEN
bool MenuFrame();               // GAME_MENU
bool ResumeFrame();             // GAME_RESUME: back to the state the menu or the options were opened over
bool LeaveGameFrame();          // GAME_LEAVEGAME: the game left, back to the main menu
bool OptionsOpenFrame();        // GAME_OPTIONSOPEN
bool OptionsFrame();            // GAME_OPTIONS
bool VictoryFrame();            // GAME_VICTORY
bool VictoryScreenFrame();      // GAME_VICTORYSCREEN
