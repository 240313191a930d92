// The installer program: its start, its 400 x 400 window with the four screens, the commands of their
// buttons, and Play. The install and the uninstall themselves are walks.h's; this part asks, shows
// their outcome and moves between the screens.
//
// Screens: 0 not installed (Install, Quit); 1 installed (Play, Uninstall, Quit); 2 choosing the
// directory (the edit box, Install, Cancel); 3 installing (a line of text, no control).
#pragma once
#include <cstdint>
#include <string>

#include "common/bitmap.h"
#include "common/module.h"
#include "platform/gdi.h"
#include "platform/window.h"

enum {
    INSTALLERWIDTH = 400,
    INSTALLERHEIGHT = 400,
    INSTALLERFONTHEIGHT = -17,      // the game's font for the buttons and texts
};

enum {
    SCREEN_NOTINSTALLED = 0,
    SCREEN_INSTALLED = 1,
    SCREEN_CHOOSEDIR = 2,
    SCREEN_INSTALLING = 3,
};

// The controls' ids.
enum {
    ID_INSTALL = 100,       // screen 0: on to screen 2
    ID_PLAY = 200,
    ID_QUIT = 300,
    ID_UNINSTALL = 400,
    ID_INSTALLHERE = 500,   // screen 2: the licence, then the install
    ID_CANCEL = 600,
    ID_DIREDIT = 700,       // the edit box (it has no command)
};

extern Module* packagemodule;       // "INSTALL.DLL"
extern std::string programname;     // "PROGRAM": the window's caption
extern std::string defaultdir;      // "DEFDIR": the directory first offered
extern std::string regkey;          // "REGKEY": the install record's key
extern std::string executename;     // "EXECUTE": the program Play starts, in the install directory
extern std::string subdirkey;       // "TQSUBDIR"
extern std::string licensetext;     // "LICENSE"
extern Bitmap background;           // "BACKGROUND"
extern uint8_t installed;           // the install record exists
extern int32_t screen;              // the screen shown, 0-3
extern std::string startdir;        // the working directory when the window opened
extern std::string installdir;      // the directory typed, as the edit box holds it (CP1252)

int InstallerMain(SysBackend backend);      // WinMain: the exit code
bool LoadInstallPackage();                  // the package and its texts; true (after saying so) on failure
void FreeInstallPackage();
bool OpenInstallerWindow(const char* fontfile);  // the bordered window with its caption, in that font when there; true on failure
void StartInstaller();
void SetInstallerScreen(int32_t n);
void BuildInstallerScreen(int32_t n);       // the controls of screen n, in place of the others'
intptr_t InstallerWndProc(uint32_t message, uintptr_t wparam, intptr_t lparam);
bool OnInstallerCommand(int id);            // always false
void PaintInstallerWindow(GdiDC* dc);       // the background, and screen 3's line
std::string GetInstallDirText();            // the edit box's text

bool IsInstalled();                         // the record names an install directory
std::string InstallDirRefusal(const std::string& typed);   // "" when the typed (CP1252) directory can be installed into, else why not
bool ReadInstalledPath(std::string* text);  // the recorded directory (UTF-8); true (after saying so) on failure
bool PlayInstalledProgram();                // starts the installed game from its directory; true
void InstallPackage();                      // installs into installdir; screen 1 after success, 0 after a failure
void UninstallPackage();                    // screen 0 after success; unchanged after a failure
