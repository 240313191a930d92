// The update worker: its steps in order, the one place their failures are caught, and the clean-up.
#include "update/worker.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <regex>

#include "common/gamedir.h"
#include "platform/dirhandle.h"
#include "update/settings.h"

namespace fs = std::filesystem;

namespace {

// A tag no other run is likely to have: the work names of two runs never meet.
std::string MakeRunTag()
{
    std::random_device random;
    char tag[24];
    snprintf(tag, sizeof tag, "%08x%08x", (unsigned)random(), (unsigned)random());
    return tag;
}

// Starts the log of this run afresh: the log holds the last update, so it never grows.
void StartUpdateLog(const UpdateJob& job)
{
    AppendToFile(WorkPath(job, UPDATELOG_FILE), "", true);
    LogUpdate(job, "Gorvanel Update from " + job.baseurl + " into " + job.root);
}

// Every failure and cancellation ends here: logged, and shown unless the user asked to stop.
void ShowFailure(UpdateJob& job, const std::string& detail, const std::string& message)
{
    fprintf(stderr, "ERROR: %s\n", detail.c_str());
    LogUpdate(job, "ERROR: " + detail);
    if (job.http.cancel && job.http.cancel->load()) {
        LogUpdate(job, "The update was cancelled; nothing was changed.");
        return;
    }
    job.ui->ShowMessage("Error", message, true);
}

} // namespace

std::string WorkPath(const UpdateJob& job, const std::string& name)
{
    return job.root + "/" + name;
}

std::string WorkName(const UpdateJob& job, const std::string& name)
{
    return name + "." + job.runtag;
}

void LogUpdate(const UpdateJob& job, const std::string& line)
{
    const std::time_t now = std::time(nullptr);
    char stamp[32] = "";
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S ", std::gmtime(&now));
    AppendToFile(WorkPath(job, UPDATELOG_FILE), stamp + line + "\n", false);
}

void ShowStep(UpdateJob& job, const std::string& text)
{
    LogUpdate(job, text);
    job.ui->ShowStatus(text);
}

void CheckCancelled(const UpdateJob& job)
{
    if (job.http.cancel && job.http.cancel->load())
        throw InternetError{"The update was cancelled.", MSG_DOWNLOAD};
}

void SetUpdateDeadline(UpdateJob& job, const UpdateInfo& info)
{
    // A file whose size is not given may be as large as the cap allows.
    int64_t bytes = 0;
    bool unsized = false;
    for (int i = 0; i < info.count; i++) {
        if (info.sizes[i] < 0)
            unsized = true;
        else
            bytes += info.sizes[i];
    }
    const int64_t rate = job.deadlinebytes > 0 ? job.deadlinebytes : 1;
    const int64_t allowed = unsized ? job.deadlinecapms
                                    : std::min(job.deadlinecapms, job.deadlinebasems + bytes * 1000 / rate);
    job.deadline = job.started + std::chrono::milliseconds(allowed);
}

int64_t TimeLeftMs(const UpdateJob& job)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(job.deadline - std::chrono::steady_clock::now())
        .count();
}

void CheckTimeLeft(const UpdateJob& job)
{
    if (TimeLeftMs(job) <= 0) {
        const int64_t took =
            std::chrono::duration_cast<std::chrono::seconds>(job.deadline - job.started).count();
        throw InternetError{"The server was too slow: the update was given " + std::to_string(took) + " s.",
                            MSG_TOOSLOW};
    }
}

void OpenInternet(UpdateJob& job)
{
    ShowStep(job, "Establishing Connection...");
    if (IsPlaceholderUrl(job.baseurl))
        throw InternetError{"No update server is configured in this build (" + job.baseurl + ").", MSG_NOSERVER};
    HttpSettings settings = job.http;
    settings.useragent = "Gorvanel Update";
    job.internethandle = OpenHttpSession(settings);
    if (!job.internethandle)
        throw InternetError{"InternetOpen failed.", MSG_NOINTERNET};
}

void ReadManifest(UpdateJob& job, UpdateInfo& info)
{
    ShowStep(job, "Reading Update Information");
    // The download was held to MAXMANIFESTBYTES; a missing file reads as empty, which is malformed.
    std::ifstream in(WorkPath(job, WorkName(job, MANIFEST_FILE)), std::ios::binary);
    std::string text;
    if (in)
        text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    ManifestResult result = ParseManifest(text, job.currentversion);
    if (result.verdict == MANIFEST_MALFORMED)
        throw InternetError{result.detail, MSG_BADLIST};
    if (result.verdict == MANIFEST_NOTNEWER)
        throw InternetError{result.detail, MSG_UPTODATE};
    info = std::move(result.info);
    LogUpdate(job, "The list offers " + std::to_string(info.count) + " files.");
}

void CloseInternet(UpdateJob& job)
{
    ShowStep(job, "Closing Connection...");
    CloseHttpSession(job.internethandle);
    job.internethandle = nullptr;
    // Every work file goes, whatever the outcome, including those an earlier run left behind (the
    // lock says no other run is at work here).
    static const std::regex workfile("ftplist\\.txt(\\.[0-9a-f]+)?|PKG\\.[0-9]{3}(\\.[0-9a-f]+)?(\\.old)?");
    std::vector<std::string> names;
    if (!ListBeneath(job.dir, "", &names))
        for (const std::string& name : names)
            if (std::regex_match(name, workfile))
                RemoveFileBeneath(job.dir, name);   // a regular file only, never a link
    job.written.clear();
}

bool UpdateThreadProc(UpdateJob& job)
{
    // One program at a time in a game directory: a second update would take the first one's files, an
    // install would swap them under it.
    GameDir held;
    std::string busy;
    if (const int code = HoldGameDir(job.root, HOLDER_UPDATE, &held, &busy)) {
        const std::string why = code == LOCK_HELDELSEWHERE ? busy + " (" + job.root + ")"
                                                           : SystemErrorText(code) + " locking " + job.root;
        fprintf(stderr, "ERROR: %s\n", why.c_str());
        job.ui->ShowMessage("Error", code == LOCK_HELDELSEWHERE ? busy : MSG_DISK, true);
        job.ui->Done();
        return false;
    }
    job.dir = held.handle;
    job.started = std::chrono::steady_clock::now();
    job.deadline = job.started + std::chrono::milliseconds(std::min(job.deadlinebasems, job.deadlinecapms));
    if (job.runtag.empty())
        job.runtag = MakeRunTag();
    StartUpdateLog(job);
    UpdateInfo info;
    bool updated = false;
    const char* failure = MSG_DOWNLOAD;     // shown should anything but an InternetError stop the update
    try {
        OpenInternet(job);
        DownloadManifest(job);
        ReadManifest(job, info);
        SetUpdateDeadline(job, info);
        DownloadPackages(job, info);
        CheckPackages(job, info);
        failure = MSG_INSTALL;
        InstallPackages(job, info);
        updated = true;
        LogUpdate(job, MSG_COMPLETE);
        job.ui->VersionChanged();
        job.ui->ShowMessage("Gorvanel Update", MSG_COMPLETE, false);
    } catch (const InternetError& e) {
        ShowFailure(job, e.detail, e.message);
    } catch (const std::exception& e) {
        ShowFailure(job, std::string("The update stopped: ") + e.what(), failure);
    }
    CloseInternet(job);
    // The lock goes with the update, however it ended.
    ReleaseGameDir(&held);
    job.dir = -1;
    job.ui->Done();
    return updated;
}
