// The frame shown while somebody else acts: another player's turn, the neutral side's, or the
// moments between turns.
#pragma once

// One frame of the board as the local player sees it, with the acting unit's panel: the music of the
// time of day, the ambience, the board and its panels, the chat line, scrolling and the game keys.
// Always false.
bool DrawWatchFrame();
