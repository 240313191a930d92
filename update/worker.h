// One update, run on the worker thread: connect, fetch the manifest, fetch every file, install them.
//
// The worker never draws: everything the user sees goes through UpdateUi, which the window implements by
// posting to its own thread (tests implement it by recording). Every failure is one InternetError,
// thrown where it happens and caught once in UpdateThreadProc, which always cleans up and ends with Done.
#pragma once
#include <atomic>
#include <chrono>
#include <cstdint>
#include <map>
#include <string>

#include "platform/files.h"
#include "platform/http.h"
#include "update/manifest.h"

// What the user is told, by failure.
constexpr const char* MSG_NOINTERNET =
    "Gorvanel Update couldn't initialize an Internet connection.\nMake sure your computer has Internet access, then try again.";
constexpr const char* MSG_DOWNLOAD = "An error occurred downloading the necessary files.\nPlease try again.";
constexpr const char* MSG_DISK = "Gorvanel Update couldn't download the file to disk.\nPlease try again.";
constexpr const char* MSG_BADLIST = "Gorvanel Update couldn't process the update list.  The server may be unreachable.";
constexpr const char* MSG_UPTODATE = "Your version of Gorvanel appears to be up to date.  No update will be perfomed.";
constexpr const char* MSG_INSTALL = "An error occurred installing the new files to the system.";
constexpr const char* MSG_COMPLETE = "Update complete!";
constexpr const char* MSG_TOOSLOW = "The update server was too slow, so the update was stopped.\nPlease try again later.";
constexpr const char* MSG_NOSERVER =
    "This build of Gorvanel has no update server configured.\nGet the newest version where you got this one.";

constexpr const char* MANIFEST_FILE = "ftplist.txt";        // the manifest as downloaded (with the run's tag)
constexpr const char* UPDATELOG_FILE = UPDATELOG_NAME;      // the last update's steps and why it failed
constexpr const char* MANIFEST_URL = "__download.txt";      // its name on the server
constexpr int64_t MAXUNSIZEDBYTES = 512LL * 1024 * 1024;    // a file without a size may not grow past this

struct InternetError {
    std::string detail;     // what failed, naming the URL or file; logged, not shown
    std::string message;    // what the user is shown
};

class UpdateUi {
public:
    virtual ~UpdateUi() = default;
    virtual void ShowStatus(const std::string& text) = 0;        // the one status line, replacing the last
    virtual void ShowMessage(const std::string& caption, const std::string& text, bool error) = 0;  // an OK box
    virtual void VersionChanged() = 0;                          // the files are in place: read the version again
    virtual void Done() = 0;                                    // the update is over
};

struct UpdateJob {
    std::string root;               // the game directory: work files and targets
    std::string baseurl;            // ends in '/'
    HttpSettings http;              // http.cancel, when set, ends the update as soon as it turns true
    uint32_t currentversion = 0;
    UpdateUi* ui = nullptr;
    HttpSession* internethandle = nullptr;
    int dir = -1;                   // the game directory's handle: every work file and target is reached through it
    // A whole update may take the base time plus a second for every this many bytes the list declares,
    // never more than the cap: a server trickling just above each file's floor cannot hold the game
    // directory (and its lock) for longer.
    int64_t deadlinebasems = 2 * 60 * 1000;
    int64_t deadlinebytes = 32 * 1024;
    int64_t deadlinecapms = 2 * 3600 * 1000;
    std::chrono::steady_clock::time_point started;  // when the run began
    std::chrono::steady_clock::time_point deadline = std::chrono::steady_clock::time_point::max();  // when it is given up on
    std::string runtag;             // makes this run's work names its own ("" until the run starts)
    std::map<std::string, FileId> written;  // each work file this run wrote, by work name
};

std::string WorkPath(const UpdateJob& job, const std::string& name);   // a file in the game directory
std::string WorkName(const UpdateJob& job, const std::string& name);   // the run's own name for a work file: name.tag
void ShowStep(UpdateJob& job, const std::string& text);               // the status line, also logged
void LogUpdate(const UpdateJob& job, const std::string& line);        // one line in the update log
void CheckCancelled(const UpdateJob& job);                             // throws once the update was cancelled
void SetUpdateDeadline(UpdateJob& job, const UpdateInfo& info);        // the whole update's, from the sizes the list declares
int64_t TimeLeftMs(const UpdateJob& job);                              // until the whole update's deadline
void CheckTimeLeft(const UpdateJob& job);                              // throws the too-slow error once it has passed

// The steps, in order; each throws InternetError.
void OpenInternet(UpdateJob& job);
void DownloadManifest(UpdateJob& job);
void ReadManifest(UpdateJob& job, UpdateInfo& info);
void DownloadPackages(UpdateJob& job, const UpdateInfo& info);
void CheckPackages(UpdateJob& job, const UpdateInfo& info);            // the new string module opens and is the new version
void InstallPackages(UpdateJob& job, const UpdateInfo& info);          // all or nothing: see install.cpp
void CloseInternet(UpdateJob& job);                                    // never throws; removes every work file

// Fetches url to the work file local (a work name), showing label and the percentage done while
// size > 0, and notes the file in job.written. The body must be exactly size bytes when size >= 0, at
// most limit bytes otherwise, and must arrive within the deadline its length allows at the low speed
// and within what is left of the whole update's.
void DownloadFile(UpdateJob& job, const std::string& url, const std::string& local, const std::string& label,
                  int32_t size, int64_t limit = MAXUNSIZEDBYTES);

// The whole update and its ending, holding the game directory's lock (common/gamedir.h) from start to
// end: the outcome shown (nothing when cancelled), the work files removed, the lock released, Done
// called once. Should another program hold the lock, it says which and touches nothing.
bool UpdateThreadProc(UpdateJob& job);     // true when the game was updated
