#include "game/screens/probe.h"

#include <cstdlib>
#include <sstream>

#include "game/magic/targets.h"
#include "game/model/cast.h"
#include "game/model/catalogue.h"
#include "game/model/combat.h"
#include "game/model/digest.h"
#include "game/model/localplayer.h"
#include "game/model/queries.h"
#include "game/model/state.h"
#include "game/model/stats.h"
#include "game/model/strids.h"
#include "game/model/strings.h"
#include "game/model/turns.h"
#include "game/model/winner.h"
#include "game/net/sendqueue.h"
#include "game/screens/states.h"
#include "game/view/geometry.h"

namespace {

enum : int32_t { HIDDENSTEALTH = 2 };

// The unit panel's spell icons, slot 0 to 4.
const ScreenPoint spellslots[MAXSPELLS] = {{655, 520}, {680, 560}, {705, 520}, {730, 560}, {755, 520}};

bool IsPlayer(int32_t player)
{
    return player >= 0 && (size_t)player < p.size();
}

std::string At(int32_t x, int32_t y)
{
    return std::to_string(x) + "," + std::to_string(y);
}

// The middle of a square on the screen, when the board shows it there.
bool SquarePoint(int32_t x, int32_t y, ScreenPoint* point)
{
    const ScreenPoint corner = SquareToScreen(x, y);
    *point = {corner.x + SQUARESIZE / 2, corner.y + SQUARESIZE / 2};
    return IsOnBoard(point->x, point->y);
}

bool Visible(int32_t player, int32_t unit)
{
    const Unit& u = p[player].units[unit];
    return InBounds(u.x, u.y) && map[u.x][u.y].explored
        && map[u.x][u.y].dark + GetStat(player, unit, STAT_STEALTH) < HIDDENSTEALTH;
}

std::string Cheapest(int32_t local)
{
    int32_t best = -1, price = 0;
    for (size_t i = 0; i < buyable.size(); i++) {
        const int32_t cost = GetResNumber((uint32_t)(STR_UNITCOST + buyable[i].type));
        if (cost <= p[local].gold && (best < 0 || cost < price)) {
            best = (int32_t)i;
            price = cost;
        }
    }
    return best < 0 ? std::string() : At(buyable[best].iconx + SQUARESIZE / 2, buyable[best].icony + SQUARESIZE / 2);
}

std::string Legal(int32_t local)
{
    const Player& me = p[local];
    int32_t bestd = -1;
    ScreenPoint best{};
    for (int32_t x = 0; x < mapsize; x++)
        for (int32_t y = 0; y < mapsize; y++) {
            ScreenPoint point;
            if (!map[x][y].mark || !IsSquareFree(0, 0, x, y, 0) || !SquarePoint(x, y, &point))
                continue;
            const int32_t d = std::abs(x - me.startx) + std::abs(y - me.starty);
            if (bestd < 0 || d < bestd) {
                bestd = d;
                best = point;
            }
        }
    return bestd < 0 ? std::string() : At(best.x, best.y);
}

// An enemy unit the acting unit may strike (range) or take with spell (range and its test); the
// weakest, on the screen.
std::string Target(int32_t spell)
{
    const Unit& a = p[currplayer].units[currunit];
    const int32_t range = spell < 0 ? GetStat(currplayer, currunit, STAT_RANGE) : spells[spell].range;
    int32_t besthp = -1;
    ScreenPoint best{};
    for (size_t tp = 0; tp < p.size(); tp++) {
        if ((int32_t)tp == currplayer)
            continue;
        for (size_t tu = 0; tu < p[tp].units.size(); tu++) {
            const Unit& t = p[tp].units[tu];
            ScreenPoint point;
            if (!Visible((int32_t)tp, (int32_t)tu) || (t.x == a.x && t.y == a.y) || !WithinRange(a.x, a.y, t.x, t.y, range)
                || !SquarePoint(t.x, t.y, &point))
                continue;
            if (spell >= 0 && (!spells[spell].test || !spells[spell].test(currplayer, currunit, (int32_t)tp, (int32_t)tu, 0)))
                continue;
            if (besthp < 0 || t.hp < besthp) {
                besthp = t.hp;
                best = point;
            }
        }
    }
    return besthp < 0 ? std::string() : At(best.x, best.y);
}

// The first spell of the acting unit the panel lets him pick that has an enemy to take: its icon and
// the enemy.
void Spell(std::ostringstream& out)
{
    const Unit& a = p[currplayer].units[currunit];
    if (a.hits < CASTACTIONS || !InBounds(a.x, a.y) || (map[a.x][a.y].bits & CLAIMMASK) != NOCLAIM)
        return;
    for (int32_t slot = 0; slot < MAXSPELLS; slot++) {
        const int32_t s = a.spells[slot];
        if (s < 0 || (size_t)s >= spells.size() || a.mana < spells[s].mana || spells[s].target >= UNITTARGETKINDS)
            continue;
        const std::string target = Target(s);
        if (target.empty())
            continue;
        out << " spell=" << At(spellslots[slot].x + SQUARESIZE / 2, spellslots[slot].y + SQUARESIZE / 2)
            << " spelltarget=" << target;
        return;
    }
}

// A step of the acting unit towards the nearest unit of another army (any other side when none is
// left): L, R, U or D, the longer way first; none when neither way is open and paid for.
std::string Step()
{
    const Unit& a = p[currplayer].units[currunit];
    int32_t tx = -1, ty = -1, best = -1;
    for (const bool armies : {true, false}) {
        for (size_t tp = 0; tp < p.size() && best < 0; tp++)
            if ((int32_t)tp != currplayer && p[tp].neutral != armies)
                for (const Unit& t : p[tp].units) {
                    const int32_t d = std::abs(t.x - a.x) + std::abs(t.y - a.y);
                    if (best < 0 || d < best) {
                        best = d;
                        tx = t.x;
                        ty = t.y;
                    }
                }
        if (best >= 0)
            break;
    }
    if (best <= 1 || a.moves < 1)
        return "";
    const int32_t dx = tx > a.x ? 1 : tx < a.x ? -1 : 0, dy = ty > a.y ? 1 : ty < a.y ? -1 : 0;
    const bool xfirst = std::abs(tx - a.x) >= std::abs(ty - a.y);
    const struct {
        int32_t sx, sy;
        const char* name;
    } ways[2] = {{dx, 0, dx < 0 ? "L" : "R"}, {0, dy, dy < 0 ? "U" : "D"}};
    for (int32_t k = 0; k < 2; k++) {
        const auto& w = ways[xfirst ? k : 1 - k];
        const int32_t x = a.x + w.sx, y = a.y + w.sy;
        if ((w.sx || w.sy) && InBounds(x, y) && map[x][y].counter2 == 0 && IsSquareFree(0, 0, x, y, 0)
            && map[x][y].cost <= a.moves)
            return w.name;
    }
    return "";
}

} // namespace

std::string ProbeLine()
{
    const int32_t local = IsPlayer(YouToInt()) && you != NOSTAMP ? YouToInt() : -1;
    std::ostringstream out;
    out << "gs=" << gs << " you=" << local << " cp=" << currplayer << " cu=" << currunit << " holder=" << turnholder
        << " phase=" << turncount << " day=" << daycount << " players=" << p.size() << " warlords=" << warlordtypecount
        << " queue=" << QueuedFrameCount() << " digest=" << std::hex << GameStateDigest() << std::dec;
    if (local >= 0)
        out << " units=" << p[local].units.size() << " gold=" << p[local].gold;
    if (gs == GAME_VICTORYSCREEN)
        out << " winner=" << winnername;
    if (local >= 0 && gs == GAME_SHOP)
        out << " cheapest=" << Cheapest(local);
    if (local >= 0 && gs == GAME_DEPLOY)
        out << " legal=" << Legal(local);
    const bool acting = local >= 0 && gs == GAME_UNITTURN && currplayer == local && currunit >= 0
        && (size_t)currunit < p[local].units.size();
    if (acting) {
        const Unit& a = p[currplayer].units[currunit];
        if (a.hits >= ATTACKACTIONS && a.rocks >= 1)
            out << " target=" << Target(-1);
        Spell(out);
        out << " step=" << Step() << " warlord=" << (a.notwarlord ? 0 : 1);
    }
    return out.str();
}
