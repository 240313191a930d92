// The image set. Placeholder until the images are drawn: the surfaces exist, empty, and nothing is
// loaded or freed yet.
#include "game/shell/images.h"

Surface imgterrain;
Surface imgterraintint;
Surface imgterraingrey;
Surface imgunits;
Surface imgunitstint;
Surface imgunitsgrey;
Surface imgboard;
Surface imgspellanim;
Surface imgspellicon;
Surface imgunithealth;
Surface imgback;
Surface imgmenuicons;
Surface imgicons;
Surface imgborder[BORDERPIECES];
Surface imgminimap;

bool LoadImages()
{
    return false;
}

void FreeImages()
{
}
