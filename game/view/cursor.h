// The mouse cursor sprites, drawn at the cursor and cut at the screen's right and bottom edges.
#pragma once
#include <cstdint>

bool DrawCursor(int32_t n);             // cursor n of the icon row (0 move, 1 attack, 2 spell); false
bool DrawCursorCell(int32_t n);         // cell n of the unit sheet as the cursor; false
// Puts back, on a copy of the frame last shown, what the cursor drawn into that frame covered: a
// snapshot of the screen holds no cursor of its own.
struct SysSurface;
void EraseCursorFrom(SysSurface* shown);
