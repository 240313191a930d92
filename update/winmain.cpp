// The updater's start: the checks before the window, the window, the loop.
#include <cstdlib>

#include "common/module.h"
#include "update/resources.h"
#include "update/settings.h"
#include "update/updater.h"
#include "update/version.h"
#include "winkit/smallwindow.h"

Module* hinstance = nullptr;
Bitmap backbitmap;
std::string baseurl;

bool LoadUpdaterBackground()
{
    backbitmap.Load(hinstance, "back");     // without it the window is drawn on black
    return false;
}

bool OpenUpdaterWindow(const char* fontfile)
{
    if (OpenSmallWindow("Gorvanel Update", UPDATERWIDTH, UPDATERHEIGHT, UpdaterWndProc, PaintUpdaterFrame))
        return true;
    UseSmallWindowFontFile(fontfile, UPDATERFONTHEIGHT);
    return false;
}

void FreeUpdaterResources()
{
    backbitmap.Release();
    CloseModule(hinstance);
    hinstance = nullptr;
}

int UpdaterMain(int argc, char** argv, SysBackend backend)
{
    hinstance = OpenModuleFromBytes(UpdaterResources());
    baseurl = ChooseBaseUrl(argc, argv, getenv(UPDATEURL_VARIABLE));
    int code = 0;
    if (!StartPlatform(backend)) {
        // An unreadable string module does not stop the updater: an update is what repairs it.
        if (!RequireFile(VERSIONMODULE) && (ReadCurrentVersion() || true) && !LoadUpdaterBackground()
            && !OpenUpdaterWindow("Font.ttf")) {
            if (!InitUpdaterWindow())
                code = RunSmallWindow();
            ShutdownUpdater();
            CloseSmallWindow();
        }
        StopPlatform();
    }
    FreeUpdaterResources();
    return code;
}
