// The shop: the recruitable units on a ring, a click to look at one, a quick second press (or the
// panel's button) to buy it.
#pragma once
#include <cstdint>

enum : uint32_t { SHOPDOUBLECLICKMS = 250 };  // a second press within this of the first release buys

// The pointer over the ring of icons, between frames.
extern uint8_t shoppicked;              // a unit type was clicked and stays selected
extern uint8_t shoppressed;             // the left button was down over an icon in the last frame
extern uint8_t shopjustbought;          // the last press bought a unit
extern uint8_t shoparmed;               // a first click was completed: a second press may buy
extern uint32_t shopclicktime;          // when the first click was released
extern int32_t shoplastclick;           // icon of the last press; -1 none

bool PreShopFrame();        // GAME_PRESHOP: the ring laid out, the shop opened (or waiting, with no army)
bool ShopFrame();           // GAME_SHOP: one frame of the shop
void LayOutShop();          // every buyable type's icon on the ring
void ShopPointer();         // the clicks on the ring: select, and buy on a quick second press
void DrawShopScreen();      // the selected type's panel with "Buy This Unit" and "Done"
