// The game's window and its message queue, over whichever back end was started.
#include "platform/window.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/audio.h"
#include "platform/backend.h"
#include "platform/socket.h"

namespace {

// How long one turn of WaitSysMessage waits on the back end and then on the sockets.
constexpr int waitslicems = 5;

// How long WaitWindowMessage sleeps at most before looking again; posts wake it sooner.
constexpr int windowwaitms = 500;

const BackendOps* backend = nullptr;
SysBackend backendkind = BACKEND_HEADLESS;
std::thread::id windowthread;   // the thread that started the platform and waits on the queue

// Worker threads post too (the small windows' downloads), so the queue has its own lock.
std::mutex queuelock;
std::deque<SysMsg> queue;

WindowProc windowproc = nullptr;
bool windowexists = false;
bool destroying = false;
bool hasfocus = true;

// The frame the window shows: one that would show the same again is not presented (the present is
// most of an idle frame's cost), and of one that changed only the rows that changed are passed on as
// new. The window asking to be painted (SYS_PAINT) gets the whole of the next one anyway.
std::vector<uint32_t> shownframe;
int shownwidth = 0;
std::atomic<bool> repaint{true};

// Forgets the frame shown: the next is presented whole whatever it holds.
void ForgetShownFrame()
{
    shownframe.clear();
    shownwidth = 0;
    repaint = true;
}

// The band of rows in which the frame differs from the one shown, which it then becomes; false when
// it is the same. Only rows from..to-1 are compared: the caller knows the others are the same.
bool ChangedRows(const uint32_t* pixels, int width, int height, int from, int to, int* top, int* bottom)
{
    const size_t count = (size_t)width * height;
    const size_t row = (size_t)width * sizeof(uint32_t);
    if (repaint.exchange(false) || width != shownwidth || shownframe.size() != count) {
        shownframe.assign(pixels, pixels + count);
        shownwidth = width;
        *top = 0;
        *bottom = height - 1;
        return true;
    }
    const uint32_t* const shown = shownframe.data();
    from = std::clamp(from, 0, height);
    to = std::clamp(to, from, height);
    int first = from;
    while (first < to && memcmp(shown + (size_t)first * width, pixels + (size_t)first * width, row) == 0)
        first++;
    if (first == to)
        return false;
    int last = to - 1;
    while (last > first && memcmp(shown + (size_t)last * width, pixels + (size_t)last * width, row) == 0)
        last--;
    memcpy(shownframe.data() + (size_t)first * width, pixels + (size_t)first * width,
           (size_t)(last - first + 1) * row);
    *top = first;
    *bottom = last;
    return true;
}

bool QueueEmpty()
{
    const std::lock_guard<std::mutex> hold(queuelock);
    return queue.empty();
}

} // namespace

bool StartPlatform(SysBackend kind)
{
    if (backend)
        StopPlatform();
    const BackendOps* const ops = kind == BACKEND_SDL ? &sdlbackend : &headlessbackend;
    backendkind = kind;
    if (ops->start())
        return true;
    backend = ops;
    windowthread = std::this_thread::get_id();
    ForgetShownFrame();
    return false;
}

void StopPlatform()
{
    if (!backend)
        return;
    if (windowexists)
        backend->closewindow();
    windowexists = false;
    destroying = false;
    windowproc = nullptr;
    backend->stop();
    backend = nullptr;
    const std::lock_guard<std::mutex> hold(queuelock);
    queue.clear();
}

SysBackend PlatformBackend()
{
    return backendkind;
}

bool PlatformRunning()
{
    return backend != nullptr;
}

bool CreateMainWindow(const char* caption, WindowProc proc)
{
    if (!backend || windowexists)
        return true;
    if (backend->openwindow(caption))
        return true;
    ForgetShownFrame();
    windowproc = proc ? proc : DefaultWindowProc;
    windowexists = true;
    hasfocus = true;
    return false;
}

bool CreateSmallWindow(const char* caption, int width, int height, WindowProc proc, bool framed)
{
    if (!backend || windowexists || width <= 0 || height <= 0)
        return true;
    if (backend->opensmall(caption, width, height, framed))
        return true;
    ForgetShownFrame();
    windowproc = proc ? proc : DefaultWindowProc;
    windowexists = true;
    hasfocus = true;
    return false;
}

void DestroyMainWindow()
{
    // The procedure may destroy the window again while handling SYS_DESTROY; once is enough.
    if (!windowexists || destroying)
        return;
    destroying = true;
    windowproc(SYS_DESTROY, 0, 0);
    backend->closewindow();
    windowexists = false;
    windowproc = nullptr;
    destroying = false;
}

bool MainWindowExists()
{
    return windowexists;
}

bool PresentFrame(const uint32_t* pixels, int width, int height, int* top, int* bottom)
{
    return PresentFrameRows(pixels, width, height, 0, height, top, bottom);
}

bool PresentFrameRows(const uint32_t* pixels, int width, int height, int from, int to, int* top, int* bottom)
{
    if (!backend || !pixels || width <= 0 || height <= 0)
        return false;
    int first = 0;
    int last = 0;
    if (!ChangedRows(pixels, width, height, from, to, &first, &last)) {
        backend->repeat();
        return false;
    }
    backend->present(pixels, width, height, first, last);
    if (top)
        *top = first;
    if (bottom)
        *bottom = last;
    return true;
}

bool FrameDue()
{
    return !backend || backend->framedue();
}

void PumpSysEvents()
{
    if (backend)
        backend->pump();
    PumpSockets(0);
}

size_t QueuedSysMessages()
{
    const std::lock_guard<std::mutex> hold(queuelock);
    return queue.size();
}

bool SysMessageQueued(uint32_t message)
{
    const std::lock_guard<std::mutex> hold(queuelock);
    return std::any_of(queue.begin(), queue.end(), [message](const SysMsg& m) { return m.message == message; });
}

bool PeekSysMessage(SysMsg* msg)
{
    PumpSysEvents();
    const std::lock_guard<std::mutex> hold(queuelock);
    if (queue.empty())
        return false;
    *msg = queue.front();
    queue.pop_front();
    return true;
}

void WaitSysMessage()
{
    WaitSysMessageFor(-1);
}

void WaitSysMessageFor(int timeoutms)
{
    // A real wait, whatever clock the game reads.
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutms);
    for (;;) {
        PumpSysEvents();
        if (!QueueEmpty())
            return;
        if (timeoutms >= 0 && std::chrono::steady_clock::now() >= end)
            return;
        // Neither wait may spin: the back end sleeps on its events, the sockets in poll().
        if (backend)
            backend->wait(waitslicems);
        PumpSockets(waitslicems);
    }
}

void WaitWindowMessage()
{
    for (;;) {
        if (backend)
            backend->pump();
        if (!QueueEmpty())
            return;
        if (backend)
            backend->wait(windowwaitms);
    }
}

void PostSysMessage(uint32_t message, uintptr_t wparam, intptr_t lparam)
{
    if (message == SYS_PAINT)
        repaint = true;
    {
        const std::lock_guard<std::mutex> hold(queuelock);
        queue.push_back(SysMsg{message, wparam, lparam});
    }
    // A worker's message must not wait for the window thread's next look.
    if (backend && std::this_thread::get_id() != windowthread)
        backend->wake();
}

void PostQuit(int code)
{
    PostSysMessage(SYS_QUIT, (uintptr_t)(intptr_t)code, 0);
}

intptr_t DispatchSysMessage(const SysMsg* msg)
{
    // SYS_QUIT belongs to the loop; messages outliving the window have nobody to go to.
    if (msg->message == SYS_QUIT || !windowexists)
        return 0;
    return windowproc(msg->message, msg->wparam, msg->lparam);
}

intptr_t DefaultWindowProc(uint32_t message, uintptr_t, intptr_t)
{
    if (message == SYS_CLOSE)
        DestroyMainWindow();
    return 0;
}

void DiscardSysMessages(uint32_t message, uintptr_t wparam)
{
    const std::lock_guard<std::mutex> hold(queuelock);
    std::erase_if(queue, [&](const SysMsg& m) { return m.message == message && m.wparam == wparam; });
}

void PostFocusChange(bool gained)
{
    // Back ends may report one switch twice (focus lost and minimised); the game hears it once.
    if (gained == hasfocus)
        return;
    hasfocus = gained;
    // A program in the background is not heard, as the system's mixers had it; songs are the game's to stop.
    MuteSounds(!gained);
    if (!gained)
        PostSysMessage(SYS_ACTIVATE, 0, 0);
    PostSysMessage(SYS_ACTIVATEAPP, gained ? 1 : 0, 0);
}
