// Unit creation, summoning and removal, a player leaving, and the erase of his record on every machine.
#include <gtest/gtest.h>

#include "game/model/digest.h"
#include "game/model/ids.h"
#include "game/model/localplayer.h"
#include "game/model/mapgen.h"
#include "game/model/turns.h"
#include "game/model/turnstart.h"
#include "game/model/units.h"
#include "game/net/builders.h"
#include "game/net/socketevents.h"
#include "game/model/states.h"
#include "platform/socket.h"
#include "tests/game/model/units_fixture.h"

TEST_F(UnitsTest, CreationFollowsTheTypesFlags)
{
    struct Case {
        int32_t type;
        int32_t rocks, wardturns, hits, moves;   // wardturns 0: no lifetime ward
        bool charged;
    };
    const Case cases[] = {
        { T_SOLDIER, 999999, 0, 0, 0, true },
        { T_ROCKER, 0, 0, 0, 0, true },
        { T_ELEMENTAL, 999999, 3, 3, 3, false },
        { T_SPRITE, 999999, 2, 2, 5, false },
        { T_FIREBALL, 999999, 0, 2, 4, false },
        { T_SKELETON, 999999, 99999, 2, 2, false },
        { T_WARLORD, 999999, 0, 0, 0, false },   // nobody buys a warlord
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        p[1].gold = 1000;
        const int32_t u = CreateUnit(1, 4, 4, c.type, 0);
        ASSERT_EQ(u, static_cast<int32_t>(p[1].units.size()) - 1);
        const Unit& unit = U(1, u);
        EXPECT_EQ(unit.rocks, c.rocks);
        EXPECT_EQ(unit.hits, c.hits);
        EXPECT_EQ(unit.moves, c.moves);
        EXPECT_EQ(unit.hp, unit.stat[STAT_LIFE]);
        EXPECT_EQ(unit.type, c.type);
        EXPECT_EQ(unit.basetype, c.type);
        EXPECT_EQ(unit.picture, c.type);
        EXPECT_EQ(unit.notwarlord, 1);
        EXPECT_EQ(unit.group, 0xFF);
        EXPECT_EQ(unit.expreceiver, unit.id);
        EXPECT_EQ(unit.wards[0].inuse, c.wardturns ? 1 : 0);
        if (c.wardturns) {
            EXPECT_EQ(unit.wards[0].turns, c.wardturns);
            EXPECT_EQ(unit.wards[0].kind, LIFETIMEWARD);
            EXPECT_EQ(unit.wards[0].announce, 1);
        }
        EXPECT_EQ(p[1].gold, c.charged ? 1000 - Price(c.type) : 1000);
        p[1].units.clear();
    }
}

TEST_F(UnitsTest, TheLocalPlayersOwnUnitsAreNotChargedHere)
{
    p[0].gold = 500;
    CreateUnit(0, 1, 1, T_SOLDIER, 0);
    EXPECT_EQ(p[0].gold, 500);
    // On his own machine the other player's copy is charged.
    BecomeClient(1);
    CreateUnit(0, 2, 1, T_SOLDIER, 700);
    EXPECT_EQ(p[0].gold, 500 - Price(T_SOLDIER));
}

TEST_F(UnitsTest, TheHostNumbersUnitsAndAClientTakesTheMessagesId)
{
    ResetUnitIds();
    std::vector<int32_t> ids;
    for (int i = 0; i < 255; i++)
        ids.push_back(U(1, CreateUnit(1, -1, -1, T_IMP, 0)).id);   // off the map: nothing else runs
    EXPECT_EQ(ids[0], 258);
    EXPECT_EQ(ids[253], 511);
    EXPECT_EQ(ids[254], 513);
    EXPECT_EQ(unitidhigh * 256 + unitidlow, 513);

    BecomeClient(1);
    const int32_t u = CreateUnit(0, 3, 3, T_IMP, 4000);
    EXPECT_EQ(U(0, u).id, 4000);
    EXPECT_EQ(U(0, u).expreceiver, 4000);
    EXPECT_EQ(unitidhigh * 256 + unitidlow, 513);
}

TEST_F(UnitsTest, UnitsThatFitTheFilterGainTheWarlordsPowersOnce)
{
    TestStrings s = UnitStrings();
    s[STR_UNITPOWERS + T_SOLDIER] = "Tough,Flying;";
    Load(s);
    for (int32_t player : { 0, 2 }) {   // a human, and the neutral side with the same warlord and filter
        p[player].warlordtype = T_LORD;
        for (int k = 0; k < NUMSTATS; k++) {
            p[player].filtermin[k] = k == STAT_ATTACK ? 3 : 0;
            p[player].filtermax[k] = k == STAT_ATTACK ? 5 : 50;
        }
    }
    const int32_t fits = CreateUnit(0, 1, 1, T_SOLDIER, 0);     // attack 3
    EXPECT_EQ(U(0, fits).abilities[0], A_TOUGH);
    EXPECT_EQ(U(0, fits).abilities[1], A_FLYING);
    EXPECT_EQ(U(0, fits).abilities[2], -1);
    EXPECT_EQ(U(0, fits).spells[0], S_SPARK);
    EXPECT_EQ(U(0, fits).mana, WARLORDMANA);
    const int32_t misfit = CreateUnit(0, 2, 1, T_IMP, 0);       // attack 1
    EXPECT_EQ(U(0, misfit).abilities[0], -1);
    EXPECT_EQ(U(0, misfit).spells[0], -1);
    const int32_t guard = CreateUnit(2, 3, 1, T_SOLDIER, 0);
    EXPECT_EQ(U(2, guard).abilities[2], -1);
    EXPECT_EQ(U(2, guard).spells[0], -1);
    EXPECT_EQ(U(2, guard).mana, 0);
}

TEST_F(UnitsTest, OnTheMapTheSquareAndOnMoveAbilitiesActOffItOnlyCreationAbilities)
{
    TestStrings s = UnitStrings();
    s[STR_UNITPOWERS + T_IMP] = "Wade,Birth;";
    Load(s);
    abilities[A_WADE].handler = WadeHandler;
    abilities[A_BIRTH].handler = BirthHandler;
    map[6][7].terrain = TERRAIN_MINE;
    map[6][7].extra = MINENOBODY;

    const int32_t u = CreateUnit(1, 6, 7, T_IMP, 0);
    EXPECT_EQ(map[6][7].extra, p[1].code - FIRSTCODE);
    ASSERT_EQ(slotcalls.size(), 2u);
    EXPECT_EQ(slotcalls[0].kind, A_WADE);
    EXPECT_EQ(slotcalls[0].a1, 6);
    EXPECT_EQ(slotcalls[0].a2, 7);
    EXPECT_EQ(slotcalls[0].a3, 6);
    EXPECT_EQ(slotcalls[0].a4, 7);
    EXPECT_EQ(slotcalls[0].a5, 1000 + u);
    EXPECT_EQ(slotcalls[1].kind, A_BIRTH);
    EXPECT_EQ(slotcalls[1].a1, 1);
    EXPECT_EQ(slotcalls[1].a2, u);

    slotcalls.clear();
    CreateUnit(1, -1, 30, T_IMP, 0);
    ASSERT_EQ(slotcalls.size(), 1u);
    EXPECT_EQ(slotcalls[0].kind, A_BIRTH);
}

TEST_F(UnitsTest, SummoningByNameCreatesAndAnnouncesOnTheHostOnly)
{
    ClearSendQueue();
    const int32_t u = SummonUnitNamed(0, 5, 6, "Last Of All", 0);
    ASSERT_GE(u, 0);
    EXPECT_EQ(U(0, u).type, T_LAST);
    const std::vector<SentFrame> sent = TakeSentFrames();
    EXPECT_TRUE(Sent(sent, BuildCreateUnit(0, T_LAST, U(0, u).id, 5, 6)));

    EXPECT_EQ(SummonUnitNamed(0, 5, 7, "Last Of", 0), -1);          // the whole name or nothing
    EXPECT_EQ(SummonUnitNamed(0, 5, 7, "Warlord", 0), 1);           // a warlord type is not announced
    EXPECT_TRUE(TakeSentFrames().empty());
    EXPECT_EQ(SummonUnitNamed(0, 20, 7, "Imp", 0), -1);             // no message could carry that square

    BecomeClient(1);
    const size_t before = p[0].units.size();
    EXPECT_EQ(SummonUnitNamed(0, 8, 8, "Imp", 0), -1);
    EXPECT_EQ(p[0].units.size(), before);
}

TEST_F(UnitsTest, RemovingAUnitKeepsTheOthersInOrder)
{
    const int32_t a = U(1, AddTestUnit(1, 1, 1)).id;
    const int32_t b = U(1, AddTestUnit(1, 2, 1)).id;
    const int32_t c = U(1, AddTestUnit(1, 3, 1)).id;
    EXPECT_FALSE(RemoveUnit(1, 1));
    ASSERT_EQ(p[1].units.size(), 2u);
    EXPECT_EQ(U(1, 0).id, a);
    EXPECT_EQ(U(1, 1).id, c);
    EXPECT_NE(a, b);
    RemoveUnit(1, 5);                   // nothing there
    EXPECT_EQ(p[1].units.size(), 2u);
    EXPECT_TRUE(Logged("ERROR: RemoveUnit"));
}

class LeavingTest : public UnitsTest {
protected:
    void SetUp() override
    {
        UnitsTest::SetUp();
        MakeWorld(3, 20);               // P0 hosts, P1, P2, the neutral side at 3
        for (int32_t player = 0; player < 4; player++) {
            AddTestUnit(player, 2 + 3 * player, 2);
            p[player].warlordtype = T_WARLORD;
        }
        turncount = 0;
        log.clear();
    }
};

TEST_F(LeavingTest, OnTheHostAPlayerLeavingInHisTurnPassesItOnOnce)
{
    currplayer = 1;
    turnholder = 1;                     // his turn is under way
    const int32_t left = playersleft;
    EXPECT_EQ(DropPlayerUnits(1), 2);
    EXPECT_EQ(currplayer, 2);
    EXPECT_TRUE(p[1].units.empty());
    EXPECT_EQ(playersleft, left - 1);
    const std::vector<SentFrame> sent = TakeSentFrames();
    EXPECT_TRUE(Sent(sent, BuildNextTurn(2)));

    // Out of his turn, and between days (while the players shop), nothing passes.
    EXPECT_EQ(DropPlayerUnits(0), 2);
    currplayer = 2;
    turnholder = -1;
    DropPlayerUnits(2);
    EXPECT_EQ(currplayer, 2);
    EXPECT_TRUE(TakeSentFrames().empty());
}

TEST_F(LeavingTest, APlayerWhoseWarlordFellIsNotCountedOutTwice)
{
    p[1].units.clear();                 // fallen: counted out when it happened
    const int32_t left = playersleft;
    DropPlayerUnits(1);
    EXPECT_EQ(playersleft, left);
    p[2].warlordtype = 0;               // still choosing his warlord
    p[2].units.clear();
    DropPlayerUnits(2);
    EXPECT_EQ(playersleft, left - 1);
}

TEST_F(LeavingTest, ErasingARecordMovesEveryStoredIndexAfterItDown)
{
    const uint8_t codes[4] = { p[0].code, p[1].code, p[2].code, p[3].code };
    map[0][0].terrain = TERRAIN_MINE;
    map[0][0].extra = codes[1] - FIRSTCODE;     // the leaver's
    map[0][1].terrain = TERRAIN_MINE;
    map[0][1].extra = codes[2] - FIRSTCODE;
    map[1][0].bits = 0x31;                      // claimed by 1, timer bits kept
    map[1][1].bits = 0x2;
    map[1][2].bits = 0x0;
    map[2][0].lightowner = 1;
    map[2][0].dark = 0;
    map[2][1].lightowner = 2;
    map[2][2].lightowner = 0;
    turncount = 2;                              // night: the leaver's light goes out
    deathlist = { { 77, 1 }, { 78, 2 }, { 79, 0 } };
    turnholder = 2;
    currplayer = 2;
    you = p[2].sizeattime;
    DropLocalPlayerCache();

    EXPECT_FALSE(ErasePlayerRecord(1));
    ASSERT_EQ(p.size(), 3u);
    EXPECT_EQ(currplayer, 1);
    EXPECT_EQ(turnholder, 1);
    EXPECT_EQ(YouToInt(), 1);
    EXPECT_EQ(map[0][0].extra, MINENOBODY);
    EXPECT_EQ(map[0][1].extra, codes[2] - FIRSTCODE);  // numbers outlive the erase
    EXPECT_EQ(p[1].code, codes[2]);
    EXPECT_EQ(map[1][0].bits, 0x3Fu);
    EXPECT_EQ(map[1][1].bits, 0x1u);
    EXPECT_EQ(map[1][2].bits, 0x0u);
    EXPECT_EQ(map[2][0].lightowner, -1);
    EXPECT_EQ(map[2][0].dark, 1);
    EXPECT_EQ(map[2][1].lightowner, 1);
    EXPECT_EQ(map[2][2].lightowner, 0);
    EXPECT_EQ(deathlist[0].killer, -1);
    EXPECT_EQ(deathlist[1].killer, 1);
    EXPECT_EQ(deathlist[2].killer, 0);
    EXPECT_TRUE(ErasePlayerRecord(7));
}

TEST_F(LeavingTest, TheCurrentPlayersRecordErasedHandsHisPlaceToTheNext)
{
    currplayer = 2;
    ErasePlayerRecord(2);
    EXPECT_EQ(currplayer, 2);           // the neutral side moved into it
    EXPECT_EQ(currunit, -1);
    currplayer = 2;
    ErasePlayerRecord(2);
    EXPECT_EQ(currplayer, 0);
}

TEST_F(LeavingTest, BeforeTheGameHasAMapTheNumbersCloseUp)
{
    MakeWorld(4, 20, false);
    map.clear();
    mapsize = 0;
    ErasePlayerRecord(1);
    ASSERT_EQ(p.size(), 3u);
    for (size_t i = 0; i < p.size(); i++)
        EXPECT_EQ(p[i].code, FIRSTCODE + i);
    // A newcomer gets the next number, as a machine joining now numbers the table afresh.
    AddPlayer();
    EXPECT_EQ(p.back().code, FIRSTCODE + 3);
}

TEST_F(LeavingTest, HostAndClientAgreeAfterAPlayerLeavesDuringHisTurn)
{
    for (int32_t player = 0; player < 3; player++)
        AddTestUnit(player, 2 + 3 * player, 5);
    map[10][10].terrain = TERRAIN_MINE;
    map[10][10].extra = p[1].code - FIRSTCODE;
    currplayer = 1;
    turnholder = 1;
    currunit = 0;
    HostAndClient machines(2);
    machines.UseHost();
    ConnectionBroken(p[1].socket, NETERR_RESET);   // player 1's connection is gone
    EXPECT_EQ(p.size(), 3u);
    const std::vector<SentFrame> sent = machines.HostToClient();
    ASSERT_GE(sent.size(), 2u);
    EXPECT_EQ(sent.back().Body(), BuildDropPlayer(1));  // after the next-turn message
    // The client is now the current player, at his new index, on both machines.
    EXPECT_EQ(p.size(), 3u);
    EXPECT_EQ(currplayer, 1);
    EXPECT_EQ(YouToInt(), 1);
    EXPECT_EQ(map[10][10].extra, MINENOBODY);
    EXPECT_EQ(LastHeardError().next, GAME_BEGINDEPLOY);  // his deployment begins once he has read of the leaver
    const uint64_t client = GameStateDigest();
    machines.UseHost();
    EXPECT_EQ(currplayer, 1);
    EXPECT_EQ(GameStateDigest(), client);
}
