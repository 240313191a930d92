// The spell command: the marks of a spell's range, the marker and the click that casts, on the host
// (resolved at once and told to everybody) and from a client (a request, then the wait).
#include <gtest/gtest.h>

#include "game/magic/targets.h"
#include "game/model/cast.h"
#include "game/model/catalogue.h"
#include "game/model/state.h"
#include "game/model/stats.h"
#include "game/screens/boardcommands.h"
#include "game/screens/spellcommand.h"
#include "game/screens/states.h"
#include "game/model/turns.h"
#include "game/view/commandmode.h"
#include "tests/game/screens/playscreen.h"
#include "tests/game/support/world.h"

namespace {

class SpellCommand : public PlayScreenTest {
protected:
    // The first spell whose kind and range pass the test; -1 for none.
    template <typename Fits>
    static int32_t FindSpell(Fits fits)
    {
        for (size_t s = 0; s < spells.size(); s++)
            if (fits(spells[s]))
                return (int32_t)s;
        return -1;
    }
    static int32_t EnemySpell()
    {
        return FindSpell([](const SpellInfo& s) { return s.test == TargetEnemyUnit && s.range >= 2; });
    }
    // Player 0's caster on (5, 5) knows spell s, with the mana and actions for it, aiming it.
    int32_t Aim(int32_t s, bool client = false)
    {
        MakeGame(2, 12);
        const int32_t caster = Put(client ? 1 : 0, 5, 5, Buyable(0));
        Unit& u = p[client ? 1 : 0].units[caster];
        u.spells[0] = s;
        u.mana = 10;
        u.hits = 2;
        if (client) {
            BecomeClient(1);
            currplayer = 1;
            turnholder = 1;
        }
        ActWith(caster);
        Mode(COMMAND_SPELL);
        selectedspell = s;
        Frames(1);
        Sent();
        return caster;
    }
};

TEST_F(SpellCommand, ARangeZeroSpellMarksOnlyTheCastersSquare)
{
    const int32_t s = FindSpell([](const SpellInfo& i) { return i.range == 0; });
    ASSERT_GE(s, 0);
    Aim(s);
    EXPECT_TRUE(map[5][5].mark);
    EXPECT_FALSE(map[4][5].mark);
    EXPECT_FALSE(map[4][4].mark);
}

TEST_F(SpellCommand, ASpellWithRangeMarksItsReachButNotTheCaster)
{
    const int32_t s = FindSpell([](const SpellInfo& i) { return i.range >= 1; });
    ASSERT_GE(s, 0);
    Aim(s);
    const int32_t reach = spells[s].range;
    EXPECT_FALSE(map[5][5].mark);
    for (const auto& [x, y] : {std::pair{4, 5}, std::pair{6, 6}, std::pair{5, 4}, std::pair{5 + reach, 5}})
        EXPECT_TRUE(map[x][y].mark) << x << ", " << y;
    EXPECT_FALSE(map[5 + reach + 1][5].mark);
}

TEST_F(SpellCommand, TheMarkerShowsWhatTheSpellMayTake)
{
    const int32_t s = EnemySpell();
    ASSERT_GE(s, 0);
    Aim(s);
    Put(1, 6, 4, Buyable(0));
    Put(0, 4, 4, Buyable(0));   // own: an enemy spell does not take it
    const struct {
        int32_t x, y, marker;
    } cases[] = {{6, 4, MARKER_TARGET}, {4, 4, MARKER_REFUSED}, {6, 6, MARKER_REFUSED}, {5, 5, MARKER_REFUSED}};
    for (const auto& c : cases) {
        MoveTo(ScreenX(c.x), ScreenY(c.y));
        Frames(1);
        EXPECT_TRUE(MarkerShows(c.marker)) << c.x << ", " << c.y;
    }
}

TEST_F(SpellCommand, AUnitSpellAtAnEmptySquareDoesNothing)
{
    const int32_t s = EnemySpell();
    ASSERT_GE(s, 0);
    Aim(s);
    Click(ScreenX(6), ScreenY(5));
    Frames(1);
    EXPECT_EQ(commandmode, COMMAND_SPELL);
    EXPECT_TRUE(Sent().empty());
}

TEST_F(SpellCommand, TheHostCastsAtAnEnemyAndTellsEverybody)
{
    const int32_t s = EnemySpell();
    ASSERT_GE(s, 0);
    const int32_t caster = Aim(s);
    const int32_t t = Put(1, 6, 5, Buyable(0));
    p[1].units[t].stat[STAT_RESIST] = -20;     // never resists
    const int32_t cid = p[0].units[caster].id, tid = p[1].units[t].id;
    Click(ScreenX(6), ScreenY(5));
    Frames(1);
    const std::vector<std::string> sent = Sent();
    // '[': caster id, target id (taken before the effect), spell index+50, target kind+50.
    const std::string cast = Bytes({'[', cid / 256, cid % 256, tid / 256, tid % 256, s + 50, spells[s].target + 50, ';'});
    EXPECT_NE(std::find(sent.begin(), sent.end(), cast), sent.end());
    EXPECT_EQ(commandmode, COMMAND_MOVE);
    EXPECT_EQ(p[0].units[caster].hits, 0);
}

TEST_F(SpellCommand, AClientAsksTheHostAndWaits)
{
    const int32_t s = EnemySpell();
    ASSERT_GE(s, 0);
    const int32_t caster = Aim(s, true);
    const int32_t t = Put(0, 6, 5, Buyable(0));
    const int32_t cid = p[1].units[caster].id, tid = p[0].units[t].id;
    Click(ScreenX(6), ScreenY(5));
    Frames(1);
    // 'i': caster id, target id, spell index+50.
    EXPECT_EQ(Sent(), std::vector<std::string>{Bytes({'i', cid / 256, cid % 256, tid / 256, tid % 256, s + 50, ';'})});
    EXPECT_EQ(gs, GAME_REQUESTSENT);
    EXPECT_EQ(commandmode, COMMAND_MOVE);
}

TEST_F(SpellCommand, AClientSendsNothingTheHostWouldRefuse)
{
    const int32_t s = EnemySpell();
    ASSERT_GE(s, 0);
    const int32_t caster = Aim(s, true);
    Put(0, 6, 5, Buyable(0));
    p[1].units[caster].mana = 0;
    Click(ScreenX(6), ScreenY(5));
    Frames(1);
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(gs, GAME_UNITTURN);
    EXPECT_EQ(commandmode, COMMAND_SPELL);
}

TEST_F(SpellCommand, ASpellIndexOutsideTheTableIsRefusedFirst)
{
    MakeGame(2, 12);
    ActWith(Put(0, 5, 5, Buyable(0)));
    EXPECT_FALSE(CastSpellAt(0, 0, (int32_t)spells.size(), 5, 5, 0));
    EXPECT_FALSE(CastSpellAt(0, 0, -1, 5, 5, 0));
    EXPECT_TRUE(Sent().empty());
}

} // namespace
