// The board renderer.
#pragma once

void RedrawUnitPictures();  // renders every unit's picture again
void RebuildBoardImage();   // redraws the whole map into the board image
void FreeUnitPictures();    // frees every unit's picture
