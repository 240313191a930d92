// One update, run on the worker thread: connect, fetch the manifest, fetch every file, install them.
//
// The worker never draws: everything the user sees goes through UpdateUi, which the window implements by
// posting to its own thread (tests implement it by recording). Every failure is one InternetError,
// thrown where it happens and caught once in UpdateThreadProc, which always cleans up and ends with Done.
#pragma once
#include <cstdint>
#include <string>

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

constexpr const char* MANIFEST_FILE = "ftplist.txt";        // the manifest as downloaded
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
    HttpSettings http;
    uint32_t currentversion = 0;
    UpdateUi* ui = nullptr;
    HttpSession* internethandle = nullptr;
};

std::string WorkPath(const UpdateJob& job, const std::string& name);   // a file in the game directory

// The steps, in order; each throws InternetError.
void OpenInternet(UpdateJob& job);
void DownloadManifest(UpdateJob& job);
void ReadManifest(UpdateJob& job, UpdateInfo& info);
void DownloadPackages(UpdateJob& job, const UpdateInfo& info);
void InstallPackages(UpdateJob& job, const UpdateInfo& info);          // all or nothing: see install.cpp
void CloseInternet(UpdateJob& job);                                    // never throws; removes every work file

// Fetches url to the work file local, showing label and the percentage done while size > 0. The body
// must be exactly size bytes when size >= 0, at most limit bytes otherwise.
void DownloadFile(UpdateJob& job, const std::string& url, const std::string& local, const std::string& label,
                  int32_t size, int64_t limit = MAXUNSIZEDBYTES);

// The whole update and its ending: the outcome shown, the work files removed, Done called once.
bool UpdateThreadProc(UpdateJob& job);     // true when the game was updated
