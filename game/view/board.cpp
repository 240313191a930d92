// The board renderer. Placeholder until the board is drawn.
#include "game/view/board.h"

uint8_t gridon = 0;

void RedrawUnitPictures()
{
}

void RebuildBoardImage()
{
}

void FreeUnitPictures()
{
}
