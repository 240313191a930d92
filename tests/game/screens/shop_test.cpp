// The shop's ring of icons and its pointer: a click selects a type, a quick second press on the same
// icon buys it, on the virtual clock.
#include <gtest/gtest.h>

#include <cmath>

#include "game/model/catalogue.h"
#include "game/model/setup.h"
#include "game/model/state.h"
#include "game/screens/shop.h"
#include "game/shell/input.h"
#include "platform/clock.h"
#include "tests/game/screens/screentest.h"
#include "tests/game/support/world.h"

namespace {

class Shop : public ScreenTest {
protected:
    void SetUp() override
    {
        ScreenTest::SetUp();
        MakeWorld(2, 30, false);
        p[0].gold = 10000;
        LayOutShop();
        shoppicked = shoppressed = shopjustbought = shoparmed = 0;
        shoplastclick = -1;
        hoveritem = -1;
    }
    // One pass of the pointer with the mouse on icon i (or nowhere, -1), the left button as given.
    void Pointer(int32_t icon, bool down)
    {
        mousex = icon < 0 ? 790 : buyable[icon].iconx + 20;
        mousey = icon < 0 ? 590 : buyable[icon].icony + 20;
        mousestate = MouseState{};
        mousestate.buttons[0] = down ? 0x80 : 0;
        ShopPointer();
    }
    // A click on icon i: press, release.
    void ClickIcon(int32_t icon)
    {
        Pointer(icon, true);
        Pointer(icon, false);
    }
};

TEST_F(Shop, TheIconsStandOnARingAroundTheShopsCentre)
{
    buyable.resize(4);
    LayOutShop();
    const int32_t expected[4][2] = { { 415, 255 }, { 210, 460 }, { 5, 255 }, { 210, 50 } };
    for (int i = 0; i < 4; i++) {
        EXPECT_NEAR(buyable[i].iconx, expected[i][0], 1) << i;
        EXPECT_NEAR(buyable[i].icony, expected[i][1], 1) << i;
    }
    buyable.resize(1);
    LayOutShop();
    EXPECT_EQ(buyable[0].iconx, 415);
    EXPECT_EQ(buyable[0].icony, 255);
}

TEST_F(Shop, AClickSelectsAQuickSecondPressBuys)
{
    struct Case {
        uint32_t wait;
        bool buys;
    } cases[] = { { 0, true }, { 249, true }, { 250, false }, { 1000, false } };
    for (const Case& c : cases) {
        p[0].bought.clear();
        shoparmed = 0;
        ClickIcon(3);
        EXPECT_EQ(hoveritem, 3);
        EXPECT_EQ(shoppicked, 1);
        EXPECT_TRUE(p[0].bought.empty()) << "one click only selects";
        AdvanceClock(c.wait);
        Pointer(3, true);
        EXPECT_EQ(p[0].bought.size(), c.buys ? 1u : 0u) << c.wait << " ms";
        Pointer(3, false);
    }
}

TEST_F(Shop, APressOnAnotherIconNeverBuys)
{
    ClickIcon(3);
    Pointer(5, true);
    EXPECT_TRUE(p[0].bought.empty());
    EXPECT_EQ(hoveritem, 5);
}

TEST_F(Shop, TheReleaseAfterAPurchaseArmsNoFurtherOne)
{
    ClickIcon(2);
    Pointer(2, true);
    ASSERT_EQ(p[0].bought.size(), 1u);
    Pointer(2, false);
    Pointer(2, true);
    EXPECT_EQ(p[0].bought.size(), 1u) << "a third quick press only selects";
    Pointer(2, false);
    Pointer(2, true);
    EXPECT_EQ(p[0].bought.size(), 2u) << "the fourth completes a new double click";
}

TEST_F(Shop, WithNothingPickedTheHoveredIconIsShown)
{
    Pointer(4, false);
    EXPECT_EQ(hoveritem, 4);
    Pointer(-1, false);
    EXPECT_EQ(hoveritem, -1);
    ClickIcon(1);
    Pointer(-1, false);
    EXPECT_EQ(hoveritem, 1) << "a picked type stays shown";
}

} // namespace
