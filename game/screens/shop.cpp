#include "game/screens/shop.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "game/model/catalogue.h"
#include "game/model/localplayer.h"
#include "game/model/state.h"
#include "game/model/setup.h"
#include "game/screens/buttons.h"
#include "game/screens/frontlook.h"
#include "game/screens/setupsteps.h"
#include "game/shell/display.h"
#include "game/shell/images.h"
#include "game/shell/music.h"
#include "game/view/drawing.h"
#include "game/view/header.h"
#include "game/view/names.h"
#include "game/view/pointer.h"
#include "game/view/strips.h"
#include "platform/clock.h"

uint8_t shoppicked = 0;
uint8_t shoppressed = 0;
uint8_t shopjustbought = 0;
uint8_t shoparmed = 0;
uint32_t shopclicktime = 0;
int32_t shoplastclick = -1;

namespace {

// The ring of icons: its radius and centre.
constexpr double ringradius = 205, ringx = 210, ringy = 255;

} // namespace

void LayOutShop()
{
    const size_t n = buyable.size();
    const double step = 2 * std::numbers::pi / (double)std::max<size_t>(n, 1);
    for (size_t i = 0; i < n; i++) {
        buyable[i].iconx = (int32_t)(std::cos((double)i * step) * ringradius + ringx);
        buyable[i].icony = (int32_t)(std::sin((double)i * step) * ringradius + ringy);
    }
}

bool PreShopFrame()
{
    LayOutShop();
    shoppicked = 0;
    shoppressed = 0;
    shoparmed = 0;
    shopjustbought = 0;
    shoplastclick = -1;
    PreShopStep();
    return false;
}

void ShopPointer()
{
    if (!shoppicked)
        hoveritem = -1;
    const uint32_t now = GetTicks();
    for (size_t i = 0; i < buyable.size(); i++) {
        const int32_t icon = (int32_t)i;
        if (!MouseOn({ buyable[i].iconx, buyable[i].icony, buyable[i].iconx + CELLSIZE, buyable[i].icony + CELLSIZE }))
            continue;
        if (!shoppicked)
            hoveritem = icon;
        if (!LeftButtonDown()) {
            // The release after a purchase does not arm a further one.
            if (shoppressed) {
                if (!shopjustbought && icon == shoplastclick) {
                    shoparmed = 1;
                    shopclicktime = now;
                }
                shopjustbought = 0;
            }
            shoppressed = 0;
            continue;
        }
        if (shoparmed && icon == shoplastclick && now - shopclicktime < SHOPDOUBLECLICKMS) {
            BuyUnit(icon);
            shoplastclick = -1;
            shopclicktime = now - 2 * SHOPDOUBLECLICKMS;
            shopjustbought = 1;
        }
        shoparmed = 0;
        shoppressed = 1;
        shoplastclick = icon;
        shoppicked = 1;
        hoveritem = icon;
    }
}

bool ShopFrame()
{
    PlaySong(SONG_IDLE);
    // The shop's panels show the current player's army; here that is the local player, whoever holds
    // the turn that every machine shares.
    const int32_t holder = currplayer;
    currplayer = YouToInt();
    ClearBackBuffer();
    DrawSurface(5, 30, imgshop);
    DrawScreenBorder();
    DrawBuyableIcons();
    ShopPointer();
    DrawShopBoughtUnits();
    DrawShopScreen();
    DrawPlayerGold();
    EndFrame();
    currplayer = holder;
    return false;
}
