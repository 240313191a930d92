#include "game/model/records.h"

#include <cstring>

Unit BlankUnit()
{
    Unit unit{};
    for (int32_t& s : unit.spells)
        s = -1;
    for (int32_t& a : unit.abilities)
        a = -1;
    unit.group = NOGROUP;
    unit.notwarlord = 1;
    return unit;
}

Player BlankPlayer()
{
    Player player{};
    player.socket = -1;
    for (int32_t& k : player.unithotkeys)
        k = -1;
    return player;
}

void SetPlayerName(Player& player, const char* name)
{
    std::memset(player.name, 0, sizeof player.name);
    std::strncpy(player.name, name, sizeof player.name - 1);
}
