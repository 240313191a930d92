// The message feed: timed lines telling the local player what happened.
#pragma once
#include <cstdint>
#include <deque>
#include <string>

enum : uint32_t { FEEDWHITE = 0xFFFFFF };   // colour of almost every line (COLORREF)
enum : uint32_t { FEEDLIFETIME = 15000 };   // ms a line stays after its stamp

struct FeedMessage {
    std::string text;
    uint32_t colour;                    // COLORREF: red in the low byte
    uint32_t stamp;                     // tick count when added, plus the caller's delay
};

extern std::deque<FeedMessage> messages;    // oldest first

// Adds a line for a player: kept only when he is the local player and the game is active, logged
// whenever he is the local player.
void AddMessage(int32_t player, std::string text, uint32_t colour = FEEDWHITE, int32_t delay = 0);
