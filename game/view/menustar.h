// The main menu's star: its outline, the lit arrow of the icon under the mouse, and the eight icon
// buttons on its points.
#pragma once
#include <cstdint>

#include "platform/gdi.h"

enum : int32_t { MENUICONS = 8, MENUICONWIDTH = 100, MENUICONHEIGHT = 50 };

typedef bool (*ButtonCallback)(int32_t, int32_t);

extern const GdiPoint menustar[8];      // the star's outline, in drawing order
extern const GdiPoint menucentre[8];    // the central octagon
extern const GdiPoint menuarrows[MENUICONS][3];  // one triangle per icon
extern const GdiPoint menuiconpos[MENUICONS];    // each icon's top-left corner
extern uint8_t menuhover[MENUICONS];    // 1 while the mouse is over the icon (its sound played on entry)

bool DrawArrowPolygon(int32_t icon);    // fills the octagon and the icon's arrow in navy; false
bool DrawPolygonFrame();                // outlines the star in yellow; false
// One icon button, drawn lit under the mouse. A press plays its sound and holds until the button is
// let go, then calls callback(a, b), wherever the cursor went. True when it was clicked.
bool DoSoundButton(int32_t icon, ButtonCallback callback, int32_t a, int32_t b);
