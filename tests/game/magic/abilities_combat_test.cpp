// Combat abilities, phase by phase through the real attack: what each does to the blow or to the two
// units, chance abilities drawn by the host alone and replayed from its masks, and the attack itself
// replayed alike on host and client.
#include <functional>
#include <vector>

#include "game/magic/abilities.h"
#include "game/model/abilityslots.h"
#include "game/model/combat.h"
#include "game/model/death.h"
#include "game/model/stats.h"
#include "game/model/turns.h"
#include "game/model/turnstart.h"
#include "game/model/wards.h"
#include "game/net/builders.h"
#include "game/net/routing.h"
#include "platform/random.h"
#include "tests/game/magic/abilities_fixture.h"

namespace {

enum : int32_t { STUNKIND = 7, FROSTKIND = -1 };

class CombatAbilityTest : public AbilityTest {
protected:
    // A seed whose first draw makes a chance of numerator in denominator succeed (acts) or fail.
    static uint32_t SeedWhere(bool acts, int numerator, int denominator)
    {
        for (uint32_t seed = 1; seed < 10000; seed++) {
            SeedRandom(seed);
            if ((Random() % denominator < numerator) == acts)
                return seed;
        }
        ADD_FAILURE() << "no seed";
        return 1;
    }
    // The first number a seed gives, to tell afterwards whether anything drew.
    static int FirstDraw(uint32_t seed)
    {
        SeedRandom(seed);
        const int first = Random();
        SeedRandom(seed);
        return first;
    }
    static void Attack(int32_t ap, int32_t au, int32_t dp, int32_t du, const int32_t (&masks)[4] = { 0, 0, 0, 0 })
    {
        DoCombat(ap, au, dp, du, masks[0], masks[1], masks[2], masks[3]);
    }
    static int32_t WardsInUse(int32_t player, int32_t unit)
    {
        int32_t n = 0;
        for (const Ward& ward : p[player].units[unit].wards)
            n += ward.inuse;
        return n;
    }
};

TEST_F(CombatAbilityTest, DefensiveAbilitiesLowerTheBlow)
{
    struct Case {
        std::vector<const char*> held;
        int32_t attackertype, attack, taken;
    };
    const Case cases[] = {
        { { "Archer" }, BOWMAN, 1, 1 },  { { "Archer" }, BOWMAN, 2, 2 },  { { "Archer" }, BOWMAN, 3, 3 },
        { { "Archer" }, BOWMAN, 4, 3 },  { { "Archer" }, BOWMAN, 7, 6 },  { { "Archer" }, BOWMAN, 8, 6 },
        { { "Archer" }, SOLDIER, 8, 8 }, { { "Stone" }, SOLDIER, 5, 3 },  { { "Stone" }, SOLDIER, 2, 1 },
        { { "Stone" }, SOLDIER, 1, 1 },  { { "Archer", "Stone" }, BOWMAN, 8, 4 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.held[0]) + (c.held.size() > 1 ? "+" : "") + " against " + std::to_string(c.attack)
                     + (c.attackertype == BOWMAN ? " ranged" : " melee"));
        MakeWorld(2, 20);
        const int32_t a = Put(0, 5, 5, c.attackertype);
        U(0, a).stat[STAT_ATTACK] = c.attack;
        const int32_t d = Put(1, 6, 5);
        for (const char* name : c.held)
            Give(1, d, name);
        U(1, d).hp = 20;
        Attack(0, a, 1, d);
        EXPECT_EQ(20 - U(1, d).hp, c.taken);
    }
}

TEST_F(CombatAbilityTest, PowerDoublesWhenTheHostDrawsItOrTheMaskSays)
{
    struct Case {
        const char* what;
        bool host;
        bool drawacts;          // the seed's first draw would make it act
        int32_t mask0;
        int32_t taken, maskafter;
        bool draws;
    };
    const Case cases[] = {
        { "host, draw succeeds", true, true, 0, 6, 1, true },
        { "host, draw fails", true, false, 0, 3, 0, true },
        { "client, slot in the mask", false, false, 1, 6, 1, false },
        { "client, mask empty", false, true, 0, 3, 0, false },
        { "client, another slot's bit", false, true, 2, 3, 0, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MakeWorld(2, 20);
        Explore();
        const int32_t a = Put(0, 5, 5, SOLDIER, { "Power" });
        const int32_t d = Put(1, 6, 5);
        if (!c.host)
            BecomeClient(1);
        const uint32_t seed = SeedWhere(c.drawacts, 1, 4);
        const int first = FirstDraw(seed);
        Attack(0, a, 1, d, { c.mask0, 0, 0, 0 });
        EXPECT_EQ(10 - U(1, d).hp, c.taken);
        EXPECT_EQ(triggermasks[PHASE_OFFENSIVE], static_cast<uint32_t>(c.maskafter));
        if (!c.draws) {
            EXPECT_EQ(Random(), first);
        }
        EXPECT_EQ(Fed("P0's Soldier inflicts double damage!"), c.taken == 6);
    }
}

TEST_F(CombatAbilityTest, TwoPowersMultiplyUpToTheLimit)
{
    for (const int32_t attack : { 3, 30 }) {
        MakeWorld(2, 20);
        BecomeClient(1);
        const int32_t a = Put(0, 5, 5, SOLDIER, { "Power", "Power" });
        U(0, a).stat[STAT_ATTACK] = attack;
        const int32_t d = Put(1, 6, 5);
        U(1, d).hp = 200;
        Attack(0, a, 1, d, { 3, 0, 0, 0 });
        EXPECT_EQ(200 - U(1, d).hp, attack == 3 ? 12 : 99);
    }
}

TEST_F(CombatAbilityTest, StunTakesTheVictimsNextTurn)
{
    Explore();
    const int32_t a = Put(0, 5, 5, SOLDIER, { "Stun" });
    const int32_t d = Put(1, 6, 5);
    U(1, d).hp = 50;
    SeedRandom(SeedWhere(true, 1, 4));
    Attack(0, a, 1, d);
    EXPECT_EQ(triggermasks[PHASE_AFTERATTACK], 1u);
    const Ward& ward = U(1, d).wards[0];
    EXPECT_EQ(ward.inuse, 1);
    EXPECT_EQ(ward.kind, STUNKIND);
    EXPECT_EQ(ward.turns, 1);
    EXPECT_EQ(ward.mods[STAT_MOVES], -3);
    EXPECT_EQ(ward.mods[STAT_ACTIONS], -2);
    EXPECT_EQ(U(1, d).moves, 0);
    EXPECT_EQ(U(1, d).hits, 0);
    EXPECT_TRUE(Fed("P1's Soldier stunned by the blow!"));
    // Its next turn passes without moves or actions; the one after is whole again.
    UpdateUnit(1, d);
    EXPECT_EQ(U(1, d).moves, 0);
    EXPECT_EQ(U(1, d).hits, 0);
    UpdateUnit(1, d);
    EXPECT_EQ(U(1, d).moves, 3);
    EXPECT_EQ(U(1, d).hits, 2);
}

TEST_F(CombatAbilityTest, StunOnAStunnedUnitLastsLonger)
{
    const int32_t a = Put(0, 5, 5, SOLDIER, { "Stun" });
    const int32_t d = Put(1, 6, 5);
    U(1, d).hp = 50;
    AddWard(1, d, 1, 0, 0, 0, -3, 0, -2, 0, 0, 0, STUNKIND, 1);   // as Petrify leaves it
    SeedRandom(SeedWhere(true, 1, 4));
    Attack(0, a, 1, d);
    EXPECT_EQ(WardsInUse(1, d), 1);
    EXPECT_EQ(U(1, d).wards[0].turns, 2);
    EXPECT_EQ(triggermasks[PHASE_AFTERATTACK], 1u);
}

TEST_F(CombatAbilityTest, ChanceStunsFollowTheHost)
{
    struct Case {
        const char* what;
        const char* ability;
        bool attackerholds;
        bool host, drawacts;
        int32_t mask;               // in the holder's after-blow phase
        bool stunned;
    };
    const Case cases[] = {
        { "Stun, host, draw fails", "Stun", true, true, false, 0, false },
        { "Stun, client with the bit", "Stun", true, false, false, 1, true },
        { "Stun, client without", "Stun", true, false, true, 0, false },
        { "Heavy, host, draw succeeds", "Heavy", false, true, true, 0, true },
        { "Heavy, host, draw fails", "Heavy", false, true, false, 0, false },
        { "Heavy, client with the bit", "Heavy", false, false, false, 1, true },
        { "Heavy, client without", "Heavy", false, false, true, 0, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MakeWorld(2, 20);
        const int32_t a = Put(0, 5, 5);
        const int32_t d = Put(1, 6, 5);
        Give(c.attackerholds ? 0 : 1, c.attackerholds ? a : d, c.ability);
        U(1, d).hp = 50;
        if (!c.host)
            BecomeClient(1);
        const bool heavy = std::string(c.ability) == "Heavy";
        SeedRandom(SeedWhere(c.drawacts, heavy ? 3 : 1, heavy ? 20 : 4));
        const int32_t m = c.mask;
        if (c.attackerholds)
            Attack(0, a, 1, d, { 0, 0, m, 0 });
        else
            Attack(0, a, 1, d, { 0, 0, 0, m });
        // Heavy stuns the one who struck.
        const Unit& victim = c.attackerholds ? U(1, d) : U(0, a);
        EXPECT_EQ(victim.wards[0].inuse != 0 && victim.wards[0].kind == STUNKIND, c.stunned);
        const uint32_t fired = triggermasks[c.attackerholds ? PHASE_AFTERATTACK : PHASE_AFTERDEFENCE];
        EXPECT_EQ(fired, c.stunned ? 1u : 0u);
    }
}

// A chance ability run outside the phase that calls it (a defensive ability asked by Pulse, Pierce or
// ability damage; a handler called directly) neither draws nor acts: no attack message would carry it.
TEST_F(CombatAbilityTest, ChanceAbilitiesActOnlyInTheAttackTheHostDrawsFor)
{
    abilities[AbilityIndex("Stun")].kind = ABILITY_DEFENSIVE;
    for (const char* carrier : { "Pulse", "Pierce" }) {
        SCOPED_TRACE(carrier);
        MakeWorld(2, 20);
        const int32_t a = Put(0, 5, 5, SOLDIER, { carrier });
        U(0, a).stat[STAT_ATTACK] = 8;
        const int32_t d = Put(1, 6, 5);
        const int32_t n = Put(1, 7, 5, SOLDIER, { "Stun" });     // behind the victim and next to it
        U(1, n).hp = 50;
        const uint32_t seed = SeedWhere(true, 1, 4);
        const int first = FirstDraw(seed);
        Attack(0, a, 1, d);
        EXPECT_LT(U(1, n).hp, 50);
        EXPECT_EQ(WardsInUse(0, a), 0);
        EXPECT_EQ(Random(), first);
    }
    MakeWorld(2, 20);
    const int32_t a = Put(0, 5, 5, SOLDIER, { "Power" });
    const int32_t d = Put(1, 6, 5);
    const uint32_t seed = SeedWhere(true, 1, 4);
    const int first = FirstDraw(seed);
    EXPECT_EQ(ExecuteAbilitySlot(0, a, 0, 0, a, 1, d, 5, 0), 5);
    EXPECT_EQ(Random(), first);
}

TEST_F(CombatAbilityTest, AfterTheBlow)
{
    struct Case {
        const char* what;
        const char* ability;
        bool defenderholds;
        int32_t attackertype, attack;
        std::function<void()> setup;
        std::function<void()> check;
    };
    // The attacker is (0, 0) on (5, 5), the defender (1, 0) on (6, 5); both Soldiers of life 10 unless
    // the attacker is a Bowman.
    const Case cases[] = {
        { "Poison on a healthy unit", "Poison", false, SOLDIER, 3, [] {},
          [] {
              EXPECT_EQ(U(1, 0).poison, 3);
              EXPECT_TRUE(Fed("P1's unit was poisoned!"));
          } },
        { "Poison on a poisoned unit", "Poison", false, SOLDIER, 3, [] { U(1, 0).poison = 2; },
          [] {
              EXPECT_EQ(U(1, 0).poison, 2);
              EXPECT_TRUE(Feed().empty());
          } },
        { "Lifebond heals half", "Lifebond", false, SOLDIER, 6, [] { U(0, 0).hp = 5; }, [] { EXPECT_EQ(U(0, 0).hp, 8); } },
        { "Lifebond with 1 damage", "Lifebond", false, SOLDIER, 1, [] { U(0, 0).hp = 5; }, [] { EXPECT_EQ(U(0, 0).hp, 5); } },
        { "Lifebond up to life", "Lifebond", false, SOLDIER, 6, [] { U(0, 0).hp = 9; }, [] { EXPECT_EQ(U(0, 0).hp, 10); } },
        { "Energylink takes 2", "Energylink", false, SOLDIER, 3,
          [] {
              U(1, 0).mana = 1;
              U(0, 0).mana = 3;
          },
          [] {
              EXPECT_EQ(U(1, 0).mana, 0);
              EXPECT_EQ(U(0, 0).mana, 5);
          } },
        { "Energylink keeps 10", "Energylink", false, SOLDIER, 3,
          [] {
              U(1, 0).mana = 5;
              U(0, 0).mana = 9;
          },
          [] {
              EXPECT_EQ(U(1, 0).mana, 3);
              EXPECT_EQ(U(0, 0).mana, 10);
          } },
        { "Flaming burns a melee attacker", "Flaming", true, SOLDIER, 3, [] {},
          [] {
              EXPECT_EQ(U(0, 0).hp, 8);
              EXPECT_TRUE(Fed("P1's unit's flaming aura burns P0's unit!"));
          } },
        { "Flaming spares a ranged attacker", "Flaming", true, BOWMAN, 3, [] {},
          [] {
              EXPECT_EQ(U(0, 0).hp, 8);   // a Bowman's life
              EXPECT_TRUE(Feed().empty());
          } },
        { "Frozen slows the attacker", "Frozen", true, SOLDIER, 3, [] { U(0, 0).hits = 4; },
          [] {
              const Ward& w = U(0, 0).wards[0];
              EXPECT_EQ(w.inuse, 1);
              EXPECT_EQ(w.kind, FROSTKIND);
              EXPECT_EQ(w.turns, 1);
              EXPECT_EQ(w.mods[STAT_MOVES], -1);
              EXPECT_EQ(U(0, 0).moves, 2);
              EXPECT_TRUE(Fed("P0's unit slowed by frost!"));
          } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MakeWorld(2, 20);
        Explore();
        Put(0, 5, 5, c.attackertype);
        Put(1, 6, 5);
        U(0, 0).stat[STAT_ATTACK] = c.attack;
        Give(c.defenderholds ? 1 : 0, 0, c.ability);
        c.setup();
        Attack(0, 0, 1, 0);
        c.check();
    }
}

TEST_F(CombatAbilityTest, FrostStacksBlowByBlow)
{
    Put(0, 5, 5);
    Put(1, 6, 5, SOLDIER, { "Frozen" });
    U(0, 0).hits = 6;
    U(1, 0).hp = 50;
    Attack(0, 0, 1, 0);
    Attack(0, 0, 1, 0);
    EXPECT_EQ(WardsInUse(0, 0), 2);
    EXPECT_EQ(GetStat(0, 0, STAT_MOVES), 1);
}

TEST_F(CombatAbilityTest, PierceFollowsTheLineBehindTheVictim)
{
    struct Behind {
        int32_t player, x, y;
        const char* ability;    // null: none
        bool trees;
        int32_t taken;
    };
    struct Case {
        const char* what;
        int32_t dx, dy;         // the victim's square
        std::vector<Behind> units;
    };
    const int32_t N = 2;        // the neutral side
    // A Bowman with attack 4 and Pierce on (5, 5); every other unit has 20 hit points.
    const Case cases[] = {
        { "along a row", 6, 5, { { 1, 7, 5, nullptr, false, 4 }, { 1, 8, 5, nullptr, false, 4 }, { 1, 10, 5, nullptr, false, 0 } } },
        { "along a diagonal", 6, 6,
          { { 1, 7, 7, nullptr, false, 4 }, { N, 8, 8, nullptr, false, 4 }, { 1, 9, 9, nullptr, false, 4 } } },
        { "up a column", 5, 4, { { 1, 5, 3, nullptr, false, 4 }, { 1, 5, 2, nullptr, false, 4 } } },
        { "a knight's move is no line", 7, 6,
          { { 1, 9, 7, nullptr, false, 0 }, { 1, 8, 6, nullptr, false, 0 }, { 1, 8, 7, nullptr, false, 0 } } },
        { "an own unit ends the line", 6, 5, { { 0, 7, 5, nullptr, false, 0 }, { 1, 8, 5, nullptr, false, 0 } } },
        { "defences and trees", 6, 5, { { 1, 7, 5, "Stone", false, 2 }, { 1, 8, 5, nullptr, true, 3 } } },
        { "two on one square", 6, 5,
          { { 1, 7, 5, nullptr, false, 4 }, { N, 7, 5, nullptr, false, 4 }, { 1, 8, 5, nullptr, false, 4 } } },
        { "victim on the attacker's square", 5, 5, { { 1, 5, 5, nullptr, false, 0 }, { N, 5, 5, nullptr, false, 0 } } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MakeWorld(2, 20);
        const int32_t a = Put(0, 5, 5, BOWMAN, { "Pierce" });
        U(0, a).stat[STAT_ATTACK] = 4;
        const int32_t d = Put(1, c.dx, c.dy);
        U(1, d).hp = 20;
        std::vector<std::pair<int32_t, int32_t>> refs;
        for (const Behind& b : c.units) {
            const int32_t u = Put(b.player, b.x, b.y);
            if (b.ability)
                Give(b.player, u, b.ability);
            if (b.trees)
                map[b.x][b.y].terrain = 1;
            U(b.player, u).hp = 20;
            refs.push_back({ b.player, u });
        }
        Attack(0, a, 1, d);
        EXPECT_EQ(20 - U(1, d).hp, 4);
        for (size_t i = 0; i < refs.size(); i++)
            EXPECT_EQ(20 - U(refs[i].first, refs[i].second).hp, c.units[i].taken) << "unit " << i;
    }
}

TEST_F(CombatAbilityTest, PierceStrikesEachUnitOnceEvenWhenUnitsStack)
{
    // Units stacked on every square of a long line: each is struck once and the blow ends.
    const int32_t a = Put(0, 0, 5, BOWMAN, { "Pierce" });
    U(0, a).stat[STAT_ATTACK] = 1;
    const int32_t d = Put(1, 1, 5);
    for (int32_t x = 2; x < 20; x++)
        for (int k = 0; k < 3; k++)
            U(1, Put(1, x, 5)).hp = 20;
    Attack(0, a, 1, d);
    for (size_t u = 1; u < p[1].units.size(); u++)
        EXPECT_EQ(p[1].units[u].hp, 19) << "unit " << u;
}

TEST_F(CombatAbilityTest, PulseHitsEveryNeighbourOfTheVictim)
{
    struct Near {
        int32_t player, x, y;
        const char* ability;
        bool trees;
        int32_t taken;
    };
    const int32_t N = 2;
    // A Bowman with Pulse on (5, 5) strikes the unit on (6, 5).
    const struct {
        int32_t attack, victimtaken, attackertaken;
        std::vector<Near> units;
    } cases[] = {
        { 8, 8, 2,
          { { 0, 6, 4, nullptr, false, 2 }, { 1, 7, 6, nullptr, false, 2 }, { N, 7, 4, nullptr, true, 1 },
            { 1, 5, 6, "Stone", false, 1 }, { 1, 8, 5, nullptr, false, 0 } } },
        { 3, 3, 1, { { 1, 7, 5, nullptr, false, 1 }, { 1, 6, 6, nullptr, false, 1 } } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.attack);
        MakeWorld(2, 20);
        const int32_t a = Put(0, 5, 5, BOWMAN, { "Pulse" });
        U(0, a).stat[STAT_ATTACK] = c.attack;
        U(0, a).hp = 20;
        const int32_t d = Put(1, 6, 5);
        U(1, d).hp = 20;
        std::vector<std::pair<int32_t, int32_t>> refs;
        for (const Near& n : c.units) {
            const int32_t u = Put(n.player, n.x, n.y);
            if (n.ability)
                Give(n.player, u, n.ability);
            if (n.trees)
                map[n.x][n.y].terrain = 1;
            U(n.player, u).hp = 20;
            refs.push_back({ n.player, u });
        }
        Attack(0, a, 1, d);
        EXPECT_EQ(20 - U(1, d).hp, c.victimtaken);
        EXPECT_EQ(20 - U(0, a).hp, c.attackertaken);
        for (size_t i = 0; i < refs.size(); i++)
            EXPECT_EQ(20 - U(refs[i].first, refs[i].second).hp, c.units[i].taken) << "unit " << i;
    }
}

TEST_F(CombatAbilityTest, ShockwavePushesTheVictimAway)
{
    const int32_t a = Put(0, 5, 5, SOLDIER, { "Shockwave" });
    const int32_t d = Put(1, 6, 6);
    const int32_t behind = Put(1, 7, 7);
    U(1, d).hp = 20;
    U(1, behind).hp = 20;
    Attack(0, a, 1, d);
    EXPECT_EQ(U(1, d).x, 7);
    EXPECT_EQ(U(1, d).y, 7);
    EXPECT_EQ(U(1, behind).x, 8);
    EXPECT_EQ(U(1, behind).y, 8);
    EXPECT_EQ(20 - U(1, d).hp, 4);     // the blow and the push
    EXPECT_EQ(20 - U(1, behind).hp, 1);
}

TEST_F(CombatAbilityTest, ShockwaveWithoutADirectionEnds)
{
    // Units sharing the attacker's square give the push no direction: nobody moves, and it ends.
    const int32_t a = Put(0, 5, 5, SOLDIER, { "Shockwave" });
    const int32_t d = Put(1, 5, 5);
    const int32_t other = Put(1, 5, 5);
    Put(2, 5, 5, IMP);
    U(1, d).hp = 20;
    Attack(0, a, 1, d);
    EXPECT_EQ(U(1, d).x, 5);
    EXPECT_EQ(U(1, d).y, 5);
    EXPECT_EQ(U(1, other).x, 5);
    EXPECT_LT(U(1, d).hp, 20);
}

// The client's unit, holding every kind of after-blow and chance ability, strikes a defender that holds
// the rest, among units in its line and around it: the host resolves the request and sends its masks,
// the client replays, the host's kills follow, and both end alike, whatever the host drew.
TEST_F(CombatAbilityTest, AttacksReplayAlikeOnHostAndClient)
{
    uint32_t fired[COMBATPHASES] = { 0, 0, 0, 0 };
    for (uint32_t seed = 1; seed <= 40; seed++) {
        SCOPED_TRACE(seed);
        Load(2);
        Explore();
        Put(0, 1, 1, WARLORD);
        const int32_t a = Put(1, 5, 5, SOLDIER, { "Power", "Stun", "Pierce", "Pulse", "Lifebond" });
        U(1, a).stat[STAT_ATTACK] = 5;
        U(1, a).rocks = 5;
        const int32_t d = Put(0, 6, 5, SOLDIER, { "Heavy", "Frozen", "Flaming", "Stone", "Archer" });
        const int32_t line = Put(0, 7, 5, SOLDIER, { "Poison", "Stone" });
        Put(2, 7, 4, IMP);
        Put(0, 6, 6, SOLDIER, { "Energylink" });
        U(0, line).hp = 7;
        currplayer = turnholder = 1;
        currunit = a;
        HostAndClient machines(1);
        machines.UseHost();
        SeedRandom(seed);
        machines.UseClient();
        SendToPlayer(BuildAttackRequest(U(1, a).id, U(0, d).id), -1);
        machines.ClientToHost();
        for (int m = 0; m < COMBATPHASES; m++)
            fired[m] |= triggermasks[m];
        ProcessDeaths();
        const uint64_t host = GameStateDigest();
        EXPECT_LT(U(0, d).hp, 10);
        machines.HostToClient();
        EXPECT_EQ(GameStateDigest(), host);
    }
    EXPECT_NE(fired[PHASE_OFFENSIVE], 0u);
    EXPECT_NE(fired[PHASE_AFTERATTACK], 0u);
    EXPECT_NE(fired[PHASE_AFTERDEFENCE], 0u);
}

} // namespace
