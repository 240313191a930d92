// The names players are shown by: their own, or "Player One".."Player Five" while the host masks them.
#pragma once
#include <cstdint>
#include <string>

extern uint8_t shownames;               // 1 = players' own names shown; the neutral side always is
extern const uint32_t playercolours[6]; // COLORREF of each player, by index in p

std::string PlayerName(int32_t player);         // "!BADPLAYER" for an index not in p
std::string PlayerPossessive(int32_t player);   // "Unaligned" for the neutral side, else the name + "'s"

std::string GoldText(int32_t gold);      // "$" and the amount
