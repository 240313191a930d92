// The generated screen art: backgrounds, frame pieces, buttons, meters, bars, the logo, the world picture,
// the menu icons, the cursors and command icons, and the shop. One palette: blue-grey slate, gold trim
// and parchment.
#pragma once
#include <map>
#include <string>

#include "tools/art/image.h"

// The lettering font (set once before any of these run) and the atlas tiles the menu icons borrow.
void SetLetteringFont(int font);

// Every screen image by its file name ("back.bmp", ...).
std::map<std::string, Image> MakeScreenArt();
// The two picture sheets of screen art, with names for their cells: "icons.bmp" and "menu_icons.bmp".
struct Sheet;
void MakeIconSheets(Sheet& icons, Sheet& menuicons);
