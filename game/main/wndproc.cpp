// The game's window procedure: focus changes, typed characters for the text field being edited, and
// socket events for the network layer.
#include "game/main/winmain.h"

#include "game/model/state.h"
#include "game/net/lobby.h"
#include "game/net/socketevents.h"
#include "game/shell/display.h"
#include "game/shell/images.h"
#include "game/shell/music.h"
#include "game/shell/shell.h"
#include "game/view/board.h"
#include "game/view/unitpicture.h"
#include "game/view/minimap.h"

// Typing limits of the text fields (before the character is added).
enum { NAMELIMIT = 50, ADDRESSLIMIT = 15 };

static void Deactivate()
{
    if (!appactive)
        return;
    FreeImages();
    FreeUnitPictures();
    appactive = 0;
    candraw = 0;
    StopAllSongs();
}

static void Reactivate()
{
    static const int depths[] = { 32, 24, 16, 8 };
    bool failed = true;
    for (const int bpp : depths) {
        if (!SetScreenMode(800, 600, bpp)) {
            failed = false;
            break;
        }
    }
    // Without a display mode the game cannot go on: the destroyed window ends the loop, which then
    // shuts down. The steps below still run so that shutdown finds everything in a known state.
    if (failed)
        DestroyMainWindow();
    RestoreSurfaces();
    LoadImages();
    appactive = 1;
    candraw = 1;
    RedrawUnitPictures();
    RebuildBoardImage();
    RebuildMinimap(YouToInt(), 1);
}

static bool IsPrintable(const signed char c)
{
    return c >= 0x20 && c <= 0x7E;
}

// Whether a typed character belongs to the current edit mode's set.
static bool AcceptsChar(const int32_t mode, const signed char c)
{
    switch (mode) {
    case EDIT_NAME:
    case EDIT_TEXT:
        return IsPrintable(c);
    case EDIT_DIGITS:
        return c >= '0' && c <= '9';
    case EDIT_ADDRESS:
        return (c >= '0' && c <= '9') || c == '.';
    default:
        return false;
    }
}

// The length at which a field swallows further characters; 0 for none.
static size_t EditLimit(const int32_t mode)
{
    switch (mode) {
    case EDIT_NAME:
        return NAMELIMIT;
    case EDIT_ADDRESS:
        return ADDRESSLIMIT;
    case EDIT_TEXT:
        return CHATLIMIT;
    default:
        return 0;
    }
}

intptr_t GameWndProc(const uint32_t message, const uintptr_t wparam, const intptr_t lparam)
{
    switch (message) {
    case SYS_ACTIVATEAPP:
        if (wparam == 0)
            Deactivate();
        else if (startupdone && !appactive)
            Reactivate();
        return 0;

    case SYS_ACTIVATE:
        if ((wparam & 0xFFFF) == 0) {
            Deactivate();
            return 0;
        }
        break;

    case SYS_KEYDOWN:
        if ((wparam == SYSKEY_DELETE || wparam == SYSKEY_BACK) && editmode != EDIT_NONE && editstring
            && !editstring->empty()) {
            editstring->pop_back();
            return 0;
        }
        break;

    case SYS_CHAR: {
        const signed char c = (signed char)(uint8_t)wparam;
        if (!AcceptsChar(editmode, c))
            break;
        const size_t limit = EditLimit(editmode);
        if (editstring && (limit == 0 || editstring->size() < limit))
            editstring->push_back((char)c);
        return 0;
    }

    case SYS_SOCKET:
        return HandleSocketEvent(wparam, lparam);

    case SYS_DESTROY:
        PostQuit(0);
        return 0;
    }
    return DefaultWindowProc(message, wparam, lparam);
}
