// The board renderer. Placeholder until the board is drawn.
#include "game/view/board.h"

void RedrawUnitPictures()
{
}

void RebuildBoardImage()
{
}

void FreeUnitPictures()
{
}
