// The shop's panel: the purchase, the end of shopping on the host and on a client, and the buy button
// shown only after a type was clicked.
#include <gtest/gtest.h>

#include "game/model/catalogue.h"
#include "game/model/state.h"
#include "game/screens/setupsteps.h"
#include "game/screens/shop.h"
#include "game/screens/states.h"
#include "game/model/strids.h"
#include "game/model/strings.h"
#include "tests/game/screens/playscreen.h"
#include "tests/game/support/world.h"

namespace {

class ShopPanel : public PlayScreenTest {
protected:
    void OpenShop(int32_t gold)
    {
        MakeGame(2, 12);
        Put(0, 2, 2, Warlord(0));
        Put(1, 9, 9, Warlord(0));
        p[0].gold = gold;
        gs = GAME_PRESHOP;
        Frames(1);
        ASSERT_EQ(gs, GAME_SHOP);
        Frames(1);
        Sent();
    }
    void ClickIcon(size_t k)
    {
        Click(buyable[k].iconx + 20, buyable[k].icony + 20);
        Frames(1);
    }
};

TEST_F(ShopPanel, BuyingWithExactlyThePriceLeavesNoGold)
{
    const int32_t price = GetResNumber((uint32_t)(STR_UNITCOST + Buyable(0)));
    OpenShop(price);
    ClickIcon(0);
    Click(690, 425);    // "Buy This Unit" at (590, 400)
    Frames(2);
    EXPECT_EQ(p[0].gold, 0);
    ASSERT_EQ(p[0].bought.size(), 1u);
    EXPECT_EQ(p[0].bought[0].type, Buyable(0));
    // Without the gold nothing happens.
    Click(690, 425);
    Frames(2);
    EXPECT_EQ(p[0].bought.size(), 1u);
}

TEST_F(ShopPanel, EachPurchaseAddsAnEntry)
{
    const int32_t price = GetResNumber((uint32_t)(STR_UNITCOST + Buyable(0)));
    OpenShop(3 * price);
    ClickIcon(0);
    for (int i = 0; i < 3; i++) {
        Click(690, 425);
        Frames(2);
    }
    EXPECT_EQ(p[0].bought.size(), 3u);
    EXPECT_EQ(p[0].gold, 0);
}

TEST_F(ShopPanel, TheBuyButtonShowsOnlyAfterAClick)
{
    OpenShop(1000);
    Click(690, 425);
    Frames(2);
    EXPECT_TRUE(p[0].bought.empty());
}

TEST_F(ShopPanel, DoneDeploysTheFirstArmyOrWaits)
{
    // The host, first in the table with units: on to deployment, nothing sent.
    OpenShop(1000);
    Click(690, 490);    // "Done" at (590, 465)
    Frames(2);
    EXPECT_EQ(gs, GAME_BEGINDEPLOY);
    EXPECT_TRUE(Sent().empty());
    // A client: tells the host and waits.
    OpenShop(1000);
    BecomeClient(1);
    Click(690, 490);
    Frames(2);
    EXPECT_EQ(gs, GAME_WAITPLAYERS);
    EXPECT_EQ(Sent(), std::vector<std::string>{Bytes({'&', ';'})});
    // A client first in the table (the host's army fell) waits all the same: he deploys when the
    // day's first turn names him, not before.
    OpenShop(1000);
    p[0].units.clear();
    p[0].firstshop = 0;
    BecomeClient(1);
    Click(690, 490);
    Frames(2);
    EXPECT_EQ(gs, GAME_WAITPLAYERS);
    EXPECT_EQ(Sent(), std::vector<std::string>{Bytes({'&', ';'})});
}

} // namespace
