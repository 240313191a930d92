// Unit and player abilities: run at a deployment, a unit's creation, the start or end of its owner's
// turn or the end of a day, with (player, unit, ...). None of them draws a random number, so every
// machine that runs one does the same; only the host puts an exploding unit on the death list.
#include "game/magic/abilities.h"

#include <cstddef>

#include "game/magic/spells.h"
#include "game/model/announce.h"
#include "game/model/death.h"
#include "game/model/localplayer.h"
#include "game/model/mines.h"
#include "game/model/sight.h"
#include "game/model/state.h"
#include "game/model/stats.h"
#include "game/model/wards.h"

namespace {

enum : int32_t { SAVIORHEAL = 3, PRINCEGOLD = 5, BLOWNUPPICTURE = 253, EXPLOSIONANIM = 262 };

bool IsUnit(int32_t player, int32_t unit)
{
    return player >= 0 && static_cast<size_t>(player) < p.size() && unit >= 0
        && static_cast<size_t>(unit) < p[player].units.size();
}

bool IsPlayer(int32_t player)
{
    return player >= 0 && static_cast<size_t>(player) < p.size();
}

} // namespace

int32_t AbilityDaylight(int32_t player, int32_t unit, int32_t, int32_t, int32_t, int32_t)
{
    if (!IsUnit(player, unit) || turncount != NIGHT)
        return 0;
    // The ward takes its move from the moves left as it comes, once.
    AddWard(player, unit, 1, 0, -1, 0, -1, 0, 0, 0, 0, 0, 0, 0);
    return 0;
}

int32_t AbilityTactician(int32_t player, int32_t, int32_t, int32_t, int32_t, int32_t)
{
    // The fog is each machine's own: only the owner's machine lifts it.
    if (!IsPlayer(player) || player != YouToInt())
        return 0;
    for (auto& column : map)
        for (MapSquare& square : column) {
            square.explored = 1;
            square.visible = 1;
        }
    needredraw = 1;
    return 0;
}

int32_t AbilitySavior(int32_t player, int32_t, int32_t, int32_t, int32_t, int32_t)
{
    if (!IsPlayer(player))
        return 0;
    for (size_t i = 0; i < p[player].units.size(); i++) {
        const int32_t unit = static_cast<int32_t>(i);
        Unit& u = p[player].units[i];
        u.hp += SAVIORHEAL;
        const int32_t life = GetStat(player, unit, STAT_LIFE);
        if (u.hp > life)
            u.hp = life;
        AnnouncePicture(player, unit);
        u.poison = 0;
    }
    return 0;
}

int32_t AbilityKnight(int32_t player, int32_t, int32_t, int32_t, int32_t, int32_t)
{
    if (!IsPlayer(player))
        return 0;
    for (size_t i = 0; i < p[player].units.size(); i++)
        if (GetStat(player, static_cast<int32_t>(i), STAT_ACTIONS) % 2 == 0)
            p[player].units[i].stat[STAT_ACTIONS]++;
    return 0;
}

int32_t AbilityWizard(int32_t player, int32_t, int32_t, int32_t, int32_t, int32_t)
{
    if (!IsPlayer(player) || turncount != MORNING)
        return 0;
    for (Unit& u : p[player].units) {
        u.mana++;
        if (u.mana > MAXMANA)
            u.mana = MAXMANA;
    }
    return 0;
}

int32_t AbilityWarriorPrince(int32_t player, int32_t, int32_t, int32_t, int32_t, int32_t)
{
    if (!IsPlayer(player))
        return 0;
    p[player].gold += PRINCEGOLD + PRINCEGOLD * CountMines(player);
    return 0;
}

int32_t AbilityHaze(int32_t player, int32_t unit, int32_t, int32_t, int32_t, int32_t)
{
    if (IsUnit(player, unit))
        SpellExorcize(player, unit, player, unit, 0, 0);
    return 0;
}

int32_t AbilityExplosive(int32_t player, int32_t unit, int32_t, int32_t, int32_t, int32_t)
{
    if (!IsUnit(player, unit))
        return 0;
    Unit& u = p[player].units[unit];
    PlaySoundAt(u.x, u.y, ".\\Sound\\GSExplode.wav");
    u.picture = BLOWNUPPICTURE;
    AnnouncePicture(player, unit);
    AnnounceEffect(player, unit, 0, EXPLOSIONANIM, 0);
    // A client keeps the unit until the host's kill arrives. Nobody is credited: the killer is the
    // neutral side, the last record.
    if (ishost)
        KillUnit(player, unit, static_cast<int32_t>(p.size()) - 1);
    return 0;
}
