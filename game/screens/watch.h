// The frame shown while somebody else acts: another player's turn, the neutral side's, or the
// moments between turns.
#pragma once
#include <cstdint>

// One frame of the board as the local player sees it, with the acting unit's panel: the music of the
// time of day, the ambience, the board and its panels, the chat line, scrolling and the game keys.
// Always false.
bool DrawWatchFrame();
// The panels round the board of every play screen: the frame, with withunit the acting unit's panel and
// the turn header, the viewer's message feed, the minimap (when its option is on) and the square under
// the cursor.
void DrawPlayPanels(int32_t viewer, bool withunit);
