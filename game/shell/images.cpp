// The image set. Placeholder until the images are drawn: there is nothing to load or free yet, but
// the display is opened and closed so that frames can be shown.
#include "game/shell/images.h"

#include "game/shell/debuglog.h"
#include "game/shell/display.h"

Surface imgback;
Surface imglogo;

bool DDrawGo()
{
    debuglog << "DDrawGo\n";
    if (CreateDirectDraw())
        return true;
    bool failed = true;
    for (const int bpp : { 32, 24, 16, 8 })
        if (failed)
            failed = SetScreenMode(SCREENWIDTH, SCREENHEIGHT, bpp);
    if (failed)
        return true;
    CreatePrimarySurface();
    ClearBackBuffer();
    return false;
}

bool LoadImages()
{
    return false;
}

void FreeImages()
{
}

bool DDrawStop()
{
    FreeImages();
    ReleaseDirectDraw();
    return false;
}
