#include "game/model/digest.h"

#include <cstddef>


#include "game/model/state.h"
#include "game/model/strids.h"
#include "game/model/strings.h"

namespace {


// FNV-1a over the fields, each fed as its value (never as raw struct bytes: padding is not state).
struct Digest {
    uint64_t h = 1469598103934665603ull;

    void Byte(uint8_t b)
    {
        h ^= b;
        h *= 1099511628211ull;
    }
    void Add(int64_t v)
    {
        for (int i = 0; i < 8; i++)
            Byte(static_cast<uint8_t>(static_cast<uint64_t>(v) >> (8 * i)));
    }
    template <typename T, size_t N>
    void AddAll(const T (&values)[N])
    {
        for (const T& v : values)
            Add(v);
    }
};

void DigestWard(Digest& d, const Ward& w)
{
    d.Add(w.inuse);
    d.Add(w.flag);
    d.Add(w.announce);
    d.Add(w.turns);
    d.Add(w.kind);
    d.AddAll(w.mods);
}

void DigestUnit(Digest& d, const Unit& u)
{
    d.AddAll(u.stat);
    d.AddAll(u.spells);
    d.AddAll(u.abilities);
    d.Add(u.picture);
    d.Add(u.rocks);
    d.Add(u.x);
    d.Add(u.y);
    for (const Ward& w : u.wards)
        DigestWard(d, w);
    d.Add(u.hits);
    d.Add(u.moves);
    d.Add(u.mana);
    d.Add(u.hp);
    d.Add(u.type);
    d.Add(u.poison);
    d.Add(u.experience);
    d.Add(u.basetype);
    d.Add(u.id);
    d.Add(u.expreceiver);
    d.Add(u.notwarlord);
    d.Add(u.turnflag);
}

void DigestPlayer(Digest& d, const Player& pl)
{
    d.Add(static_cast<int64_t>(pl.units.size()));
    for (const Unit& u : pl.units)
        DigestUnit(d, u);
    d.AddAll(pl.bonus);
    d.AddAll(pl.filtermin);
    d.AddAll(pl.filtermax);
    // The owner pays for a unit when he buys it, every other machine when he deploys it: until then
    // his purse differs by what he bought, which only his own machine lists.
    int64_t purse = pl.gold;
    for (const UnitListEntry& entry : pl.bought)
        purse += GetResNumber(static_cast<uint32_t>(entry.type % TYPESPERLEVEL + STR_UNITCOST));
    d.Add(purse);
    d.Add(pl.code);
    d.Add(pl.expbonus);
    d.Add(pl.spellexpbonus);
    d.Add(pl.sightbonus);
    d.Add(pl.hostplayer);
    d.Add(pl.neutral);
    d.Add(pl.startx);
    d.Add(pl.starty);
    for (size_t i = 0; i < sizeof pl.name && pl.name[i]; i++)
        d.Byte(static_cast<uint8_t>(pl.name[i]));
    d.Byte(0);
    d.Add(pl.warlordtype);
    d.Add(pl.kills);
}

void DigestSquare(Digest& d, const MapSquare& s)
{
    d.Add(s.terrain);
    d.Add(s.extra);
    d.Add(s.cost);
    d.Add(s.timed);
    d.Add(s.hazard);
    d.Add(s.counter2);
    d.Add(s.bits);
    d.Add(s.dark);
    d.Add(s.lightowner);
}

} // namespace

uint64_t GameStateDigest()
{
    Digest d;
    d.Add(static_cast<int64_t>(p.size()));
    for (const Player& pl : p)
        DigestPlayer(d, pl);
    d.Add(mapsize);
    d.Add(static_cast<int64_t>(map.size()));
    for (const auto& column : map) {
        d.Add(static_cast<int64_t>(column.size()));
        for (const MapSquare& s : column)
            DigestSquare(d, s);
    }
    d.Add(currplayer);
    // Not currunit: the acting unit is the acting machine's choice (the host and the clients even
    // start a turn from different values). The host holds turncount at -1 between the end of a day
    // and the next first turn where the clients have wrapped it to 0 (morning): both mean morning.
    d.Add(turncount < 0 ? 0 : turncount);
    d.Add(daycount);
    d.Add(playersleft);
    return d.h;
}
