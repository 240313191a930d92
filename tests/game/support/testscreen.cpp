#include "tests/game/support/testscreen.h"

#include "game/shell/display.h"
#include "game/shell/fonts.h"
#include "platform/files.h"
#include "platform/window.h"

bool OpenTestScreen(const char* const gamedir, std::string* const olddir)
{
    *olddir = GetCurrentDir();
    return SetCurrentDir(gamedir) || StartPlatform(BACKEND_HEADLESS) || CreateDirectDraw() || CreatePrimarySurface()
           || LoadFonts();
}

void CloseTestScreen(const std::string& olddir)
{
    UnloadFonts();
    ReleaseDirectDraw();
    StopPlatform();
    SetCurrentDir(olddir.c_str());
}
