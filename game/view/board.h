// The board renderer.
#pragma once
#include <cstdint>

extern uint8_t gridon;                  // the "grid" option: dotted lines between the squares

void RedrawUnitPictures();  // renders every unit's picture again
void RebuildBoardImage();   // redraws the whole map into the board image
void FreeUnitPictures();    // frees every unit's picture
