// libFuzzer target: arbitrary bytes from a peer through the whole receive path (frames joined and cut,
// checked, dispatched to every kind's handler, and on to the rules), on the host and on a client, then
// the outgoing queue.
//
// The world is one where requests can succeed: a small catalogue with bound spells and abilities, a
// buyable type and a warlord type; armies with moves, actions, mana and stones, in Ann's morning turn;
// and Cy, who is still to choose his warlord. So the fuzzer reaches the host's rules, not only its
// refusals.
//
// Input: byte 0 picks the machine, the sender and the phase, byte 1 the size of the pieces the rest
// arrives in.
#include <cstddef>
#include <cstdint>
#include <string>

#include "game/magic/binding.h"
#include "game/model/catalogue.h"
#include "game/model/localplayer.h"
#include "game/model/powers.h"
#include "game/model/sight.h"
#include "game/model/state.h"
#include "game/model/strids.h"
#include "game/model/strings.h"
#include "game/model/turns.h"
#include "game/net/link.h"
#include "game/net/receive.h"
#include "game/net/sendqueue.h"
#include "game/screens/listener.h"
#include "game/screens/states.h"
#include "game/shell/shell.h"
#include "platform/random.h"
#include "platform/socket.h"
#include "tests/game/support/world.h"

namespace {

// Descriptor numbers far above any the process opens: closing them does nothing.
enum { ANN = 1000011, BO = 1000012, CY = 1000014, NEWCOMER = 1000013, STRANGER = 1000099, HOSTLINK = 1000021 };
enum { MAPSIZE = 12 };

// The standard test catalogue (Soldier 1 for sale, Warlord 2, Imp 3) with a Fireball for the spell of
// that name, spells and abilities named as the game binds them, the game's port and version.
bool LoadCatalogue()
{
    TestStrings s = StandardTestStrings();
    s[STR_UNITCOUNT] = "4";
    AddTestType(s, 4, "Fireball", {8, 6, 6, 1, 2, 0, 0, 0}, 40, "';");
    s[STR_UNITPOWERS + 1] = "Stun,Poison;";
    s[STR_UNITPOWERS + 2] = "Sparks;";
    s[STR_UNITPOWERS + 3] = "Flying;";
    s[STR_UNITPOWERS + 4] = "Flying,Unstable;";
    s[STR_UNITFLAGS + 3] = "2;";        // a neutral guard
    for (int32_t type = 1; type <= 4; type++)
        s[STR_UNITCOST + type] = "20";
    s[STR_PORT] = "4417";
    for (int32_t i = 0; i < 4; i++)
        s[STR_VERSION + i] = std::to_string(i + 1);
    s[STR_MINEINCOME] = "10";
    struct Spell {
        const char* name;
        int32_t target, resist;
    };
    const Spell spelllist[] = {{"Sparks", 1, 1}, {"Teleport", 4, 4}, {"Heal", -1, 4}, {"Fireball", 4, 4},
                               {"Moat", 2, 4}, {"Psychic", 6, 4}, {"Storm", 1, 2}, {"Possession", 3, 3}};
    int32_t n = 1;
    for (const Spell& spell : spelllist) {
        s[STR_SPELLTITLE + n] = spell.name;
        s[STR_SPELLNAME + n] = spell.name;
        s[STR_SPELLTARGET + n] = std::to_string(spell.target);
        s[STR_SPELLRESIST + n] = std::to_string(spell.resist);
        s[STR_SPELLMANA + n] = "1";
        s[STR_SPELLRANGE + n] = "6";
        s[STR_SPELLVALUE + n] = "1";
        s[STR_SPELLPARAM + n] = "2";
        s[STR_SPELLKEY + n] = "A";
        n++;
    }
    s[STR_SPELLCOUNT] = std::to_string(n - 1);
    const std::pair<const char*, int32_t> abilitylist[] = {{"Flying", 4}, {"Poison", 1}, {"Stun", 1}, {"Power", 0},
                                                           {"Heavy", 3}, {"Unstable", 7}, {"Stone", 2}};
    n = 1;
    for (const auto& [name, kind] : abilitylist) {
        s[STR_ABILITYTITLE + n] = name;
        s[STR_ABILITYNAME + n] = name;
        s[STR_ABILITYKIND + n] = std::to_string(kind);
        s[STR_ABILITYPICTURE + n] = std::to_string(n);
        n++;
    }
    s[STR_ABILITYCOUNT] = std::to_string(n - 1);
    return LoadTestStrings(s) || CreateSpells();
}

// A unit of type with its base stats, its powers and everything it needs to act.
void AddUnit(int32_t player, int32_t id, int32_t type, int32_t x, int32_t y)
{
    Unit u = BlankUnit();
    for (int k = 0; k < NUMSTATS; k++)
        u.stat[k] = GetResNumber(STR_UNITSTAT + type + k * 100);
    GetUnitPowers(type, u.spells, u.abilities);
    u.id = id;
    u.expreceiver = id;
    u.type = u.basetype = type;
    u.x = x;
    u.y = y;
    u.hp = u.stat[STAT_LIFE];
    u.moves = u.stat[STAT_MOVES];
    u.hits = u.stat[STAT_ACTIONS];
    u.mana = 5;
    u.rocks = 999999;
    p[player].units.push_back(u);
}

// The host (0), Ann (1), Bo (2) and Cy (3, still choosing his warlord) and the neutral side (4) on an
// open 12 x 12 map with a gold mine, in Ann's morning turn:
//   Ann's warlord 257 at (1, 1) and her soldier 258 at (4, 4), camp (3, 3), gold 750; her soldier
//   has 4 actions and knows Sparks, Teleport, Heal, Fireball, Moat;
//   Bo's warlord 513 at (10, 10) and his soldier 514 at (5, 4), next to Ann's;
//   the host's warlord 1025 at (10, 1); a guard 769 of the neutral side at (8, 8), camp 1.
void SetUpGame(bool host, bool lobby)
{
    MakeWorld(4, MAPSIZE, !lobby);
    ClearReceiveBuffers();
    pendingsockets.clear();
    unreportedlooks.clear();
    SeedRandom(1);
    map[6][6].terrain = 3;      // a gold mine, nobody's
    map[6][6].extra = 5;
    map[3][7].terrain = 1;      // trees
    const char* const names[] = {"Host", "Ann", "Bo", "Cy"};
    const int32_t sockets[] = {NO_SOCKET, ANN, BO, CY};
    for (int32_t i = 0; i < 4; i++) {
        SetPlayerName(p[i], names[i]);
        p[i].socket = host ? sockets[i] : NO_SOCKET;
    }
    if (!lobby) {
        AddUnit(0, 1025, 2, 10, 1);
        AddUnit(1, 257, 2, 1, 1);
        AddUnit(1, 258, 1, 4, 4);
        const int32_t known[] = {0, 1, 2, 3, 4};
        for (int k = 0; k < MAXSPELLS; k++)
            p[1].units[1].spells[k] = known[k];
        p[1].units[1].hits = 4;     // to strike and cast in one turn
        AddUnit(2, 513, 2, 10, 10);
        AddUnit(2, 514, 1, 5, 4);
        AddUnit(4, 769, 3, 8, 8);
        p[4].units[0].group = 1;
        for (int32_t i = 0; i < 3; i++)
            p[i].warlordtype = 2;
        p[1].startx = p[1].starty = 3;
        p[2].startx = p[2].starty = 9;
        p[3].startx = 3;
        p[3].starty = 9;
    }
    currplayer = turnholder = lobby ? -1 : 1;
    turncount = 0;
    daycount = lobby ? 0 : 1;
    currunit = lobby ? 0 : 1;
    ishost = host;
    if (host) {
        you = p[0].sizeattime;
        pendingsockets = {NEWCOMER};
        // The host saw Ann's soldier look once: one report of what it found is paid.
        unreportedlooks[258] = {20};
    } else {
        you = p[1].sizeattime;
        mainsocket = HOSTLINK;
    }
    DropLocalPlayerCache();
    gs = lobby ? GAME_LOBBY : GAME_UNITTURN;
}

int SendAll(int, const void*, int size, int*)
{
    return size;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool ready = [] {
        candraw = 0;
        // What the rules announce goes where it goes in the game (an error screen sets the state).
        ShowRulesOnScreen();
        SetSendFunction(SendAll);
        return true;
    }();
    // The catalogue is made once, and again when another target in the same process (the seeds' test
    // runs them all) has unloaded or replaced it.
    static const Module* catalogue = nullptr;
    if (!stringmodule || stringmodule != catalogue) {
        catalogue = LoadCatalogue() ? nullptr : stringmodule;
        if (!catalogue)
            return 0;
    }
    if (!ready || size < 2)
        return 0;

    const uint8_t mode = data[0];
    const bool host = mode & 1;
    SetUpGame(host, mode & 2);
    static const int32_t hostsenders[] = {ANN, BO, CY, NEWCOMER, STRANGER, ANN, BO, CY};
    const int32_t socket = host ? hostsenders[(mode >> 2) & 7] : HOSTLINK;

    const size_t piece = data[1] % 32 + 1;
    for (size_t at = 2; at < size; at += piece)
        ReceiveBytes(socket, data + at, std::min(piece, size - at));

    for (int i = 0; i < 64 && !SendQueueEmpty(); i++)
        SendQueuedMessage();
    return 0;
}
