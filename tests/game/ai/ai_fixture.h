// Computer player tests: the standard test catalogue with prices, a guard type, four spells and three
// more abilities; two human players and the neutral side on a 10 x 10 map of open ground, this machine
// the host (player 0), and the neutral side's turn under way. Guards are alerted neutral units.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "game/ai/aistate.h"
#include "game/magic/binding.h"
#include "game/model/catalogue.h"
#include "game/model/death.h"
#include "game/model/state.h"
#include "game/model/strids.h"
#include "game/model/turns.h"
#include "game/model/states.h"
#include "game/screens/turnsteps.h"
#include "tests/game/support/gametest.h"
#include "tests/game/support/machines.h"
#include "tests/game/support/world.h"

constexpr int32_t GUARD = 4, AIMAP = 10, HUMAN = 1, NEUTRALSIDE = 2;
// Spell table indexes and their powers (the guard's attack is 4).
enum : int32_t { SPARKS = 0, HEAL = 1, FORCEFIELD = 2, ULTRA = 3 };
enum : int32_t { SPARKSPOWER = 7, HEALPOWER = 9, FORCEFIELDPOWER = 8, ULTRAPOWER = 7 };
// Ability table indexes beyond the standard three.
enum : int32_t { FLYING = 0, IMMOBILE = 3, FLAMING = 4, TWIGWALK = 5, ROCKS = 6 };

inline TestStrings AiTestStrings()
{
    TestStrings s = StandardTestStrings();
    s[STR_UNITCOUNT] = "4";
    AddTestType(s, GUARD, "Guard", { 4, 12, 3, 1, 2, 0, 0, 0 }, 100, ";");
    s[STR_UNITCOST + 1] = "10";     // Soldier
    s[STR_UNITCOST + 2] = "0";      // Warlord
    s[STR_UNITCOST + 3] = "30";     // Imp
    s[STR_UNITCOST + GUARD] = "20";
    s[STR_ABILITYCOUNT] = "7";
    const char* const names[4] = { "Immobile", "Flaming", "Twigwalk", "Rocks" };
    const int32_t kinds[4] = { 4, 3, 4, 4 };
    for (int n = 4; n <= 7; n++) {
        s[STR_ABILITYTITLE + n] = names[n - 4];
        s[STR_ABILITYNAME + n] = names[n - 4];
        s[STR_ABILITYKIND + n] = std::to_string(kinds[n - 4]);
        s[STR_ABILITYPICTURE + n] = std::to_string(n);
    }
    struct Spell {
        const char* name;
        int32_t target, range, mana, power;
    };
    const Spell table[4] = { { "Sparks", 1, 3, 2, SPARKSPOWER },
                             { "Heal", -1, 3, 1, HEALPOWER },
                             { "Forcefield", 4, 2, 1, FORCEFIELDPOWER },
                             { "Ultra", 1, 2, 1, ULTRAPOWER } };
    s[STR_SPELLCOUNT] = "4";
    for (int n = 1; n <= 4; n++) {
        const Spell& spell = table[n - 1];
        s[STR_SPELLTITLE + n] = spell.name;
        s[STR_SPELLNAME + n] = spell.name;
        s[STR_SPELLTARGET + n] = std::to_string(spell.target);
        s[STR_SPELLRANGE + n] = std::to_string(spell.range);
        s[STR_SPELLMANA + n] = std::to_string(spell.mana);
        s[STR_SPELLPOWER + n] = std::to_string(spell.power);
        s[STR_SPELLRESIST + n] = "4";     // never resisted
        s[STR_SPELLVALUE + n] = "1";
        s[STR_SPELLPARAM + n] = "0";
        s[STR_SPELLKEY + n] = "A";
    }
    return s;
}

// How a neutral turn went: frames until it ended (-1: not within the limit), units handed their turn,
// and the most frames one unit took.
struct TurnRun {
    int32_t frames = -1;
    int32_t units = 0;
    int32_t longest = 0;
};

// The neutral turn (the last record's) from its start, frame by frame as the turn states run it, with
// the deaths of every main-loop pass, for at most limit frames. It ends when the state leaves the
// computer turn (GAME_ENDTURN, or the game's end).
inline TurnRun RunNeutralTurn(int32_t limit)
{
    TurnRun run;
    currplayer = turnholder = static_cast<int32_t>(p.size()) - 1;
    currunit = -1;
    gs = GAME_COMPTURN;
    int32_t unitframes = 0;
    for (int32_t frame = 0; frame < limit; frame++) {
        if (gs == GAME_COMPTURN) {
            CompTurnStep();
            if (gs == GAME_COMPUNIT) {
                run.units++;
                unitframes = 0;
            }
        } else if (gs == GAME_COMPUNIT) {
            CompUnitStep();
            run.longest = std::max(run.longest, ++unitframes);
        } else {
            run.frames = frame;
            return run;
        }
        ProcessDeaths();
    }
    return run;
}

// The most frames a unit's turn may take: MAXUNITSTEPS steps and one that ends it.
constexpr int32_t UNITFRAMES = MAXUNITSTEPS + 1;
// The most frames a neutral turn of that many units may take: each is handed its turn in one frame.
inline int32_t TurnBound(size_t units)
{
    return static_cast<int32_t>(units) * (UNITFRAMES + 1) + 1;
}

class AiTest : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        ASSERT_FALSE(LoadTestStrings(AiTestStrings()));
        CreateSpells();
        StartNeutralTurn();
    }
    void TearDown() override
    {
        ResetComputerPlayer();
        GameTest::TearDown();
    }

    // A fresh world in the neutral side's turn, with no units yet and the log captured anew: each row
    // of a table starts here.
    void StartNeutralTurn()
    {
        MakeWorld(2, AIMAP);
        ResetComputerPlayer();
        currplayer = turnholder = NEUTRALSIDE;
        currunit = 0;
        gs = GAME_COMPUNIT;
        CaptureLog();
    }
    // An alerted guard of the neutral side at (x, y); its index.
    static int32_t AddGuard(int32_t x, int32_t y, int32_t type = GUARD)
    {
        const int32_t u = AddTestUnit(NEUTRALSIDE, x, y, type);
        p[NEUTRALSIDE].units[u].alerted = 1;
        p[NEUTRALSIDE].units[u].rocks = 1000;
        return u;
    }
    // A unit of player 1 at (x, y); its index.
    static int32_t AddEnemy(int32_t x, int32_t y, int32_t type = 1)
    {
        const int32_t u = AddTestUnit(HUMAN, x, y, type);
        p[HUMAN].units[u].rocks = 1000;
        return u;
    }
    static Unit& Guard(int32_t u) { return p[NEUTRALSIDE].units[u]; }
    static Unit& Enemy(int32_t u) { return p[HUMAN].units[u]; }
    static void Learn(int32_t u, int32_t slot, int32_t spell)
    {
        Guard(u).spells[slot] = spell;
        Guard(u).mana = 10;
    }
    static void GiveAbility(Unit& unit, int32_t slot, int32_t ability) { unit.abilities[slot] = ability; }

    // The bytes of a message body as sent: kind, payload, ';'.
    static std::string Bytes(std::initializer_list<int> bytes)
    {
        std::string s;
        for (const int b : bytes)
            s.push_back(static_cast<char>(b));
        return s;
    }
    static int IdHigh(int32_t id) { return id >> 8; }
    static int IdLow(int32_t id) { return id & 0xFF; }
    // The bodies of everything queued to send since the last call.
    static std::vector<std::string> Sent()
    {
        std::vector<std::string> bodies;
        for (const SentFrame& f : TakeSentFrames())
            bodies.push_back(f.Body());
        return bodies;
    }
};
