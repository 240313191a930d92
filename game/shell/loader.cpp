// The loader's threads and progress bar.
#include "game/shell/loader.h"

#include <algorithm>
#include <condition_variable>

#include "game/shell/debuglog.h"
#include "game/shell/display.h"
#include "game/shell/images.h"
#include "platform/window.h"

int32_t loadcount;
int32_t loadtotal = LOADSTEPS;
std::mutex loaderlock;
void (*afterloadbar)() = nullptr;

namespace {

std::condition_variable workerdone;     // a worker counted its step
int32_t finished;                       // workers that have counted theirs (under loaderlock)
int32_t shown;                          // steps the loading thread has shown (its own)
bool barshown;                          // the bar's first frame is on the screen

// Shows every counted step not shown yet, in order. The loading does not wait for the screen: a step
// drawn between two frames is presented only when a frame is due (the first at once), and the next
// frame shows the bar as it is then.
void ShowProgress()
{
    int32_t count;
    {
        const std::lock_guard<std::mutex> hold(loaderlock);
        count = loadcount;
    }
    for (; shown < count; shown++) {
        DrawSurface(LOADBARX, LOADBARY, imgloadfade);
        BltFastKeyed(LOADBARX, LOADBARY, imgload.GetSurface(),
                     PixelRect{0, 0, shown * LOADBARWIDTH / std::max(loadtotal, 1), LOADBARHEIGHT});
        if (barshown && !FrameDue())
            continue;
        FlipScreen();
        if (!barshown) {
            barshown = true;
            debuglog << "Loading bar shown." << std::endl;
            if (afterloadbar)
                afterloadbar();
        }
    }
}

void CountWorkerStep()
{
    const std::lock_guard<std::mutex> hold(loaderlock);
    loadcount++;
    finished++;
    workerdone.notify_all();
}

} // namespace

uint32_t TintImageThread(Surface* const surface)
{
    surface->Tint(TINTCOLOUR);
    CountWorkerStep();
    return 0;
}

uint32_t GreyImageThread(Surface* const surface)
{
    surface->MakeGrey();
    CountWorkerStep();
    return 0;
}

void BeginLoadProgress()
{
    const std::lock_guard<std::mutex> hold(loaderlock);
    loadcount = 0;
    loadtotal = LOADSTEPS;
    finished = 0;
    shown = 0;
    barshown = false;
}

bool UpdateLoadProgress()
{
    {
        const std::lock_guard<std::mutex> hold(loaderlock);
        loadcount++;
    }
    ShowProgress();
    return false;
}

Workers::~Workers()
{
    JoinAll();
}

void Workers::Start(const WorkerJob& job)
{
    threads.emplace_back(job.kind == WORK_TINT ? TintImageThread : GreyImageThread, job.surface);
}

void Workers::JoinAll()
{
    if (threads.empty())
        return;
    for (;;) {
        ShowProgress();
        std::unique_lock<std::mutex> hold(loaderlock);
        if (finished == (int32_t)threads.size())
            break;
        workerdone.wait(hold, [] { return loadcount > shown; });
    }
    for (std::thread& t : threads)
        t.join();
    threads.clear();
    ShowProgress();
}
