// The turn states: the local player's turn unit by unit, watching the others, waiting for the day's
// first turn, and the host's play of the neutral side. What each frame does to the game is in
// turnsteps.h.
#pragma once

bool EndTurnFrame();            // GAME_ENDTURN
bool NextUnitFrame();           // GAME_NEXTUNIT: true (the frame ends) once a unit was taken
bool UnitTurnFrame();           // GAME_UNITTURN
bool WatchFrame();              // GAME_WATCH
bool WaitPlayersFrame();        // GAME_WAITPLAYERS
bool StartTurnFrame();          // GAME_STARTTURN
bool RequestSentFrame();        // GAME_REQUESTSENT
bool WaitResultFrame();         // GAME_WAITRESULT
bool YourTurnFrame();           // GAME_YOURTURN
bool EndTurnOpenFrame();        // GAME_ENDTURNOPEN
bool EndTurnConfirmFrame();     // GAME_ENDTURNCONFIRM
// The computer player's two states, run after the Esc keys, also while the game is in the background.
bool CompTurnFrame();           // GAME_COMPTURN
bool CompUnitFrame();           // GAME_COMPUNIT
