#include "game/main/startup.h"

#include <exception>
#include <string>

#include "game/magic/binding.h"
#include "game/model/catalogue.h"
#include "game/model/localplayer.h"
#include "game/model/state.h"
#include "game/model/strings.h"
#include "game/model/version.h"
#include "game/net/link.h"
#include "game/screens/buttons.h"
#include "game/screens/callbacks.h"
#include "game/screens/help.h"
#include "game/screens/menu.h"
#include "game/screens/states.h"
#include "game/screens/summary.h"
#include "game/shell/commandscript.h"
#include "game/shell/debuglog.h"
#include "game/shell/display.h"
#include "game/shell/fonts.h"
#include "game/shell/gdiobjects.h"
#include "game/shell/images.h"
#include "game/shell/input.h"
#include "game/shell/loader.h"
#include "game/shell/music.h"
#include "game/shell/prefs.h"
#include "game/shell/shell.h"
#include "game/shell/sound.h"
#include "game/view/board.h"
#include "game/view/geometry.h"
#include "game/view/unitpicture.h"
#include "game/view/feed.h"
#include "platform/clock.h"
#include "platform/dialog.h"
#include "platform/files.h"
#include "platform/random.h"
#include "platform/window.h"

std::vector<int32_t> startuptrace;

namespace {

const char* const caption = "Gorvanel";

// The logo's place on the splash.
enum { LOGOX = 200, LOGOY = 100 };

// The two steps around which start-up does something of its own.
enum { STEP_SOUND = 11, STEP_FONTS = 15 };

void UnloadCatalogue()
{
    UnloadStringModule();
    ResetCatalogue();
}

// The preferences kept above the shell: the view's switches and the local player's name.
void PlacePreferences()
{
    prefplaces = { &minimapon, &gridon, &playername };
}

struct StartupStep {
    bool (*start)();                    // true on failure
    void (*undo)();                     // releases what start made, even half of it; null for nothing
    const char* failure;                // what the player is told
};

const StartupStep steps[STARTUPSTEPS] = {
    { CheckGameFiles, nullptr, "Gorvanel was unable to locate all necessary game files." },
    { ReadPreferences, nullptr, "Gorvanel was unable to read default game preferences." },
    { CheckNetwork, NetCleanup, "Gorvanel was unable to initialize the network protocol." },
    { CreateBuffers, DestroyBuffers, "Gorvanel was unable to allocate the necessary memory." },
    { LoadMusic, FreeMusic, "Gorvanel was unable to initialize the music hardware." },
    { CreateButtons, nullptr, "Gorvanel was unable to create the button objects." },
    { CreateGdiObjects, DeleteGdiObjects, "Gorvanel was unable to create the necessary GDI objects" },
    { LoadGameText, UnloadCatalogue, "Gorvanel was unable to initialize the Tessarine engine." },
    { LumethGo, UnloadHelpModule, "Gorvanel was unable to initialize the Lumeth engine." },
    { CreateSpells, nullptr, "Gorvanel was unable to cache spells and abilities." },
    { DSoundGO, DeleteSoundEntries, "Gorvanel was unable to intialize the sound hardware." },
    { DDrawGo, [] { DDrawStop(); }, "Gorvanel was unable to initialize the video hardware." },
    { DInputGo, ReleaseInput, "Gorvanel was unable to initialize the input hardware." },
    { BindMouse, nullptr, "Gorvanel was unable to configure the mouse drivers." },
    { LoadFonts, UnloadFonts, "Gorvanel was unable to load the proper game fonts." },
    { LoadImages, FreeImages, "Gorvanel was unable to load the image files." },
};

int32_t failingstep = 0;
bool failingthrows = false;

// The text that nothing else edits, for the edit field while none is being edited.
std::string noedit;

// Runs step n (1-based); true on failure.
bool RunStep(const int32_t n)
{
    startuptrace.push_back(n);
    if (n == failingstep) {
        if (failingthrows)
            throw std::exception();
        return true;
    }
    return steps[n - 1].start();
}

// Releases what steps 1..last started, the last first. Between the steps the order mirrors start-up:
// the pointer comes back once the display is gone.
void UndoSteps(const int32_t last)
{
    for (int32_t n = last; n >= 1; n--) {
        if (n == STEP_SOUND && last > STEP_SOUND)
            ShowSystemCursor(true);
        if (steps[n - 1].undo) {
            startuptrace.push_back(-n);
            steps[n - 1].undo();
        }
    }
}

// The box, and its first line in the log that stays behind.
void ShowStartupError(const std::string& text)
{
    debuglog << "ERROR: " << text.substr(0, text.find('\n')) << std::endl;
    ShowMessageBox(caption, text.c_str());
}

// Frees the game's tables in the shutdown's order: the map, the players' units, the catalogue, the
// queues, the feed, then the players themselves.
void EmptyGameTables()
{
    map.clear();
    mapsize = 0;
    for (Player& player : p) {
        player.units.clear();
        player.bought.clear();
    }
    spells.clear();
    abilities.clear();
    buyable.clear();
    while (!upgradequeue.empty())
        upgradequeue.pop_front();
    deathlist.clear();
    messages.clear();
    p.clear();
}

// The loading song, once the loading bar shows: reading its soundfont never delays the first picture.
void StartLoadSong()
{
    PlaySong(SONG_LOAD);
}

} // namespace

uint32_t SplashMark(const uint32_t elapsed)
{
    for (const uint32_t mark : { SPLASHMARK1, SPLASHMARK2, SPLASHMARK3 })
        if (elapsed < mark)
            return mark;
    return 0;
}

void SplashWait(const uint32_t splashstart)
{
    const uint32_t mark = SplashMark(GetTicks() - splashstart);
    if (!mark)
        return;
    while (GetTicks() - splashstart < mark) {
        // The key that ends the splash is used by it: held on, it does not end the intro too.
        PollKeyboard();
        if (UseKeysDown())
            return;
        // The keyboard's read pumps the window's messages: a close (the window's, or SIGTERM) ends it.
        if (SysMessageQueued(SYS_CLOSE))
            return;
        // A turn of the wait gives the processor back: the marks are seconds apart.
        SleepMs(1);
    }
}

void FailStartupStep(const int32_t step, const bool throws)
{
    failingstep = step;
    failingthrows = throws;
}

bool StartGame()
{
    OpenDebugLog();
    startuptrace.clear();
    PlacePreferences();
    int32_t reached = 0;
    uint32_t splashstart = 0;
    try {
        for (int32_t n = 1; n <= STARTUPSTEPS; n++) {
            reached = n;
            if (RunStep(n)) {
                afterloadbar = nullptr;
                UndoSteps(n);
                ShowStartupError(std::string("Gorvanel encountered an error: ") + steps[n - 1].failure
                                 + "\nIf this problem persists, please reinstall Gorvanel.");
                return true;
            }
            if (n == STEP_SOUND) {
                ShowSystemCursor(false);
                SeedRandom(GetTicks());
            } else if (n == STEP_FONTS) {
                splashstart = GetTicks();
                afterloadbar = StartLoadSong;
            }
        }
    } catch (...) {
        afterloadbar = nullptr;
        UndoSteps(reached);
        ShowStartupError("An unknown fatal error had occured.  Please rerun Gorvanel.");
        return true;
    }

    afterloadbar = nullptr;
    gs = GAME_INTRO;
    startupdone = 1;
    editmode = EDIT_NONE;
    noedit.clear();
    editstring = &noedit;
    versiontext = GetVersionText();

    ClearBackBuffer();
    DrawSurface(LOGOX, LOGOY, imglogo);
    FlipScreen();
    debuglog << "Splash shown." << std::endl;
    SplashWait(splashstart);
    StopAllSongs();
    // A player who closed the window waits for nothing more: the main loop takes the close at once.
    if (!SysMessageQueued(SYS_CLOSE))
        SleepMs(SPLASHPAUSE);
    debuglog << "Start-up finished." << std::endl;
    return false;
}

void ShutdownGame()
{
    WritePreferences();
    daysummary.clear();
    NetCleanup();
    ReleaseInput();
    FreeUnitPictures();
    FreeMusic();
    ShowSystemCursor(true);
    UnloadFonts();
    EmptyGameTables();
    DeleteSoundEntries();
    DDrawStop();
    UnloadStringModule();
    UnloadHelpModule();
    CloseAllSockets();
    DestroyBuffers();
    debuglog << "Finished the unload process.\n";
    if (launchupdate) {
        debuglog << "Launching update.exe...\n";
        StartProgram("update.exe");
        debuglog << "Finished!\n";
    }
    DeleteDebugLog();
}
