// The image set. Placeholder until the images are drawn: there is nothing to load or free yet.
#include "game/shell/images.h"

Surface imgback;

bool LoadImages()
{
    return false;
}

void FreeImages()
{
}
