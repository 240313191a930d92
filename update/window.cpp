// The updater's window: its procedure, its commands, its picture and its buttons.
#include <cstdio>

#include "platform/dialog.h"
#include "platform/files.h"
#include "update/updater.h"
#include "update/version.h"
#include "winkit/button.h"
#include "winkit/smallwindow.h"

namespace {

constexpr int buttonx = 125;
constexpr int buttonwidth = 150;
constexpr int buttonheight = 35;
constexpr uint32_t textcolour = MakeColour(255, 255, 128);

struct ButtonSlot {
    const char* text;
    int y;
};
const ButtonSlot slots[BUTTONCOUNT] = {{"Quit", 250}, {"Update", 150}, {"Play Gorvanel", 200}};

} // namespace

int ButtonIndexToId(int index)
{
    return index + 137;
}

int ButtonIdToIndex(int id)
{
    return id - 137;
}

intptr_t UpdaterWndProc(uint32_t message, uintptr_t wparam, intptr_t lparam)
{
    switch (message) {
    case SYS_DESTROY:
        PostQuit(0);
        return 0;
    case SYS_COMMAND:
        OnUpdaterCommand((int)(wparam & 0xFFFF));
        return 0;
    case SYS_CLOSE:
        // Closed (or SIGTERM) during an update: the worker stops, puts back what it changed and
        // removes its work files; the window goes when it reports back.
        if (UpdateRunning()) {
            CancelUpdateAndClose();
            return 0;
        }
        break;
    case UPD_STATUS:
        ShowWorkerStatus();
        return 0;
    case UPD_MESSAGE:
        ShowWorkerMessage();
        return 0;
    case UPD_VERSION:
        ReadCurrentVersion();
        InvalidateSmallWindow();
        return 0;
    }
    return DefaultWindowProc(message, wparam, lparam);
}

bool OnUpdaterCommand(int id)
{
    switch (ButtonIdToIndex(id)) {
    case BUTTON_QUIT:
        DestroyMainWindow();
        break;
    case BUTTON_UPDATE:
        if (UpdateRunning())
            break;
        DestroyUpdaterButtons();
        StartUpdate();
        break;
    case BUTTON_PLAY:
        StartProgram("Gorvanel.exe");   // a failure to start closes the updater all the same
        DestroyMainWindow();
        break;
    case CMD_UPDATEDONE - 137:
        statustext.clear();
        CreateUpdaterButtons();
        InvalidateSmallWindow();
        FinishUpdate();     // last: a cancelled update closes the window here
        break;
    default:
        break;
    }
    return false;
}

bool PaintUpdaterWindow(GdiDC* dc)
{
    if (backbitmap.IsLoaded())
        CopyDCBits(dc, 0, 0, UPDATERWIDTH, UPDATERHEIGHT, backbitmap.GetMemDC(), 0, 0);
    SelectDCFont(dc, SmallWindowFont());
    SetDCBackMode(dc, BACK_TRANSPARENT);
    SetDCTextColour(dc, textcolour);
    // One line at the bottom left, clear of the buttons, inside the background's frame.
    const PixelRect client = {16, 0, UPDATERWIDTH - 16, UPDATERHEIGHT - 10};
    DrawDCText(dc, currentversiontext, client, TEXT_SINGLELINE | TEXT_BOTTOM | TEXT_NOCLIP);
    return false;
}

void PaintUpdaterFrame(GdiDC* dc)
{
    PaintUpdaterWindow(dc);
    if (statustext.empty())
        return;
    SetDCTextColour(dc, textcolour);
    const PixelRect client = {0, 0, UPDATERWIDTH, UPDATERHEIGHT};
    DrawDCText(dc, statustext, client, TEXT_SINGLELINE | TEXT_VCENTRE | TEXT_CENTRE);
}

bool CreateUpdaterButtons()
{
    DestroyUpdaterButtons();
    for (const int slot : {BUTTON_UPDATE, BUTTON_PLAY, BUTTON_QUIT})
        CreateKitButton(ButtonIndexToId(slot), slots[slot].text, buttonx, slots[slot].y, buttonwidth, buttonheight);
    return false;
}

bool DestroyUpdaterButtons()
{
    for (int slot = 0; slot < BUTTONCOUNT; slot++)
        DestroyKitButton(ButtonIndexToId(slot));
    InvalidateSmallWindow();
    return false;
}

bool InitUpdaterWindow()
{
    return CreateUpdaterButtons();
}

bool RequireFile(const char* name)
{
    FILE* const file = fopen(ResolvePath(name).c_str(), "r");
    if (file) {
        fclose(file);
        return false;
    }
    const std::string text = std::string("Error: Gorvanel Update could not locate the file ") + name
                             + ".\n\nGorvanel Update will now close.";
    ShowMessageBox("Error", text.c_str());
    return true;
}
