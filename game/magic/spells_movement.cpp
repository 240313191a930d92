// Movement, transformation and summoning spells: units pushed, swapped or carried to another square,
// a unit turned into its other form, and creatures summoned by their type's name.
#include <cstddef>
#include <cstring>
#include <utility>
#include <vector>

#include "game/magic/spells.h"
#include "game/magic/spellsteps.h"
#include "game/model/announce.h"
#include "game/model/damage.h"
#include "game/model/experience.h"
#include "game/model/localplayer.h"
#include "game/model/moves.h"
#include "game/model/powers.h"
#include "game/model/queries.h"
#include "game/model/sight.h"
#include "game/model/squares.h"
#include "game/model/state.h"
#include "game/model/strids.h"
#include "game/model/strings.h"
#include "game/model/units.h"
#include "game/shell/debuglog.h"

namespace {

enum : int32_t { PUSHDAMAGE = 1, TRANSFERDAMAGE = 2, POUNCEDAMAGE = 5, PSYCHICREACH = 3 };
enum : int32_t { PACKEDROCKS = 999999 };

int32_t Sign(int32_t v)
{
    return (v > 0) - (v < 0);
}

int32_t Abs(int32_t v)
{
    return v < 0 ? -v : v;
}

// Moves a unit to (x, y) by force: its move-bound wards end and its on-move abilities run, it stands
// there, looks around (no exploration experience) and the square takes effect.
void ForceMove(int32_t player, int32_t unit, int32_t x, int32_t y)
{
    PrepareUnitMove(player, unit, x, y);
    p[player].units[unit].x = x;
    p[player].units[unit].y = y;
    ExploreFrom(player, x, y, PhaseSight(), NOEXPERIENCE);
    EnterSquare(player, unit);
}

void CenterWhereExplored(int32_t x, int32_t y)
{
    if (autofocus && IsSquareExplored(YouToInt(), x, y))
        AnnounceCentre(x, y);
}

// Unpack (+1) and Pack (-1): the unit's type becomes the neighbouring type number, with that form's
// picture, powers and base stats at every level the unit has reached.
bool ChangeForm(int32_t cp, int32_t cu, int32_t step)
{
    if (!IsUnitIndex(cp, cu))
        return false;
    Unit& u = p[cp].units[cu];
    const int32_t now = u.type + step;
    const int32_t level = now / TYPESPERLEVEL;
    const int32_t base = now % TYPESPERLEVEL;
    const int32_t oldbase = base - step;
    debuglog << (step > 0 ? "UNPACK: ref=" : "PACK: ref=") << now << '\n';
    u.picture = GetResNumber(STR_UNITPICTURE + base) + PICTURESPERLEVEL * level;
    debuglog << "Picture is now " << u.picture << '\n';
    GetUnitPowers(base, u.spells, u.abilities);
    for (int32_t l = 0; l <= level; l++)
        for (int32_t k = 0; k < NUMSTATS; k++) {
            const int32_t row = STR_UNITSTAT + k * 100;
            u.stat[k] += GetResNumber(base + TYPESPERLEVEL * l + row) - GetResNumber(oldbase + TYPESPERLEVEL * l + row);
        }
    AnnouncePicture(cp, cu);
    AnimateUnit(cp, cu, 139, true);
    // An unlimbered unit carries the stones it gathered; on the road it has stones to spare.
    u.type += step;
    u.rocks += step > 0 ? -PACKEDROCKS : PACKEDROCKS;
    return false;
}

// The summoned unit on a client: it arrived by message just before the cast, as the caster player's
// last unit, on the square, of the named type, the newest unit of the game (the host numbers units
// upwards), and not yet handed to its summoner. Anything else is left alone.
int32_t FreshSummon(int32_t cp, int32_t x, int32_t y, const char* name)
{
    if (p[cp].units.empty())
        return -1;
    const int32_t last = static_cast<int32_t>(p[cp].units.size()) - 1;
    const Unit& u = p[cp].units[last];
    if (u.x != x || u.y != y || u.expreceiver != u.id || u.alerted)
        return -1;
    if (std::strcmp(GetString(STR_UNITNAME + u.type), name) != 0)
        return -1;
    for (const Player& player : p)
        for (const Unit& other : player.units)
            if (other.id > u.id)
                return -1;
    return last;
}

} // namespace

bool PushUnitAway(int32_t op, int32_t ou, int32_t tp, int32_t tu, int32_t cp, int32_t cu)
{
    if (!IsUnitIndex(op, ou) || !IsUnitIndex(tp, tu))
        return true;
    // Every push costs the pushed unit a hit point, blocked or not, and pays the caster for it.
    DealSpellDamage(cp, cu, tp, tu, PUSHDAMAGE);

    const Unit& origin = p[op].units[ou];
    const Unit& target = p[tp].units[tu];
    int32_t dx = target.x - origin.x;
    int32_t dy = target.y - origin.y;
    if (Abs(dx) == Abs(dy)) {
        dx = Sign(dx);
        dy = Sign(dy);
    } else if (Abs(dx) <= Abs(dy)) {
        dx = 0;
        dy = Sign(dy);
    } else {
        dy = 0;
        dx = Sign(dx);
    }
    // Origin and target on one square give no direction: pushing "nowhere" would push the units stacked
    // there into each other without end.
    if (dx == 0 && dy == 0)
        return true;
    const int32_t nx = target.x + dx;
    const int32_t ny = target.y + dy;
    if (!InBounds(nx, ny) || map[nx][ny].counter2 != 0)
        return true;

    // Whatever stands there is pushed first, along the same line; each level of this recursion aims one
    // square further, so a chain ends at the map's edge at the latest.
    for (size_t i = 0; i < p.size(); i++)
        for (size_t u = 0; u < p[i].units.size(); u++) {
            const int32_t pi = static_cast<int32_t>(i);
            const int32_t ui = static_cast<int32_t>(u);
            if (pi == tp && ui == tu)
                continue;
            const Unit& other = p[i].units[u];
            if (other.x != nx || other.y != ny)
                continue;
            if (pi == op && ui == ou)
                return true;
            if (PushUnitAway(tp, tu, pi, ui, cp, cu))
                return true;
        }
    ForceMove(tp, tu, nx, ny);
    return false;
}

bool SpellTeleport(int32_t cp, int32_t cu, int32_t x, int32_t y, int32_t, int32_t)
{
    if (!IsUnitIndex(cp, cu) || !InBounds(x, y))
        return false;
    p[cp].units[cu].x = x;
    p[cp].units[cu].y = y;
    CenterWhereExplored(x, y);
    ExploreFrom(cp, x, y, PhaseSight(), NOEXPERIENCE);
    AnimateUnit(cp, cu, 7, true);
    EnterSquare(cp, cu);
    return false;
}

bool SpellRepel(int32_t cp, int32_t cu, int32_t a, int32_t b, int32_t, int32_t)
{
    PushUnitAway(cp, cu, a, b, cp, cu);
    return false;
}

bool SpellPsychic(int32_t cp, int32_t cu, int32_t, int32_t, int32_t, int32_t)
{
    if (!IsUnitIndex(cp, cu))
        return false;
    AnimateUnitClipped(cp, cu, 8);
    const int32_t cx = p[cp].units[cu].x;
    const int32_t cy = p[cp].units[cu].y;
    // Who is in reach is settled before anyone moves, so each of them is pushed once, however the
    // pushes shift them across the squares still to be scanned.
    std::vector<int32_t> ids;
    for (int32_t x = cx - PSYCHICREACH; x <= cx + PSYCHICREACH; x++)
        for (int32_t y = cy - PSYCHICREACH; y <= cy + PSYCHICREACH; y++)
            for (size_t i = 0; i < p.size(); i++) {
                if (static_cast<int32_t>(i) == cp)
                    continue;
                for (const Unit& u : p[i].units)
                    if (u.x == x && u.y == y)
                        ids.push_back(u.id);
            }
    for (const int32_t id : ids) {
        const UnitRef unit = FindUnit(id);
        if (unit.player >= 0)
            PushUnitAway(cp, cu, unit.player, unit.unit, cp, cu);
    }
    return false;
}

bool SpellPhasewarp(int32_t cp, int32_t cu, int32_t x, int32_t y, int32_t, int32_t)
{
    if (!IsUnitIndex(cp, cu) || !InBounds(x, y))
        return false;
    CenterWhereExplored(x, y);
    AnimateSquareClipped(x, y, 7);
    const int32_t x0 = p[cp].units[cu].x;
    const int32_t y0 = p[cp].units[cu].y;
    debuglog << "x0 = " << x0 << ", y0 = " << y0 << '\n';
    std::vector<int32_t> moved;
    for (int32_t dx = -1; dx <= 1; dx++)
        for (int32_t dy = -1; dy <= 1; dy++) {
            const UnitRef unit = FirstUnitAt(x0 + dx, y0 + dy);
            if (unit.player < 0)
                continue;
            const int32_t id = p[unit.player].units[unit.unit].id;
            bool seen = false;
            for (const int32_t m : moved)
                seen = seen || m == id;
            if (seen)
                continue;
            moved.push_back(id);
            const int32_t nx = x + dx;
            const int32_t ny = y + dy;
            if (!InBounds(nx, ny) || UnitIdAt(nx, ny) >= 0)
                continue;
            PrepareUnitMove(unit.player, unit.unit, nx, ny);
            p[unit.player].units[unit.unit].x = nx;
            p[unit.player].units[unit.unit].y = ny;
            EnterSquare(unit.player, unit.unit);
        }
    const Unit& caster = p[cp].units[cu];
    CenterWhereExplored(caster.x, caster.y);
    ExploreFrom(cp, x, y, PhaseSight(), NOEXPERIENCE);
    AnimateUnitClipped(cp, cu, 7, true);
    return false;
}

bool SpellUnpack(int32_t cp, int32_t cu, int32_t, int32_t, int32_t, int32_t)
{
    return ChangeForm(cp, cu, 1);
}

bool SpellPack(int32_t cp, int32_t cu, int32_t, int32_t, int32_t, int32_t)
{
    return ChangeForm(cp, cu, -1);
}

bool SpellTransfer(int32_t cp, int32_t cu, int32_t a, int32_t b, int32_t, int32_t)
{
    if (!IsUnitIndex(cp, cu) || !IsUnitIndex(a, b))
        return false;
    Unit& caster = p[cp].units[cu];
    Unit& target = p[a].units[b];
    std::swap(caster.x, target.x);
    std::swap(caster.y, target.y);
    if (InBounds(caster.x, caster.y))
        EnterSquare(cp, cu);
    AnimateUnit(cp, cu, 271, true);
    for (const UnitRef& unit : UnitsAround(p[cp].units[cu].x, p[cp].units[cu].y, cp))
        DealSpellDamage(cp, cu, unit.player, unit.unit, TRANSFERDAMAGE);
    return false;
}

bool SpellPounce(int32_t cp, int32_t cu, int32_t x, int32_t y, int32_t, int32_t)
{
    if (!IsUnitIndex(cp, cu) || !InBounds(x, y))
        return false;
    std::vector<int32_t> ids;
    for (int32_t sx = x - 1; sx <= x + 1; sx++)
        for (int32_t sy = y - 1; sy <= y + 1; sy++) {
            bool found = false;
            for (size_t i = 0; i < p.size() && !found; i++) {
                if (static_cast<int32_t>(i) == cp)
                    continue;
                for (const Unit& u : p[i].units)
                    if (u.x == sx && u.y == sy) {
                        ids.push_back(u.id);
                        found = true;
                        break;
                    }
            }
        }
    AnimateUnit(cp, cu, 258);
    p[cp].units[cu].x = x;
    p[cp].units[cu].y = y;
    EnterSquare(cp, cu);
    // A leap is a look of the caster's own, with its player's sight bonus and exploration experience.
    ExploreFrom(cp, x, y, LookBudget(cp), cu);
    AnimateUnit(cp, cu, 257);
    if (ids.empty())
        return false;
    PlaySoundAt(x, y, ".\\Sound\\ATBeast.wav");
    for (const int32_t id : ids) {
        const UnitRef unit = FindUnit(id);
        if (unit.player >= 0)
            DealAbilityDamage(cp, cu, unit.player, unit.unit, POUNCEDAMAGE);
    }
    return false;
}

bool SummonUnit(int32_t cp, int32_t cu, int32_t x, int32_t y, const char* name)
{
    debuglog << "SummonUnit: " << name << '\n';
    if (!IsUnitIndex(cp, cu) || !InBounds(x, y))
        return false;
    AnimateSquare(x, y, 266, true);
    // The host creates and announces it; a client already has it, as the announcement comes before the
    // cast. Only a unit known to be the new one is touched: a name the catalogue lacks makes none.
    const int32_t made = ishost ? SummonUnitNamed(cp, x, y, name, 0) : FreshSummon(cp, x, y, name);
    if (made < 0)
        return false;
    Unit& summoned = p[cp].units[made];
    const int32_t experience = summoned.experience;
    summoned.experience = 0;
    summoned.alerted = 1;
    summoned.expreceiver = p[cp].units[cu].id;
    AddExperience(cp, cu, experience);
    ExploreFrom(cp, x, y, PhaseSight(), made);
    return false;
}

bool SpellFireball(int32_t cp, int32_t cu, int32_t x, int32_t y, int32_t, int32_t)
{
    return SummonUnit(cp, cu, x, y, "Fireball");
}

bool SpellSkeleton(int32_t cp, int32_t cu, int32_t x, int32_t y, int32_t, int32_t)
{
    return SummonUnit(cp, cu, x, y, "Skeleton");
}

bool SpellAir(int32_t cp, int32_t cu, int32_t x, int32_t y, int32_t, int32_t)
{
    return SummonUnit(cp, cu, x, y, "Air Elemental");
}

bool SpellWater(int32_t cp, int32_t cu, int32_t x, int32_t y, int32_t, int32_t)
{
    return SummonUnit(cp, cu, x, y, "Water Elemental");
}

bool SpellEarth(int32_t cp, int32_t cu, int32_t x, int32_t y, int32_t, int32_t)
{
    return SummonUnit(cp, cu, x, y, "Earth Elemental");
}

bool SpellFire(int32_t cp, int32_t cu, int32_t x, int32_t y, int32_t, int32_t)
{
    return SummonUnit(cp, cu, x, y, "Fire Elemental");
}
