// The warlord selection: the list's rows, the powers' layout, the power text, a press that selects a
// type, and the button that chooses it on the host and from a client.
#include <gtest/gtest.h>

#include "game/model/catalogue.h"
#include "game/model/ids.h"
#include "game/model/setup.h"
#include "game/model/state.h"
#include "game/model/strids.h"
#include "game/model/strings.h"
#include "game/screens/states.h"
#include "game/screens/warlord.h"
#include "game/view/geometry.h"
#include "tests/game/screens/playscreen.h"
#include "tests/game/support/world.h"

namespace {

class Warlords : public PlayScreenTest {
protected:
    void OpenSelection(bool client)
    {
        MakeGame(2, 24);
        p[0].startx = 5;
        p[0].starty = 5;
        p[1].startx = 18;
        p[1].starty = 18;
        if (client)
            BecomeClient(1);
        gs = GAME_PREWARLORD;
        Frames(2);
        ASSERT_EQ(gs, GAME_SELECTWARLORD);
        Sent();
    }
};

TEST_F(Warlords, TheRowsShareTheListsHeight)
{
    EXPECT_EQ(WarlordRowHeight(0), 490);
    EXPECT_EQ(WarlordRowHeight(1), 490);
    EXPECT_EQ(WarlordRowHeight(7), 70);
    EXPECT_EQ(WarlordRowHeight(15), 32);
}

TEST_F(Warlords, TheAbilitiesStandCentredByTheirNumber)
{
    const struct {
        int32_t count, x, step;
    } cases[] = {{1, 340, 0}, {2, 300, 80}, {3, 260, 80}, {4, 280, 40}, {5, 260, 40}};
    for (const auto& c : cases) {
        const PowerRowLayout layout = AbilityRowLayout(c.count);
        EXPECT_EQ(layout.x, c.x) << c.count;
        EXPECT_EQ(layout.step, c.step) << c.count;
    }
}

TEST_F(Warlords, ThePowerTextIsTheAbilityNamedLikeTheType)
{
    for (const AbilityInfo& a : abilities) {
        std::string name = a.name;
        std::replace(name.begin(), name.end(), '_', ' ');
        EXPECT_EQ(WarlordPowerText(name), GetString((uint32_t)(STR_ABILITYHELP + a.number))) << name;
    }
    EXPECT_EQ(WarlordPowerText("Nobody In Particular"), "<no power>");
}

TEST_F(Warlords, APressOnANameSelectsItsType)
{
    OpenSelection(false);
    ASSERT_GE(warlordtypecount, 2);
    EXPECT_EQ(hoveritem, 0) << "the first type is selected when the screen opens";
    const int32_t row = WarlordRowHeight(warlordtypecount);
    Click(100, 50 + row + row / 2);
    Frames(1);
    EXPECT_EQ(hoveritem, 1);
}

TEST_F(Warlords, TheHostChoosesAndPlacesItsWarlordAtOnce)
{
    OpenSelection(false);
    const int32_t type = Warlord(0);
    Click(625, 500);    // "Select Warlord" at (525, 475)
    Frames(2);
    ASSERT_EQ(p[0].units.size(), 1u);
    EXPECT_EQ(p[0].units[0].type, type);
    EXPECT_EQ(p[0].units[0].x, 5);
    const int32_t id = p[0].units[0].id;
    // 'w': player+50, type+50, the new warlord's id bytes.
    EXPECT_EQ(Sent(), std::vector<std::string>{Bytes({'w', 50, type + 50, id / 256, id % 256, ';'})});
    EXPECT_EQ(gs, GAME_WAITSERVER);
    EXPECT_EQ(view.right - view.left, 20);
    EXPECT_EQ(view.bottom - view.top, 13) << "a view of the usual size round the camp";
    Frames(1);
    EXPECT_EQ(gs, GAME_PRESHOP);
}

TEST_F(Warlords, AClientSendsItsChoiceAndWaitsForTheHost)
{
    OpenSelection(true);
    const int32_t type = Warlord(0);
    Click(625, 500);
    Frames(2);
    EXPECT_TRUE(p[1].units.empty());
    const std::vector<std::string> sent = Sent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].substr(0, 3), Bytes({'w', 51, type + 50}));
    EXPECT_EQ(gs, GAME_WAITSERVER);
    Frames(2);
    EXPECT_EQ(gs, GAME_WAITSERVER) << "until the host's warlord arrives";
}

} // namespace
