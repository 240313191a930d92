// The computer player's choices as tables: the distance it counts, the action it takes and the target
// it goes for.
#include <gtest/gtest.h>

#include "ai_fixture.h"
#include "game/ai/actionchoice.h"
#include "game/ai/targetchoice.h"
#include "platform/random.h"

namespace {

// A seed whose first draw is odd (or even): a tie goes to the spell after an odd one.
uint32_t SeedDrawing(bool odd)
{
    for (uint32_t seed = 1;; seed++) {
        SeedRandom(seed);
        if ((Random() % 2 == 1) == odd) {
            SeedRandom(seed);
            return seed;
        }
    }
}

} // namespace

TEST(UnitDistance, CountsADiagonalStepAsOne)
{
    struct Row {
        int32_t x1, y1, x2, y2, distance;
    };
    const Row rows[] = {
        { 4, 4, 4, 4, 0 },  { 4, 4, 5, 5, 1 },   { 4, 4, 3, 5, 1 },  { 4, 4, 7, 7, 5 }, { 4, 4, 6, 6, 3 },
        { 4, 4, 4, 1, 3 },  { 4, 4, 9, 4, 5 },   { 4, 4, 6, 5, 2 },  { 0, 0, 2, 7, 8 }, { -1, 3, 1, 3, 2 },
        { 7, 7, 4, 4, 5 },
    };
    for (const Row& r : rows)
        EXPECT_EQ(UnitDistance(r.x1, r.y1, r.x2, r.y2), r.distance)
            << r.x1 << "," << r.y1 << " to " << r.x2 << "," << r.y2;
}

TEST_F(AiTest, TheActionIsTheAttackUnlessAnAffordableSpellRatesHigher)
{
    struct Row {
        const char* what;
        int32_t spells[2];      // slots 0 and 1 (-1 empty)
        int32_t mana, hits, rocks;
        bool claimed, offmap;
        uint32_t refused;
        int32_t tiedraw;        // -1 no draw expected; 1 odd, 0 even
        int32_t action, damage, range, kind;
    };
    const Row rows[] = {
        { "no spells", { -1, -1 }, 10, 2, 1000, false, false, 0, -1, ACTION_ATTACK, 4, 1, 0 },
        { "a stronger spell", { HEAL, -1 }, 10, 2, 1000, false, false, 0, -1, 0, HEALPOWER, 3, -1 },
        { "the strongest of two", { SPARKS, FORCEFIELD }, 10, 2, 1000, false, false, 0, -1, 1, FORCEFIELDPOWER, 2, 4 },
        { "too little mana", { SPARKS, -1 }, 1, 2, 1000, false, false, 0, -1, ACTION_ATTACK, 4, 1, 0 },
        { "a claimed square", { SPARKS, -1 }, 10, 2, 1000, true, false, 0, -1, ACTION_ATTACK, 4, 1, 0 },
        { "off the map", { SPARKS, -1 }, 10, 2, 1000, false, true, 0, -1, ACTION_ATTACK, 4, 1, 0 },
        { "refused this turn", { HEAL, SPARKS }, 10, 2, 1000, false, false, 1u, -1, 1, SPARKSPOWER, 3, 1 },
        { "equal powers, odd draw", { SPARKS, ULTRA }, 10, 2, 1000, false, false, 0, 1, 1, ULTRAPOWER, 2, 1 },
        { "equal powers, even draw", { SPARKS, ULTRA }, 10, 2, 1000, false, false, 0, 0, 0, SPARKSPOWER, 3, 1 },
        { "one action left", { SPARKS, -1 }, 10, 1, 1000, false, false, 0, -1, ACTION_NONE, 4, 1, 0 },
        { "no rock charge", { -1, -1 }, 10, 2, 0, false, false, 0, -1, ACTION_NONE, 4, 1, 0 },
        { "no rock charge, a spell", { SPARKS, -1 }, 10, 2, 0, false, false, 0, -1, 0, SPARKSPOWER, 3, 1 },
    };
    for (const Row& r : rows) {
        p[NEUTRALSIDE].units.clear();
        const int32_t g = AddGuard(4, 4);
        Guard(g).spells[0] = r.spells[0];
        Guard(g).spells[1] = r.spells[1];
        Guard(g).mana = r.mana;
        Guard(g).hits = r.hits;
        Guard(g).rocks = r.rocks;
        map[4][4].bits = r.claimed ? (map[4][4].bits & ~CLAIMMASK) | 1u : NOCLAIM;
        if (r.offmap)
            Guard(g).x = -1;
        refusedactions = r.refused;
        SeedDrawing(r.tiedraw == 1);
        const ComputerAction a = ChooseAction(NEUTRALSIDE, g);
        EXPECT_EQ(a.action, r.action) << r.what;
        EXPECT_EQ(a.damage, r.damage) << r.what;
        EXPECT_EQ(a.range, r.range) << r.what;
        EXPECT_EQ(a.kind, r.kind) << r.what;
    }
}

TEST_F(AiTest, TheTargetIsTheMostValuableKillableThenHurtThenTheRememberedThenARandomOne)
{
    // Enemies by type: Soldier (price 10), Imp (30), Warlord (0); life 10, 4 and 20.
    struct Foe {
        int32_t type, hp;   // hp -1: full life
    };
    struct Row {
        const char* what;
        std::vector<Foe> foes;
        int32_t damage;
        int32_t remembered;     // index of a foe, -1 none, -2 a unit that is gone
        int32_t chosen;         // index of the foe chosen; -1 the random draw's
        bool remember;          // the choice becomes the remembered target
    };
    const std::vector<Row> rows = {
        { "killable over hurt", { { 3, 3 }, { 1, 2 }, { 3, -1 } }, 2, -1, 1, false },
        { "the more valuable killable", { { 1, 2 }, { 3, 3 } }, 3, -1, 1, false },
        { "a tie goes to the first", { { 1, 2 }, { 1, 1 } }, 3, -1, 0, false },
        { "hurt when none can be killed", { { 1, 9 }, { 3, 3 } }, 2, -1, 1, false },
        { "hurt over remembered", { { 1, -1 }, { 1, 9 } }, 2, 0, 1, false },
        { "a hurt target of value 0", { { 2, 19 }, { 1, -1 } }, 2, -1, 0, false },
        { "full life is never killable", { { 3, -1 }, { 1, 9 } }, 10, -1, 1, false },
        { "the remembered one", { { 1, -1 }, { 3, -1 } }, 2, 1, 1, false },
        { "random", { { 1, -1 }, { 3, -1 }, { 2, -1 } }, 2, -1, -1, true },
        { "the remembered one is gone", { { 1, -1 }, { 3, -1 } }, 2, -2, -1, true },
    };
    for (const Row& r : rows) {
        p[HUMAN].units.clear();
        std::vector<int32_t> ids;
        for (const Foe& f : r.foes) {
            const int32_t u = AddEnemy(static_cast<int32_t>(ids.size()), 0, f.type);
            if (f.hp >= 0)
                Enemy(u).hp = f.hp;
            ids.push_back(Enemy(u).id);
        }
        comptarget = r.remembered >= 0 ? ids[r.remembered] : r.remembered == -2 ? 999 : -1;
        SeedRandom(7);
        const int32_t draw = Random();
        SeedRandom(7);
        const int32_t before = comptarget;
        const int32_t target = ChooseTarget(NEUTRALSIDE, ids, r.damage);
        const int32_t expected = r.chosen >= 0 ? ids[r.chosen] : ids[draw % ids.size()];
        EXPECT_EQ(target, expected) << r.what;
        EXPECT_EQ(comptarget, r.remember ? expected : before) << r.what;
    }
}

TEST_F(AiTest, CandidatesAreTheVisibleEnemiesWithinTheWidenedRangeButTheBlockedOnes)
{
    const int32_t g = AddGuard(0, 0);
    Guard(g).moves = 2;
    // Pass 1 searches within 1 + 2 x 2 = 5 (the range already holds one lot of moves).
    const int32_t near = Enemy(AddEnemy(3, 3)).id;     // 5 away
    const int32_t far = Enemy(AddEnemy(7, 0)).id;      // 7 away: only in pass 2
    const int32_t dark = AddEnemy(2, 0);
    map[2][0].dark = 1;
    Enemy(dark).stat[STAT_STEALTH] = 1;                 // hidden
    const int32_t dying = AddEnemy(1, 1);
    KillUnit(HUMAN, dying, NEUTRALSIDE);
    const int32_t own = AddGuard(1, 0);
    (void)own;
    EXPECT_EQ(FindCandidates(NEUTRALSIDE, g, 3), std::vector<int32_t>({ near }));
    EXPECT_TRUE(Logged("Unit with ID " + std::to_string(near) + " is in range 1"));
    // Blocked, it is left out and the second pass, 2 wider, finds the far one.
    blockedtargets.push_back(near);
    EXPECT_EQ(FindCandidates(NEUTRALSIDE, g, 3), std::vector<int32_t>({ far }));
    EXPECT_TRUE(Logged("Erased ID " + std::to_string(near)));
    EXPECT_TRUE(Logged("Unit with ID " + std::to_string(far) + " is in range 2"));
    // A unit off the map is never looked at on the map.
    p[HUMAN].units[0].x = -5;
    blockedtargets.clear();
    EXPECT_EQ(FindCandidates(NEUTRALSIDE, g, 3), std::vector<int32_t>({ far }));
}
