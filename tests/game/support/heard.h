// A recording listener to the rules (game/model/announce.h): every announcement, in order, as one line
// of text ("sound .\Sound\GSGold.wav", "feed 0 Your unit claimed this gold mine.", "effect 1 0 0 15 0 0").
#pragma once
#include <cstdint>
#include <string>
#include <vector>

extern std::vector<std::string> heard;

void HearRules();                       // the recorder listens from now on, with nothing heard yet
void ClearHeard();                      // forgets what was heard
std::vector<std::string> HeardSounds(); // the names of the sounds heard, in order
std::vector<std::string> HeardFeed(int32_t player); // the feed lines announced to the player, in order
// The lines heard of one kind ("effect", "picture", ...), without the kind, in order.
std::vector<std::string> HeardOf(const std::string& kind);
struct HeardError {
    std::string title, text;
    int32_t next;                       // the state after it; -1 when no error was heard
};
HeardError LastHeardError();            // the last error heard
