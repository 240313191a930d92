#include "game/model/names.h"

#include <algorithm>
#include <cstddef>

#include "game/model/state.h"

uint8_t shownames = 1;

// Red, green, cyan, orange, magenta, then grey for the neutral side (COLORREF: 0x00BBGGRR).
const uint32_t playercolours[6] = { 0x0000FF, 0x00FF00, 0xFFFF00, 0x0080FF, 0xFF00FF, 0x808080 };

static const char* const playernumbers[MAXHUMANS] = { "One", "Two", "Three", "Four", "Five" };

static bool IsPlayer(const int32_t player)
{
    return player >= 0 && static_cast<size_t>(player) < p.size();
}

std::string PlayerName(const int32_t player)
{
    if (!IsPlayer(player))
        return "!BADPLAYER";
    const Player& record = p[player];
    if (!shownames && !record.neutral) {
        int number = record.code - FIRSTCODE;
        if (number < 0)
            number = 0;
        if (number >= MAXHUMANS)
            number = MAXHUMANS - 1;
        return std::string("Player ") + playernumbers[number];
    }
    const char* const end = std::find(record.name, record.name + sizeof record.name, '\0');
    return std::string(record.name, end);
}

std::string PlayerPossessive(const int32_t player)
{
    // By the record's own flag, not its place: before the neutral side exists the last record is a human.
    if (IsPlayer(player) && p[player].neutral)
        return "Unaligned";
    return PlayerName(player) + "'s";
}

std::string GoldText(const int32_t gold)
{
    std::string text = "$";
    return text += std::to_string(gold);
}
