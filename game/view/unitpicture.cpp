// Unit pictures. Placeholder until the board view renders them.
#include "game/view/unitpicture.h"

void RenderUnitPicture(int32_t, int32_t)
{
}

void FreeUnitPicture(void*)
{
}
