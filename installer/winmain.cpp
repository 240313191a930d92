// The installer's start: the package and its texts, the window, the loop.
#include "installer/failure.h"
#include "installer/installer.h"
#include "installer/package.h"
#include "platform/dialog.h"
#include "platform/files.h"
#include "winkit/smallwindow.h"

Module* packagemodule = nullptr;
std::string programname;
std::string defaultdir;
std::string regkey;
std::string executename;
std::string subdirkey;
std::string licensetext;
Bitmap background;
uint8_t installed = 0;
int32_t screen = SCREEN_NOTINSTALLED;
std::string startdir;
std::string installdir;

namespace {

const char* const errorcaption = "Install Error";

} // namespace

bool LoadInstallPackage()
{
    packagemodule = OpenModule(PACKAGE_FILE);
    if (!packagemodule) {
        AskMessageBox(errorcaption,
                      "The installation program could not locate the install package.\nIf you downloaded a "
                      "compressed version of this program, please extract it before running.",
                      BOXICON_ERROR, BOXBUTTONS_OK);
        return true;
    }
    try {
        programname = PackageText(packagemodule, "PROGRAM");
        defaultdir = PackageText(packagemodule, "DEFDIR");
        regkey = PackageText(packagemodule, "REGKEY");
        executename = PackageText(packagemodule, "EXECUTE");
        subdirkey = PackageText(packagemodule, "TQSUBDIR");
        licensetext = PackageText(packagemodule, "LICENSE");
    } catch (const std::string& missing) {
        // A package without one of its texts cannot be installed: say which, and end.
        const std::string text = std::string(PACKAGE_INVALID) + "\n\nError: " + missing;
        AskMessageBox(errorcaption, text.c_str(), BOXICON_ERROR, BOXBUTTONS_OK);
        FreeInstallPackage();
        return true;
    }
    background.Load(packagemodule, "BACKGROUND");     // without it the window is drawn on black
    return false;
}

void FreeInstallPackage()
{
    background.Release();
    CloseModule(packagemodule);
    packagemodule = nullptr;
}

bool OpenInstallerWindow(const char* fontfile)
{
    // A window of its own on the desktop: a title bar with PROGRAM and a close box.
    if (OpenSmallWindow(programname.c_str(), INSTALLERWIDTH, INSTALLERHEIGHT, InstallerWndProc, PaintInstallerWindow,
                        true))
        return true;
    UseSmallWindowFontFile(fontfile, INSTALLERFONTHEIGHT);     // the game's own face, beside the package
    return false;
}

void StartInstaller()
{
    startdir = GetCurrentDir();
    BuildInstallerScreen(screen);
}

int InstallerMain(SysBackend backend)
{
    if (StartPlatform(backend))
        return 0;
    int code = 0;
    if (!LoadInstallPackage()) {
        installed = IsInstalled();
        screen = installed ? SCREEN_INSTALLED : SCREEN_NOTINSTALLED;
        if (!OpenInstallerWindow("Font.ttf")) {
            StartInstaller();
            code = RunSmallWindow();
            CloseSmallWindow();
        }
        FreeInstallPackage();
    }
    StopPlatform();
    return code;
}
