// The worker's way to the window: what it shows is handed over under a lock and announced by a post;
// the window's thread draws it and shows the boxes. The worker never touches the window itself.
#include <atomic>
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
std::atomic<bool> filesupdated{false};
bool running = false;

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
    void ShowMessage(const std::string& caption, const std::string& text, bool error) override
    {
        {
            const std::lock_guard<std::mutex> hold(handover);
            pendingboxes.push_back({caption, text, error});
        }
        PostSysMessage(UPD_MESSAGE, 0, 0);
    }
    void Done(bool updated) override
    {
        filesupdated = updated;
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
    filesupdated = false;
    updatejob = UpdateJob();
    updatejob.root = GetCurrentDir();
    updatejob.baseurl = baseurl;
    updatejob.currentversion = currentversion;
    updatejob.ui = &windowui;
    updatethread = std::thread([] { UpdateThreadProc(updatejob); });
    return false;
}

bool UpdateRunning()
{
    return running;
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
}

bool FinishUpdate()
{
    if (updatethread.joinable())
        updatethread.join();
    running = false;
    return filesupdated;
}

void ShutdownUpdater()
{
    if (updatethread.joinable())
        updatethread.join();
    running = false;
}
