// Host decides, client replays: attacks and casts, the host's own and those a client asks for, with
// chance abilities drawn on the host only, end with the same state on both machines for many seeds.
// Also: a request the host refuses changes nothing and is answered by nothing.
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "game/model/cast.h"
#include "game/model/death.h"
#include "game/model/digest.h"
#include "game/model/mapgen.h"
#include "game/model/turns.h"
#include "game/model/upgrade.h"
#include "game/net/builders.h"
#include "game/net/frame.h"
#include "game/net/kinds.h"
#include "game/net/routing.h"
#include "game/net/socketevents.h"
#include "game/model/states.h"
#include "platform/socket.h"
#include "tests/game/model/combat_fixture.h"

namespace {

struct Pick {
    int32_t player, unit;
};

// A unit of player's side that may act (not his warlord), or a target of another side.
bool PickUnit(std::mt19937& rng, int32_t player, bool own, Pick* pick)
{
    std::vector<Pick> found;
    for (size_t i = 0; i < p.size(); i++) {
        if ((static_cast<int32_t>(i) == player) != own)
            continue;
        for (size_t u = 0; u < p[i].units.size(); u++)
            if (u != 0 || p[i].neutral)
                found.push_back({ static_cast<int32_t>(i), static_cast<int32_t>(u) });
    }
    if (found.empty())
        return false;
    *pick = found[rng() % found.size()];
    return true;
}

} // namespace

class ReplayTest : public CombatTest {
protected:
    void SetUp() override
    {
        CombatTest::SetUp();
        MakeWorld(humans, 12);
        BuildArmies();
        LongSpells();
        TakeSentFrames();
    }
    void Unit3(int32_t player, int32_t x, int32_t y, std::initializer_list<int32_t> abilitylist,
               std::initializer_list<int32_t> spelllist, int32_t resist)
    {
        const int32_t u = Fighter(player, x, y);
        int32_t k = 0;
        for (const int32_t a : abilitylist)
            U(player, u).abilities[k++] = a;
        k = 0;
        for (const int32_t s : spelllist)
            U(player, u).spells[k++] = s;
        U(player, u).stat[STAT_RESIST] = resist;
        U(player, u).stat[STAT_RANGE] = 30;
    }
    void BuildArmies()
    {
        for (int32_t player = 0; player < 2; player++) {
            const int32_t w = AddTestUnit(player, player * 10, player * 10, 2);
            U(player, w).hp = 1000000;  // the warlords stay out of it
        }
        Unit3(0, 2, 2, { LUCKY, -1, ECHO, DODGE }, { BOLT, QUAKE, STEAL }, 2);
        Unit3(0, 3, 2, { -1, BOOST, -1, -1, FOLLOW }, { BOLT, ABSORB }, 0);
        Unit3(0, 2, 3, { DODGE, LUCKY }, { QUAKE }, 3);
        Unit3(1, 6, 6, { DODGE, GUARD, ANSWER, LUCKY }, { BOLT, STEAL, QUAKE }, 1);
        Unit3(1, 7, 6, {}, { ABSORB, BOLT }, 0);
        Unit3(1, 6, 7, { LUCKY, ECHO }, { BOLT }, 3);
        Unit3(2, 9, 3, { DODGE }, {}, 2);
        Unit3(2, 9, 4, {}, {}, 0);
        // Two chance abilities of one phase in one unit: two draws, two bits of one mask.
        Unit3(0, 3, 3, { LUCKY, -1, LUCKY }, { BOLT }, 1);
        Unit3(1, 7, 7, { DODGE, DODGE, ANSWER }, { QUAKE }, 0);
        for (int32_t i = 0; i < 3; i++)
            for (Unit& u : p[i].units)
                u.group = 1;
    }
    // Every spell but the caster's own reaches across the map.
    static void LongSpells()
    {
        for (SpellInfo& spell : spells)
            spell.range = spell.range ? 30 : 0;
    }
    // The same change on both machines: the turn and fresh actions and mana, as a new turn would give.
    void OnBoth(HostAndClient& hc, const std::function<void()>& change)
    {
        hc.UseHost();
        change();
        hc.UseClient();
        change();
        hc.UseHost();
    }
    // One action chosen by rng on the current (host) machine; false when there was nothing to do.
    bool Act(HostAndClient& hc, std::mt19937& rng)
    {
        const int32_t actor = static_cast<int32_t>(rng() % 2);
        OnBoth(hc, [actor] {
            currplayer = turnholder = actor;
            currunit = 0;
            for (Player& pl : p)
                for (Unit& u : pl.units) {
                    u.hits = 4;
                    u.mana = 10;
                }
        });
        Pick who, target;
        if (!PickUnit(rng, actor, true, &who))
            return false;
        const bool attack = rng() % 2 == 0;
        const Unit& w = p[who.player].units[who.unit];
        int32_t spell = -1;
        if (!attack) {
            spell = w.spells[rng() % MAXSPELLS];
            if (spell < 0)
                return false;
        }
        int32_t a, b;
        if (!attack && !IsUnitTarget(spell)) {
            a = static_cast<int32_t>(rng() % mapsize);
            b = static_cast<int32_t>(rng() % mapsize);
        } else {
            if (!PickUnit(rng, actor, !attack && spell == ABSORB, &target))
                return false;
            a = target.player;
            b = target.unit;
            if (!attack && !spells[spell].test(who.player, who.unit, a, b, 0))
                return false;
        }
        const int32_t whoid = w.id;
        if (actor == 0) {
            // The host's own command: applied at once, the confirmed message to all.
            if (attack) {
                DoCombat(who.player, who.unit, a, b, 0, 0, 0, 0);
                const int32_t masks[4] = { static_cast<int32_t>(triggermasks[0]), static_cast<int32_t>(triggermasks[1]),
                                           static_cast<int32_t>(triggermasks[2]), static_cast<int32_t>(triggermasks[3]) };
                SendToPlayer(BuildAttack(whoid, p[a].units[b].id, masks), -1);
                firedmasks += masks[0] + masks[1] + masks[2] + masks[3] ? 1 : 0;
                CountDoubles();
            } else {
                ResolveSpell(who.player, who.unit, a, b, IsUnitTarget(spell) ? 1 : 0, spell);
            }
        } else {
            hc.UseClient();
            if (attack)
                SendToPlayer(BuildAttackRequest(whoid, p[a].units[b].id), -1);
            else if (IsUnitTarget(spell))
                SendToPlayer(BuildSpellRequestAtUnit(whoid, p[a].units[b].id, spell), -1);
            else
                SendToPlayer(BuildSpellRequestAtSquare(whoid, a, b, spell), -1);
            hc.ClientToHost();
            if (attack)
                CountDoubles();
        }
        // The main loop's pass on the host, then everything it sent reaches the client.
        ProcessUpgrades();
        ProcessDeaths();
        for (const SentFrame& f : hc.HostToClient()) {
            resisted += f.Body()[0] == MSG_RESIST ? 1 : 0;
            confirmed++;
        }
        ProcessDeaths();
        hc.UseHost();
        return true;
    }
    // Host and client hold the same state; the host is the current machine afterwards.
    static bool Agree(HostAndClient& hc)
    {
        hc.UseHost();
        const uint64_t host = GameStateDigest();
        hc.UseClient();
        const uint64_t client = GameStateDigest();
        hc.UseHost();
        return host == client;
    }
    // An attack whose masks hold two slots of one phase.
    void CountDoubles()
    {
        for (const uint32_t mask : triggermasks)
            doublefired += __builtin_popcount(mask) >= 2 ? 1 : 0;
    }
    int32_t firedmasks = 0, resisted = 0, confirmed = 0, doublefired = 0;
    int32_t humans = 2;
};

TEST_F(ReplayTest, ClientsReplayingTheHostsAttacksAndCastsEndInTheSameState)
{
    int32_t acted = 0;
    for (uint32_t seed = 1; seed <= 150; seed++) {
        SetUp();
        HostAndClient hc(1);
        SeedRandom(seed);
        std::mt19937 rng(seed);
        for (int step = 0; step < 14; step++) {
            if (!Act(hc, rng))
                continue;
            acted++;
            ASSERT_TRUE(Agree(hc)) << "seed " << seed << " step " << step;
        }
    }
    // The property was exercised: chance abilities fired, two in one phase too, spells were resisted,
    // every action answered.
    EXPECT_GT(acted, 1000);
    EXPECT_GT(firedmasks, 50);
    EXPECT_GT(doublefired, 5);
    EXPECT_GT(resisted, 20);
    EXPECT_GE(confirmed, acted);
}

// The same on a map with trees (under both sides, so the blow and the answer are both damped), with a
// third player who leaves halfway, owning a gold mine that a unit of the client claims after him.
TEST_F(ReplayTest, TreesALeaverAndAMineClaimedAfterHimReplayAlike)
{
    enum { MINEX = 11, MINEY = 5, STEPS = 14, LEAVESTEP = 6, CLAIMSTEP = 9 };
    int32_t acted = 0;
    for (uint32_t seed = 1; seed <= 40; seed++) {
        SCOPED_TRACE(seed);
        humans = 3;                     // the third one leaves; the neutral side comes after him
        SetUp();
        for (int32_t x = 0; x < mapsize; x++)
            for (int32_t y = 0; y < mapsize; y++)
                if ((x * 7 + y * 3 + seed) % 3 == 0 || (x == 2 && y == 2) || (x == 6 && y == 6)) {
                    map[x][y].terrain = TERRAIN_TREES;
                    map[x][y].extra = 0;
                }
        map[MINEX][MINEY].terrain = TERRAIN_MINE;
        map[MINEX][MINEY].extra = static_cast<uint8_t>(p[2].code - FIRSTCODE);
        HostAndClient hc(1);
        SeedRandom(seed);
        std::mt19937 rng(seed);
        for (int step = 0; step < STEPS; step++) {
            if (step == LEAVESTEP) {
                hc.UseHost();
                ConnectionBroken(p[2].socket, NETERR_RESET);
                ProcessDeaths();
                hc.HostToClient();
                ASSERT_EQ(p.size(), 3u);
                EXPECT_EQ(map[MINEX][MINEY].extra, MINENOBODY);
            } else if (step == CLAIMSTEP) {
                // A unit of the client's, the same on both machines, steps onto the mine.
                int32_t claimerid = -1;
                OnBoth(hc, [this, &claimerid] {
                    currplayer = turnholder = 1;
                    claimerid = U(1, Fighter(1, MINEX, MINEY + 1)).id;
                });
                hc.UseClient();
                SendToPlayer(BuildMoveRequest(claimerid, MINEX, MINEY), -1);
                hc.ClientToHost();
                hc.HostToClient();
                EXPECT_EQ(map[MINEX][MINEY].extra, p[1].code - FIRSTCODE);
                hc.ClientToHost();      // what the step let him see, reported
                hc.UseHost();
                EXPECT_EQ(map[MINEX][MINEY].extra, p[1].code - FIRSTCODE);
            } else if (Act(hc, rng)) {
                acted++;
            }
            ASSERT_TRUE(Agree(hc)) << "step " << step;
        }
        humans = 2;
    }
    EXPECT_GT(acted, 250);
    EXPECT_GT(doublefired, 0);
}

TEST_F(ReplayTest, RefusedRequestsChangeNothingAndGetNoAnswer)
{
    HostAndClient hc(1);
    OnBoth(hc, [] { currplayer = turnholder = 1; });
    const int32_t mine = p[1].units[1].id, theirs = p[0].units[1].id, far = p[0].units[2].id;
    struct Case {
        const char* what;
        std::string body;
        std::function<void()> setup;
    };
    const Case cases[] = {
        { "one action left", BuildAttackRequest(mine, theirs), [] { p[1].units[1].hits = 1; } },
        { "not his turn", BuildAttackRequest(mine, theirs), [] { currplayer = turnholder = 0; } },
        { "not his unit", BuildAttackRequest(theirs, mine), [] {} },
        { "out of range", BuildAttackRequest(mine, far), [] { p[1].units[1].stat[STAT_RANGE] = 1; } },
        { "own unit", BuildAttackRequest(mine, p[1].units[2].id), [] {} },
        { "spell not known", BuildSpellRequestAtUnit(mine, theirs, ABSORB), [] {} },
        { "no mana", BuildSpellRequestAtUnit(mine, theirs, BOLT), [] { p[1].units[1].mana = 0; } },
        { "spell out of range", BuildSpellRequestAtSquare(mine, 0, 11, QUAKE), [] { spells[QUAKE].range = 3; } },
        { "target refused", BuildSpellRequestAtUnit(mine, p[0].units[0].id, BOLT), [] {} },
    };
    for (const Case& c : cases) {
        hc.UseHost();
        c.setup();
        const uint64_t before = GameStateDigest();
        log.clear();
        DeliverToHost({ SentFrame{ BuildFrame(c.body), 0 } }, 1);
        EXPECT_EQ(GameStateDigest(), before) << c.what;
        EXPECT_TRUE(TakeSentFrames().empty()) << c.what;
        EXPECT_TRUE(Logged("ERROR: ")) << c.what;
        LongSpells();
        OnBoth(hc, [] {
            currplayer = turnholder = 1;
            for (Player& pl : p)
                for (Unit& u : pl.units) {
                    u.hits = 4;
                    u.mana = 10;
                    u.stat[STAT_RANGE] = 30;
                }
        });
    }
    // The same attack, allowed, is answered with the confirmed attack.
    hc.UseHost();
    const std::string body = BuildAttackRequest(mine, theirs);
    DeliverToHost({ SentFrame{ BuildFrame(body), 0 } }, 1);
    const std::vector<SentFrame> sent = TakeSentFrames();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].Body()[0], MSG_ATTACK);
}

TEST_F(ReplayTest, TheAnswerEndsTheRequestersWait)
{
    const int32_t oldgs = gs;
    HostAndClient hc(1);
    OnBoth(hc, [] { currplayer = turnholder = 1; });
    hc.UseClient();
    gs = GAME_WAITRESULT;
    SendToPlayer(BuildAttackRequest(p[1].units[1].id, p[0].units[1].id), -1);
    hc.ClientToHost();
    hc.HostToClient();
    EXPECT_EQ(gs, GAME_UNITTURN);
    OnBoth(hc, [] { p[1].units[1].hits = 2; });
    hc.UseClient();
    gs = GAME_REQUESTSENT;
    SendToPlayer(BuildSpellRequestAtUnit(p[1].units[1].id, p[0].units[1].id, BOLT), -1);
    hc.ClientToHost();
    hc.HostToClient();
    EXPECT_EQ(gs, GAME_UNITTURN);
    gs = oldgs;
}
