// Experience, the upgrade queue and the upgrade, on the host and on a client.
#include "game/model/digest.h"
#include "game/model/experience.h"
#include "game/model/ids.h"
#include "game/model/sight.h"
#include "game/model/stats.h"
#include "game/model/strids.h"
#include "game/model/upgrade.h"
#include "game/net/builders.h"
#include "game/net/kinds.h"
#include "game/net/routing.h"
#include "tests/game/model/rules_fixture.h"

namespace {

class ExperienceTest : public RulesTest {};

TEST_F(ExperienceTest, AdditionsOnHostAndClient)
{
    struct Case {
        int32_t start, amount;
        int32_t after;
        bool queued;    // on the host
    };
    // Soldier: threshold 100.
    const Case cases[] = {
        { 0, 25, 25, false },   { 90, 25, 15, true },  { 0, 250, 50, true }, { 60, 40, 0, true },
        { 99, 0, 99, false },   { 50, -80, 50, false }, { 0, -250, 0, false }, { 0, 99, 99, false },
    };
    for (const bool host : { true, false }) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << (host ? "host " : "client ") << c.start << " + " << c.amount);
            MakeWorld(2, 20);
            if (!host)
                BecomeClient(1);
            const int32_t u = AddTestUnit(0, 1, 1);
            U(0, u).experience = c.start;
            EXPECT_EQ(AddExperience(0, u, c.amount), host && c.queued);
            EXPECT_EQ(U(0, u).experience, c.after);
            EXPECT_EQ(upgradequeue.size(), host && c.queued ? 1u : 0u);
        }
    }
}

TEST_F(ExperienceTest, TheReceiverGetsItAndAMissingReceiverNothing)
{
    const int32_t a = AddTestUnit(0, 1, 1);
    const int32_t b = AddTestUnit(1, 2, 2);
    U(0, a).expreceiver = U(1, b).id;
    AddExperience(0, a, 30);
    EXPECT_EQ(U(0, a).experience, 0);
    EXPECT_EQ(U(1, b).experience, 30);
    U(0, a).expreceiver = 9999;
    EXPECT_FALSE(AddExperience(0, a, 30));
    EXPECT_EQ(U(1, b).experience, 30);
}

TEST_F(ExperienceTest, AThresholdOfZeroNeverUpgradesNorDivides)
{
    TestStrings s = StandardTestStrings();
    s[STR_UPGRADEEXP + 1] = "0";
    s[STR_UPGRADEEXP + 3] = "-5";
    Load(s);
    for (const int32_t type : { 1, 3 }) {
        const int32_t u = AddTestUnit(0, 1, 1, type);
        EXPECT_FALSE(AddExperience(0, u, 500));
        EXPECT_EQ(U(0, u).experience, 500);
    }
    EXPECT_TRUE(upgradequeue.empty());
}

TEST_F(ExperienceTest, UpgradeAddsStatsPowersAndHeals)
{
    map[1][1].explored = 1;
    const int32_t u = AddTestUnit(0, 1, 1);
    U(0, u).hp = 3;
    U(0, u).experience = 7;
    ASSERT_TRUE(UpgradeUnit(0, u));
    const int32_t expect[NUMSTATS] = { 5, 15, 4, 1, 3, 2, 0, 1 };
    for (int k = 0; k < NUMSTATS; k++)
        EXPECT_EQ(U(0, u).stat[k], expect[k]) << k;
    EXPECT_EQ(U(0, u).type, 10001);
    EXPECT_EQ(U(0, u).picture, 1 + 64);
    EXPECT_EQ(U(0, u).hp, 15);
    EXPECT_EQ(U(0, u).experience, 7);
    EXPECT_EQ(U(0, u).abilities[0], 2);     // Tough
    EXPECT_TRUE(Fed("Your Soldier has upgraded!"));
    EXPECT_EQ(HeardSounds(), std::vector<std::string>{ ".\\Sound\\GSUpgrade.wav" });
    EXPECT_EQ(UpgradeExperience(0, u), 100);    // all levels share the threshold

    ASSERT_TRUE(UpgradeUnit(0, u));
    EXPECT_EQ(U(0, u).type, 20001);
    EXPECT_TRUE(Fed("Your Veteran Soldier has upgraded!"));
    EXPECT_EQ(U(0, u).abilities[1], -1);    // Tough is not given twice
    const Unit top = U(0, u);
    EXPECT_FALSE(UpgradeUnit(0, u));        // no fourth level
    EXPECT_EQ(U(0, u).type, top.type);
    EXPECT_EQ(U(0, u).stat[STAT_LIFE], top.stat[STAT_LIFE]);
}

TEST_F(ExperienceTest, AWarlordKeepsTheRemainderAndNeverChanges)
{
    const int32_t w = AddTestUnit(0, 1, 1, 2);
    U(0, w).experience = 45;
    AddExperience(0, w, 10);
    EXPECT_EQ(U(0, w).experience, 5);
    ProcessUpgrades();
    EXPECT_EQ(U(0, w).type, 2);
    EXPECT_EQ(U(0, w).stat[STAT_LIFE], 20);
    EXPECT_FALSE(Fed("Your Warlord has upgraded!"));
}

TEST_F(ExperienceTest, EachCrossingQueuesALevelAndTellsTheClient)
{
    const int32_t u = AddTestUnit(0, 1, 1);
    const int32_t v = AddTestUnit(1, 3, 3);
    const int32_t w = AddTestUnit(1, 4, 4, 2);  // a warlord: refused, still announced
    HostAndClient machines(1);

    AddExperience(0, u, 100);
    AddExperience(0, u, 150);   // a second crossing before the pass
    AddExperience(0, u, 100);   // a third: past the last level, refused but announced
    AddExperience(1, v, 120);
    AddExperience(1, w, 60);
    EXPECT_EQ(upgradequeue.size(), 5u);
    ProcessUpgrades();
    EXPECT_TRUE(upgradequeue.empty());
    EXPECT_EQ(U(0, u).type, 20001);     // two levels, one after the other
    EXPECT_EQ(U(0, u).stat[STAT_LIFE], 10 + 5 + 1);
    EXPECT_EQ(U(1, v).type, 10001);
    EXPECT_EQ(U(1, w).type, 2);
    EXPECT_TRUE(Fed("Your Soldier has upgraded!"));
    EXPECT_TRUE(Fed("Your Veteran Soldier has upgraded!"));

    const std::vector<SentFrame> frames = machines.HostToClient();
    ASSERT_EQ(frames.size(), 5u);   // one for each queued entry, the refused ones too
    for (int i = 0; i < 3; i++)
        EXPECT_EQ(frames[i].Body(), BuildUpgradeUnit(U(0, u).id));
    EXPECT_EQ(frames[3].Body(), BuildUpgradeUnit(U(1, v).id));
    EXPECT_EQ(frames[4].Body(), BuildUpgradeUnit(U(1, w).id));
    EXPECT_EQ(U(0, u).type, 20001);
    EXPECT_EQ(U(0, u).stat[STAT_LIFE], 10 + 5 + 1);
    EXPECT_EQ(U(1, v).type, 10001);
    EXPECT_EQ(U(1, w).type, 2);
    EXPECT_TRUE(Fed("Your Soldier has upgraded!"));     // the client's own unit, on the client's feed
}

TEST_F(ExperienceTest, HostAndClientAgreeAfterTheSameAdditions)
{
    const int32_t u = AddTestUnit(0, 1, 1);
    const int32_t v = AddTestUnit(1, 3, 3);
    HostAndClient machines(1);
    for (const bool host : { true, false }) {
        if (host)
            machines.UseHost();
        else
            machines.UseClient();
        AddExperience(0, u, 90);
        AddExperience(1, v, 40);
        AddExperience(0, u, 30);
        AddExperience(1, v, 70);
    }
    machines.UseHost();
    ProcessUpgrades();
    const uint64_t hostdigest = GameStateDigest();
    machines.HostToClient();
    EXPECT_EQ(GameStateDigest(), hostdigest);
    EXPECT_EQ(U(0, u).experience, 20);
    EXPECT_EQ(U(1, v).experience, 10);
    EXPECT_EQ(U(1, v).type, 10001);
}

TEST_F(ExperienceTest, ProcessUpgradesDropsIdsOfGoneUnitsAndDoesNothingOnAClient)
{
    upgradequeue.push_back(4321);
    ProcessUpgrades();
    EXPECT_TRUE(upgradequeue.empty());
    EXPECT_TRUE(SendQueueEmpty());
    BecomeClient(1);
    const int32_t u = AddTestUnit(0, 1, 1);
    upgradequeue.push_back(U(0, u).id);
    ProcessUpgrades();
    EXPECT_EQ(U(0, u).type, 1);
    EXPECT_TRUE(SendQueueEmpty());
}

TEST_F(ExperienceTest, HostTakesExperienceFromTheOwnerOnly)
{
    const int32_t mine = AddTestUnit(1, 3, 3);
    const int32_t other = AddTestUnit(0, 1, 1);
    const int32_t myid = U(1, mine).id, otherid = U(0, other).id;
    HostAndClient machines(1);
    machines.UseHost();
    expdivisor = 1;
    ExploreFrom(1, 3, 3, 90, mine);     // a look the host saw, that could earn 120
    ASSERT_GE(unreportedlooks[myid].front(), 120);
    machines.UseClient();
    SendToPlayer(BuildAddExperience(myid, 120), -1);
    SendToPlayer(BuildAddExperience(otherid, 20), -1);      // not his unit
    SendToPlayer(std::string{ MSG_ADDEXPERIENCE, static_cast<char>(myid / 256), static_cast<char>(myid % 256),
                              static_cast<char>(50 + 150), ';' },
                 -1);   // more than a message carries
    SendToPlayer(std::string{ MSG_ADDEXPERIENCE, static_cast<char>(myid / 256), static_cast<char>(myid % 256),
                              static_cast<char>(30), ';' },
                 -1);   // a negative amount read as signed
    machines.ClientToHost();
    EXPECT_EQ(U(1, mine).experience, 20);   // 120 read unsigned, the rest refused
    EXPECT_EQ(U(0, other).experience, 0);
    EXPECT_EQ(upgradequeue.size(), 1u);
    EXPECT_TRUE(Logged("ERROR"));
}

} // namespace
