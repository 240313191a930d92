// Player names, masked and unmasked.
#include <gtest/gtest.h>

#include "game/model/state.h"
#include "game/view/names.h"

namespace {

class NamesTest : public testing::Test {
protected:
    void SetUp() override
    {
        ResetGameState();
        shownames = 1;
        AddPlayer();
        SetPlayerName(p[0], "Aldra");
        AddPlayer();
        SetPlayerName(p[1], "Borin");
    }
    void TearDown() override
    {
        shownames = 1;
        ResetGameState();
    }
};

TEST_F(NamesTest, NamesMaskedAndShown)
{
    AddNeutralRecord();
    struct Case {
        uint8_t show;
        int32_t player;
        const char* name;
        const char* possessive;
    };
    const Case cases[] = {
        { 1, 0, "Aldra", "Aldra's" },
        { 0, 1, "Player Two", "Player Two's" },
        { 0, 2, "Unaligned", "Unaligned" },   // the neutral side is never masked
        { 1, 2, "Unaligned", "Unaligned" },
        { 1, -1, "!BADPLAYER", "!BADPLAYER's" },
        { 0, 3, "!BADPLAYER", "!BADPLAYER's" },
    };
    for (const Case& c : cases) {
        shownames = c.show;
        EXPECT_EQ(PlayerName(c.player), c.name) << int(c.show) << " " << c.player;
        EXPECT_EQ(PlayerPossessive(c.player), c.possessive) << int(c.show) << " " << c.player;
    }
}

TEST_F(NamesTest, NumberWordIsHeldToOneThroughFive)
{
    shownames = 0;
    p[0].code = 0xE0;
    p[1].code = 0xF9;
    EXPECT_EQ(PlayerName(0), "Player One");
    EXPECT_EQ(PlayerName(1), "Player Five");
}

TEST_F(NamesTest, TheLastHumanIsNotTakenForTheNeutralSide)
{
    // Before the neutral record exists, the last record is a human with his own possessive.
    EXPECT_EQ(PlayerPossessive(1), "Borin's");
}

TEST_F(NamesTest, AFullTenCharacterNameIsWhole)
{
    SetPlayerName(p[0], "Tenletters");
    EXPECT_EQ(PlayerName(0), "Tenletters");
}

} // namespace
