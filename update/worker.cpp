// The update worker: its steps in order, the one place their failures are caught, and the clean-up.
#include "update/worker.h"

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <regex>

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
    std::error_code error;
    for (fs::directory_iterator it(job.root, error), end; !error && it != end; it.increment(error)) {
        std::error_code ignored;
        if (std::regex_match(it->path().filename().string(), workfile) && it->is_regular_file(ignored)
            && !it->is_symlink(ignored))
            fs::remove(it->path(), ignored);
    }
    job.written.clear();
}

bool UpdateThreadProc(UpdateJob& job)
{
    // One update at a time in a game directory: a second one would take the first one's files.
    int lock = -1;
    if (const int code = LockDirectory(job.root, &lock)) {
        const std::string why = code == LOCK_HELDELSEWHERE ? "another update holds the lock on " + job.root
                                                           : SystemErrorText(code) + " locking " + job.root;
        fprintf(stderr, "ERROR: %s\n", why.c_str());
        LogUpdate(job, "ERROR: " + why);
        job.ui->ShowMessage("Error", code == LOCK_HELDELSEWHERE ? MSG_BUSY : MSG_DISK, true);
        job.ui->Done();
        return false;
    }
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
    UnlockDirectory(lock);
    job.ui->Done();
    return updated;
}
