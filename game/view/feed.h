// The message feed: timed lines telling the local player what happened, stacked above the bottom
// edge of the board, the newest lowest.
#pragma once
#include <cstdint>
#include <deque>
#include <string>

#include "game/model/announce.h"

enum : uint32_t { FEEDLIFETIME = 15000 };   // ms a line stays after its stamp
// Lines kept: no more than can show at once above the board's bottom edge (the oldest, which would
// stand above the screen, expire first anyway), and the characters of one line.
enum : uint32_t { FEEDMAXLINES = 18, FEEDMAXTEXT = 200 };

struct FeedMessage {
    std::string text;
    uint32_t colour;                    // COLORREF: red in the low byte
    uint32_t stamp;                     // tick count when added, plus the caller's delay
};

extern std::deque<FeedMessage> messages;    // oldest first

// Adds a line for a player: kept only when he is the local player and the game is active, logged
// whenever he is the local player.
void AddMessage(int32_t player, std::string text, uint32_t colour = FEEDWHITE, int32_t delay = 0);
void ExpireMessages();                  // drops the lines whose stamp is more than FEEDLIFETIME ago
// Drops the expired lines and draws the rest, right-aligned, the last one ending at the board's
// bottom. True, drawing nothing, when player is not an index of p; false while drawing is off.
bool DrawMessageFeed(int32_t player);
