// The worker's way to the window: what it shows is handed over under a lock and announced by a post;
// the window's thread draws it and shows the boxes. The worker never touches the window itself.
#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>

#include "platform/dialog.h"
#include "platform/files.h"
#include "update/updater.h"
#include "update/version.h"
#include "update/worker.h"
#include "winkit/smallwindow.h"

std::thread updatethread;
std::string statustext;

namespace {

struct PendingBox {
    std::string caption;
    std::string text;
    bool error;
};

std::mutex handover;
std::string pendingstatus;          // the latest line; lines the window had no time for are skipped
std::deque<PendingBox> pendingboxes;
std::condition_variable boxanswered;
int boxesanswered = 0;
bool noanswers = false;             // the window is gone: boxes are not waited for
bool running = false;
bool closing = false;               // the window closes once the cancelled worker is done
std::atomic<bool> cancelupdate{false};

class WindowUi : public UpdateUi {
public:
    void ShowStatus(const std::string& text) override
    {
        {
            const std::lock_guard<std::mutex> hold(handover);
            pendingstatus = text;
        }
        PostSysMessage(UPD_STATUS, 0, 0);
    }
    // Waits until the box is answered, as a modal box does: the worker goes on (and the status line
    // changes) only after the user has read it.
    void ShowMessage(const std::string& caption, const std::string& text, bool error) override
    {
        std::unique_lock<std::mutex> hold(handover);
        pendingboxes.push_back({caption, text, error});
        const int ticket = boxesanswered + (int)pendingboxes.size();
        hold.unlock();
        PostSysMessage(UPD_MESSAGE, 0, 0);
        hold.lock();
        boxanswered.wait(hold, [ticket] { return noanswers || boxesanswered >= ticket; });
    }
    void VersionChanged() override
    {
        PostSysMessage(UPD_VERSION, 0, 0);
    }
    void Done() override
    {
        PostSysMessage(SYS_COMMAND, CMD_UPDATEDONE, 0);
    }
};

WindowUi windowui;
UpdateJob updatejob;

} // namespace

bool StartUpdate()
{
    if (running)
        return true;
    running = true;
    cancelupdate = false;
    updatejob = UpdateJob();
    updatejob.root = GetCurrentDir();
    updatejob.baseurl = baseurl;
    updatejob.http.cancel = &cancelupdate;
    updatejob.currentversion = currentversion;
    updatejob.ui = &windowui;
    updatethread = std::thread([] { UpdateThreadProc(updatejob); });
    return false;
}

bool UpdateRunning()
{
    return running;
}

void CancelUpdateAndClose()
{
    cancelupdate = true;
    closing = true;
}

void ShowWorkerStatus()
{
    {
        const std::lock_guard<std::mutex> hold(handover);
        statustext = pendingstatus;
    }
    InvalidateSmallWindow();
}

void ShowWorkerMessage()
{
    PendingBox box;
    {
        const std::lock_guard<std::mutex> hold(handover);
        if (pendingboxes.empty())
            return;
        box = pendingboxes.front();
        pendingboxes.pop_front();
    }
    // The window as it stands behind the box.
    PaintSmallWindow();
    AskMessageBox(box.caption.c_str(), box.text.c_str(), box.error ? BOXICON_ERROR : BOXICON_INFORMATION,
                  BOXBUTTONS_OK);
    {
        const std::lock_guard<std::mutex> hold(handover);
        boxesanswered++;
    }
    boxanswered.notify_all();
}

void FinishUpdate()
{
    if (updatethread.joinable())
        updatethread.join();
    running = false;
    if (closing) {
        closing = false;
        DestroyMainWindow();
    }
}

void ShutdownUpdater()
{
    // Should the loop end while the worker waits for a box, it must not wait for ever.
    {
        const std::lock_guard<std::mutex> hold(handover);
        noanswers = true;
    }
    boxanswered.notify_all();
    cancelupdate = true;
    if (updatethread.joinable())
        updatethread.join();
    running = false;
    closing = false;
    const std::lock_guard<std::mutex> hold(handover);
    noanswers = false;
    pendingboxes.clear();
}
