// The screens that turn a lobby into a game: the host's starting money, the map's creation and
// transfer, the neutral camps, and the road to the warlord selection. What each frame does to the
// game is in setupsteps.h; these draw it.
#pragma once

bool SelectMoneyFrame();    // GAME_SELECTMONEY (host): five amounts of starting money
bool CreateMapFrame();      // GAME_CREATEMAP (host): one more candidate of the map search
bool SendMapFrame();        // GAME_SENDMAP: the map sent (host) or received (client) row by row
bool CreateNeutralsFrame(); // GAME_CREATENEUTRALS: the neutral side is added (host); clients wait here
bool PlaceNeutralsFrame();  // GAME_PLACENEUTRALS (host): the guards of one gold mine
bool PreWarlordFrame();     // GAME_PREWARLORD: on to the warlord selection
bool SelectWarlordFrame();  // GAME_SELECTWARLORD: the warlord selection box
bool WaitServerFrame();     // GAME_WAITSERVER: "Waiting for Server..." until the local warlord exists
