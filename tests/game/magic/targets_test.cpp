// Target tests, one table per kind, and the ward-slot helpers.
#include "game/magic/targets.h"
#include "game/magic/wardslots.h"
#include "game/model/death.h"
#include "game/model/mapgen.h"
#include "game/model/wards.h"
#include "spells_fixture.h"

namespace {

// Player 0: warlord (0) at (1, 1), a soldier (1) at (2, 2) with 4 of 10 hp and no mana, an immobile
// soldier (2) at (3, 3) with its turn flag set. Player 1: warlord (0) at (8, 8), a soldier (1) at (7, 7)
// with 5 hp and 2 mana, a soldier (2) at (6, 6) with 6 hp. Neutral: a guard (0) at (9, 2).
class TargetKindTest : public SpellTest {
protected:
    void SetUp() override
    {
        SpellTest::SetUp();
        Put(0, 1, 1, WARLORD);
        Put(0, 2, 2);
        U(0, 1).hp = 4;
        U(0, 1).mana = 0;
        Put(0, 3, 3);
        U(0, 2).stat[STAT_MOVES] = 0;
        U(0, 2).turnflag = 1;
        Put(1, 8, 8, WARLORD);
        Put(1, 7, 7);
        U(1, 1).hp = 5;
        U(1, 1).mana = 2;
        Put(1, 6, 6);
        U(1, 2).hp = 6;
        U(1, 2).mana = 0;
        Put(NEUTRAL, 9, 2);
    }
};

struct Row {
    int32_t cp;     // the caster's player (its unit 1, or the guard for the neutral side)
    int32_t a, b;   // the target
    bool accepted;
};

} // namespace

TEST_F(TargetKindTest, UnitKinds)
{
    const struct {
        int32_t kind;
        std::vector<Row> rows;
    } kinds[] = {
        { -6, { { 0, 0, 1, true }, { 0, 0, 0, false }, { 0, 1, 1, false } } },
        { -5, { { 0, 0, 1, true }, { 0, 0, 2, false }, { 0, 1, 1, false } } },
        { -4, { { 0, 0, 1, true }, { 0, 0, 2, false }, { 0, 1, 1, false } } },
        { -3, { { 0, 1, 1, true }, { 0, 1, 2, false }, { 1, 0, 1, false }, { 0, NEUTRAL, 0, true } } },
        { -2, { { 0, 1, 1, true }, { 0, 1, 2, false }, { 0, 1, 0, false }, { 0, 0, 1, false } } },
        { -1, { { 0, 0, 1, true }, { 0, 0, 0, false }, { 1, 0, 1, false } } },
        { 0, { { 0, 0, 0, true }, { 0, 0, 2, true }, { 0, 1, 1, false } } },
        { 1, { { 0, 1, 0, true }, { 0, NEUTRAL, 0, true }, { 0, 0, 1, false } } },
        { 2, { { 0, 0, 1, true }, { 0, 1, 0, true }, { 0, 99, 99, true } } },
        // Any neutral unit (its first too, and for a neutral caster its own); else no warlord, no own.
        { 3, { { 0, NEUTRAL, 0, true }, { 0, 1, 1, true }, { 0, 1, 0, false }, { 0, 0, 1, false }, { NEUTRAL, NEUTRAL, 0, true },
               { NEUTRAL, 0, 0, false } } },
    };
    for (const auto& k : kinds) {
        const TargetTest test = TargetTestForKind(k.kind);
        for (const Row& r : k.rows) {
            SCOPED_TRACE("kind " + std::to_string(k.kind) + " caster " + std::to_string(r.cp) + " target "
                         + std::to_string(r.a) + "," + std::to_string(r.b));
            const int32_t cu = r.cp == NEUTRAL ? 0 : 1;
            EXPECT_EQ(test(r.cp, cu, r.a, r.b, 0), r.accepted);
        }
        // A target index that does not exist is refused by every unit kind but "anything".
        if (k.kind != 2) {
            EXPECT_FALSE(test(0, 1, 1, 9, 0)) << k.kind;
            EXPECT_FALSE(test(0, 1, 7, 0, 0)) << k.kind;
            EXPECT_FALSE(test(0, 1, -1, 0, 0)) << k.kind;
        }
    }
}

TEST_F(TargetKindTest, HurtAndWeakAtTheirBorders)
{
    const TargetTest hurt = TargetTestForKind(-1);
    U(0, 1).hp = 10;
    EXPECT_FALSE(hurt(0, 0, 0, 1, 0));
    AddWard(0, 1, 3, 0, 0, 2, 0, 0, 0, 0, 0, 0, -1, 0);    // life + 2
    EXPECT_TRUE(hurt(0, 0, 0, 1, 0));
    const TargetTest weak = TargetTestForKind(-2);
    EXPECT_TRUE(weak(0, 1, 1, 1, 0));   // 5 hp
    EXPECT_FALSE(weak(0, 1, 1, 2, 0));  // 6 hp
}

TEST_F(TargetKindTest, SquareKinds)
{
    map[4][5].counter2 = -1;
    map[4][6].counter2 = 2;
    map[5][4].timed = 1;
    map[5][5].timed = 1;
    map[4][4].terrain = TERRAIN_TREES;
    map[7][7].terrain = TERRAIN_TREES;  // a unit stands there
    map[5][6].terrain = TERRAIN_ROUGH;
    const struct {
        int32_t kind, x, y;
        bool accepted;
    } rows[] = {
        { 4, 5, 7, true }, { 4, 2, 2, false }, { 4, 7, 7, false }, { 4, 4, 5, false }, { 4, 4, 6, false },
        { 5, 5, 4, true }, { 5, 5, 7, false }, { 10, 5, 5, true }, { 10, 5, 7, false },
        { 7, 4, 4, true }, { 7, 7, 7, false }, { 11, 7, 7, true }, { 11, 5, 7, false },
        { 8, 5, 6, true }, { 8, 5, 7, false },
        { 9, 1, 1, true }, { 9, SPELLMAP - 2, SPELLMAP - 2, true }, { 9, 0, 5, false }, { 9, 5, 0, false },
        { 9, SPELLMAP - 1, 5, false }, { 9, 5, SPELLMAP - 1, false },
        { 6, 2, 2, true }, { 6, -5, 40, true },
        // Off the map: refused, never read.
        { 4, -1, 5, false }, { 4, 5, SPELLMAP, false }, { 5, SPELLMAP, 0, false }, { 7, -1, -1, false },
        { 8, 0, -1, false }, { 10, 99, 99, false }, { 11, -3, 2, false },
        { 12, 5, 7, false }, { -7, 5, 7, false },
    };
    for (const auto& r : rows) {
        SCOPED_TRACE("kind " + std::to_string(r.kind) + " at " + std::to_string(r.x) + "," + std::to_string(r.y));
        EXPECT_EQ(TargetTestForKind(r.kind)(0, 1, r.x, r.y, 0), r.accepted);
    }
    // A dying unit still takes its square.
    KillUnit(1, 2, 0);
    EXPECT_FALSE(IsSquareFree(0, 0, 6, 6, 0));
}

TEST_F(TargetKindTest, WardSlotsAndMana)
{
    EXPECT_FALSE(HasWard(0, 1, 7));
    EXPECT_EQ(FindWard(0, 1, 7), 0);
    AddWard(0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 7, 0);
    EXPECT_TRUE(HasWard(0, 1, 7));
    EXPECT_EQ(FindWard(0, 1, 7), 0);
    AddWard(0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 0);
    EXPECT_EQ(FindWard(0, 1, 3), 1);
    // A free slot is never matched, whatever kind it held.
    U(0, 1).wards[1].inuse = 0;
    EXPECT_FALSE(HasWard(0, 1, 3));
    EXPECT_EQ(FindWard(0, 1, 3), 0);

    U(0, 1).mana = 5;
    ClampMana(0, 1, 3);
    EXPECT_EQ(U(0, 1).mana, 2);
    ClampMana(0, 1, 3);
    EXPECT_EQ(U(0, 1).mana, 0);
}
