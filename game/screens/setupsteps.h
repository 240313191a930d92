// The work of the set-up screens, without their drawing: each function is what one frame of its screen
// state does to the game (or what one of its buttons does), so that the screens call it every frame
// and anything else (a test's scripted player) can drive a game's set-up the same way.
//
// From the lobby to the first turn: the host makes the map (GAME_CREATEMAP) and sends it row by row
// (GAME_SENDMAP), adds the neutral side (GAME_CREATENEUTRALS) and guards every gold mine with it
// (GAME_PLACENEUTRALS, one mine a frame); then every player chooses his warlord, shops and deploys.
#pragma once
#include <cstdint>
#include <vector>

#include "game/model/mines.h"

extern int32_t campcounter;                 // the camp number of the guards placed last

void CreateMapStep();           // GAME_CREATEMAP (host): one more candidate of the map search
void SendMapStep();             // GAME_SENDMAP: the host's next row once every client took the last
void CreateNeutralsStep();      // GAME_CREATENEUTRALS (host): the neutral side and the list of mines
void PlaceNeutralsStep();       // GAME_PLACENEUTRALS (host): the guards of one mine; none left: warlords
void PreWarlordStep();          // GAME_PREWARLORD: on to the warlord selection
// The "Select Warlord" button: on the host the warlord is placed at once; every chooser reveals the
// land round his camp, sends his choice and waits for the host's (GAME_WAITSERVER). Always false.
bool ChooseWarlord(int32_t warlord, int32_t player);
void WaitServerStep();          // GAME_WAITSERVER: on to the shop once the local warlord exists
void PreShopStep();             // GAME_PRESHOP: a new day's shopping (or waiting, with no army)
// The shop's "Buy This Unit": entry of buyable for the local player, when his gold pays for it (taken
// at once; the other machines charge it when he deploys the unit). True when it was not bought.
bool BuyUnit(int32_t entry);
bool DoneShopping();            // the shop's "Done": deploy first (the first player with an army) or wait; false
void BeginDeployStep();         // GAME_BEGINDEPLOY: the local player deploys
void ShadeMapStep();            // GAME_SHADEMAP: marks the squares he may deploy on
void PrepareDeployStep();       // GAME_PREPAREDEPLOY: the next bought unit, or the end of the deployment
// GAME_DEPLOY, a click on (x, y): places the selected bought unit (hoveritem) there. True when the
// square may not take it (off the marked area, taken, a forcefield) and nothing was placed.
bool DeployAt(int32_t x, int32_t y);
