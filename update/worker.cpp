// The update worker: its steps in order, the one place their failures are caught, and the clean-up.
#include "update/worker.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>

namespace fs = std::filesystem;

std::string WorkPath(const UpdateJob& job, const std::string& name)
{
    return job.root + "/" + name;
}

void OpenInternet(UpdateJob& job)
{
    job.ui->ShowStatus("Establishing Connection...");
    HttpSettings settings = job.http;
    settings.useragent = "Gorvanel Update";
    job.internethandle = OpenHttpSession(settings);
    if (!job.internethandle)
        throw InternetError{"InternetOpen failed.", MSG_NOINTERNET};
}

void ReadManifest(UpdateJob& job, UpdateInfo& info)
{
    job.ui->ShowStatus("Reading Update Information");
    // The download was held to MAXMANIFESTBYTES; a missing file reads as empty, which is malformed.
    std::ifstream in(WorkPath(job, MANIFEST_FILE), std::ios::binary);
    std::string text;
    if (in)
        text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    ManifestResult result = ParseManifest(text, job.currentversion);
    if (result.verdict == MANIFEST_MALFORMED)
        throw InternetError{result.detail, MSG_BADLIST};
    if (result.verdict == MANIFEST_NOTNEWER)
        throw InternetError{result.detail, MSG_UPTODATE};
    info = std::move(result.info);
}

void CloseInternet(UpdateJob& job)
{
    job.ui->ShowStatus("Closing Connection...");
    CloseHttpSession(job.internethandle);
    job.internethandle = nullptr;
    // Every work file goes, whatever the outcome, including those an earlier run left behind.
    static const std::regex workfile("ftplist\\.txt|PKG\\.[0-9]{3}(\\.old)?");
    std::error_code error;
    for (fs::directory_iterator it(job.root, error), end; !error && it != end; it.increment(error)) {
        std::error_code ignored;
        if (std::regex_match(it->path().filename().string(), workfile) && !it->is_directory(ignored))
            fs::remove(it->path(), ignored);
    }
}

bool UpdateThreadProc(UpdateJob& job)
{
    UpdateInfo info;
    bool updated = false;
    const char* failure = MSG_DOWNLOAD;     // shown should anything but an InternetError stop the update
    try {
        OpenInternet(job);
        DownloadManifest(job);
        ReadManifest(job, info);
        DownloadPackages(job, info);
        failure = MSG_INSTALL;
        InstallPackages(job, info);
        updated = true;
        job.ui->VersionChanged();
        job.ui->ShowMessage("Gorvanel Update", MSG_COMPLETE, false);
    } catch (const InternetError& e) {
        fprintf(stderr, "ERROR: %s\n", e.detail.c_str());
        job.ui->ShowMessage("Error", e.message, true);
    } catch (const std::exception& e) {
        fprintf(stderr, "ERROR: The update stopped: %s\n", e.what());
        job.ui->ShowMessage("Error", failure, true);
    }
    CloseInternet(job);
    job.ui->Done();
    return updated;
}
