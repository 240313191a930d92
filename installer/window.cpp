// The installer's window: its procedure, its commands, its screens and its picture.
#include "installer/failure.h"
#include "installer/installer.h"
#include "platform/dialog.h"
#include "winkit/button.h"
#include "winkit/editbox.h"
#include "winkit/smallwindow.h"

namespace {

struct Control {
    int id;             // ID_DIREDIT for the edit box
    const char* text;   // the button's label, or "" for the edit box (which shows defaultdir)
    int x, y, width, height;
};

// The controls of each screen, in client coordinates.
const Control screen0[] = {{ID_INSTALL, "Install", 125, 200, 150, 40}, {ID_QUIT, "Quit", 125, 300, 150, 40}};
const Control screen1[] = {{ID_PLAY, "Play", 125, 200, 150, 40},
                           {ID_UNINSTALL, "Uninstall", 125, 250, 150, 40},
                           {ID_QUIT, "Quit", 125, 300, 150, 40}};
const Control screen2[] = {{ID_DIREDIT, "", 25, 210, 350, 35},
                           {ID_INSTALLHERE, "Install", 250, 275, 100, 40},
                           {ID_CANCEL, "Cancel", 250, 325, 100, 40}};

struct ScreenControls {
    const Control* controls;
    int count;
};
const ScreenControls screens[] = {{screen0, 2}, {screen1, 3}, {screen2, 3}, {nullptr, 0}};

const int everyid[] = {ID_INSTALL, ID_PLAY, ID_QUIT, ID_UNINSTALL, ID_INSTALLHERE, ID_CANCEL};

constexpr uint32_t installingcolour = MakeColour(255, 255, 0);

} // namespace

void SetInstallerScreen(int32_t n)
{
    screen = n;
    BuildInstallerScreen(n);
}

void BuildInstallerScreen(int32_t n)
{
    for (const int id : everyid)
        DestroyKitButton(id);
    DestroyKitEdit(ID_DIREDIT);
    InvalidateSmallWindow();
    if (n < 0 || n >= (int32_t)(sizeof screens / sizeof screens[0]))
        return;
    for (int i = 0; i < screens[n].count; i++) {
        const Control& c = screens[n].controls[i];
        if (c.id == ID_DIREDIT)
            CreateKitEdit(c.id, {c.x, c.y, c.x + c.width, c.y + c.height}, defaultdir);
        else
            CreateKitButton(c.id, c.text, c.x, c.y, c.width, c.height);
    }
}

std::string GetInstallDirText()
{
    return KitEditText(ID_DIREDIT);
}

intptr_t InstallerWndProc(uint32_t message, uintptr_t wparam, intptr_t lparam)
{
    switch (message) {
    case SYS_DESTROY:
        PostQuit(0);
        return 0;
    case SYS_COMMAND:
        OnInstallerCommand((int)(wparam & 0xFFFF));
        return 0;
    }
    return DefaultWindowProc(message, wparam, lparam);
}

bool OnInstallerCommand(int id)
{
    switch (id) {
    case ID_INSTALL:
        SetInstallerScreen(SCREEN_CHOOSEDIR);
        break;
    case ID_INSTALLHERE:
        // A directory that cannot be installed into is refused here, with what was typed kept.
        if (const std::string refusal = InstallDirRefusal(GetInstallDirText()); !refusal.empty()) {
            AskMessageBox("Error", refusal.c_str(), BOXICON_ERROR, BOXBUTTONS_OK);
            break;
        }
        if (AskMessageBox("License Agreement", licensetext.c_str(), BOXICON_QUESTION, BOXBUTTONS_YESNO)
            != BOXANSWER_YES)
            break;
        installdir = GetInstallDirText();
        SetInstallerScreen(SCREEN_INSTALLING);
        // The walk holds the window's thread: its line is shown once, before it starts.
        PaintSmallWindow();
        InstallPackage();
        break;
    case ID_CANCEL:
        SetInstallerScreen(installed ? SCREEN_INSTALLED : SCREEN_NOTINSTALLED);
        break;
    case ID_UNINSTALL:
        if (AskMessageBox("Confirm uninstall", "Do you really want to uninstall this program?", BOXICON_QUESTION,
                          BOXBUTTONS_YESNO)
            == BOXANSWER_YES)
            UninstallPackage();
        break;
    case ID_PLAY:
        PlayInstalledProgram();
        DestroyMainWindow();
        break;
    case ID_QUIT:
        DestroyMainWindow();
        break;
    default:
        break;
    }
    return false;
}

void PaintInstallerWindow(GdiDC* dc)
{
    if (background.IsLoaded())
        CopyDCBits(dc, 0, 0, INSTALLERWIDTH, INSTALLERHEIGHT, background.GetMemDC(), 0, 0);
    if (screen != SCREEN_INSTALLING)
        return;
    SelectDCFont(dc, SmallWindowFont());
    SetDCBackMode(dc, BACK_TRANSPARENT);
    SetDCTextColour(dc, installingcolour);
    DrawDCText(dc, "Installing... Please Wait...", {0, 0, INSTALLERWIDTH, INSTALLERHEIGHT},
               TEXT_SINGLELINE | TEXT_VCENTRE | TEXT_CENTRE);
}
