// The test back end: no window; frames are kept, input is injected by the test.
#include "platform/headless.h"

#include <signal.h>

#include <csignal>
#include <ctime>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/png.h"
#include "platform/window.h"

namespace {

enum InjectedKind {
    INJECT_FOCUSLOST, INJECT_FOCUSGAINED, INJECT_CLOSE, INJECT_CHAR, INJECT_KEYDOWN,
    INJECT_MOUSEMOVE, INJECT_BUTTONDOWN, INJECT_BUTTONUP,
};

struct Injected {
    InjectedKind kind;
    uint32_t value;     // a character, a key, or a PointParam
};

std::vector<Injected> pending;
std::string smallcaption;       // the last small window's
bool smallframed = false;
std::vector<uint32_t> lastframe;
int framewidth = 0;
int frameheight = 0;
int framecount = 0;
int repeatcount = 0;            // frames the same as the one before, not presented again
void (*presentwatch)(const uint32_t*, int, int) = nullptr;

// Asked to end (SIGTERM, SIGINT): the game program without a window hears it as a closed window, as
// the SDL back end does.
volatile std::sig_atomic_t endrequested = 0;
struct sigaction oldterm;
struct sigaction oldint;

void OnEndSignal(int)
{
    endrequested = 1;
}

bool HeadlessStart()
{
    pending.clear();
    lastframe.clear();
    framewidth = frameheight = framecount = repeatcount = 0;
    endrequested = 0;
    struct sigaction action = {};
    action.sa_handler = OnEndSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, &oldterm);
    sigaction(SIGINT, &action, &oldint);
    return false;
}

void HeadlessStop()
{
    pending.clear();
    sigaction(SIGTERM, &oldterm, nullptr);
    sigaction(SIGINT, &oldint, nullptr);
}

bool HeadlessOpenWindow(const char*)
{
    return false;
}

void HeadlessCloseWindow()
{
}

void HeadlessPresent(const uint32_t* pixels, int width, int height, int, int)
{
    lastframe.assign(pixels, pixels + (size_t)width * height);
    framewidth = width;
    frameheight = height;
    framecount++;
    if (presentwatch)
        presentwatch(pixels, width, height);
}

// A frame the same as the last counts as one, and the test sees it as such: a picture that stays put
// for eight frames lasts eight. Frames cost no time here, so every one is due and none waits.
void HeadlessRepeat()
{
    framecount++;
    repeatcount++;
    if (presentwatch && !lastframe.empty())
        presentwatch(lastframe.data(), framewidth, frameheight);
}

bool HeadlessFrameDue()
{
    return true;
}

void HeadlessPump()
{
    if (endrequested) {
        endrequested = 0;
        PostSysMessage(SYS_CLOSE, 0, 0);
    }
    const std::vector<Injected> events = std::move(pending);
    pending.clear();
    for (const Injected& e : events) {
        switch (e.kind) {
        case INJECT_FOCUSLOST: PostFocusChange(false); break;
        case INJECT_FOCUSGAINED: PostFocusChange(true); break;
        case INJECT_CLOSE: PostSysMessage(SYS_CLOSE, 0, 0); break;
        case INJECT_CHAR: PostSysMessage(SYS_CHAR, e.value, 0); break;
        case INJECT_KEYDOWN: PostSysMessage(SYS_KEYDOWN, e.value, 0); break;
        case INJECT_MOUSEMOVE: PostSysMessage(SYS_MOUSEMOVE, 0, (intptr_t)e.value); break;
        case INJECT_BUTTONDOWN: PostSysMessage(SYS_LBUTTONDOWN, 0, (intptr_t)e.value); break;
        case INJECT_BUTTONUP: PostSysMessage(SYS_LBUTTONUP, 0, (intptr_t)e.value); break;
        }
    }
}

void HeadlessWait(int)
{
    // Nothing arrives here but from the test's own thread; rest a moment so waiting never spins.
    const timespec rest = {0, 1000000};
    nanosleep(&rest, nullptr);
}

int HeadlessMessageBox(const char*, const char*, int, int)
{
    return -1;
}

bool HeadlessOpenSmall(const char* caption, int, int, bool framed)
{
    smallcaption = caption ? caption : "";
    smallframed = framed;
    return false;
}

void HeadlessWake()
{
}

} // namespace

const BackendOps headlessbackend = {
    HeadlessStart, HeadlessStop,     HeadlessOpenWindow, HeadlessCloseWindow, HeadlessPresent, HeadlessRepeat,
    HeadlessFrameDue, HeadlessPump, HeadlessWait,      HeadlessMessageBox,  HeadlessOpenSmall, HeadlessWake,
};

bool HeadlessSmallWindowFramed(std::string* caption)
{
    if (caption)
        *caption = smallcaption;
    return smallframed;
}

void InjectFocusLost()
{
    pending.push_back({INJECT_FOCUSLOST, 0});
}

void InjectFocusGained()
{
    pending.push_back({INJECT_FOCUSGAINED, 0});
}

void InjectCloseRequest()
{
    pending.push_back({INJECT_CLOSE, 0});
}

void InjectText(const char* cp1252)
{
    for (const char* c = cp1252; *c; c++)
        pending.push_back({INJECT_CHAR, (uint8_t)*c});
}

void InjectKeyDown(uint32_t key)
{
    pending.push_back({INJECT_KEYDOWN, key});
}

void WatchPresentedFrames(void (*watch)(const uint32_t* pixels, int width, int height))
{
    presentwatch = watch;
}

int PresentedFrameCount()
{
    return framecount;
}

int RepeatedFrameCount()
{
    return repeatcount;
}

const uint32_t* LastPresentedFrame(int* width, int* height)
{
    *width = framewidth;
    *height = frameheight;
    return lastframe.empty() ? nullptr : lastframe.data();
}

bool SaveLastFramePng(const char* path)
{
    if (lastframe.empty())
        return true;
    return WritePng(path, lastframe.data(), framewidth, frameheight);
}

void InjectMouseMove(int x, int y)
{
    pending.push_back({INJECT_MOUSEMOVE, (uint32_t)PointParam(x, y)});
}

void InjectClick(int x, int y)
{
    const uint32_t at = (uint32_t)PointParam(x, y);
    pending.push_back({INJECT_MOUSEMOVE, at});
    pending.push_back({INJECT_BUTTONDOWN, at});
    pending.push_back({INJECT_BUTTONUP, at});
}

void InjectMouseButton(int x, int y, bool down)
{
    pending.push_back({down ? INJECT_BUTTONDOWN : INJECT_BUTTONUP, (uint32_t)PointParam(x, y)});
}
