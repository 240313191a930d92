// Fetching files: the manifest and the packages, each into a work file checked against its size.
#include <algorithm>
#include <cstdio>

#include "common/strutil.h"
#include "platform/dirhandle.h"
#include "platform/files.h"
#include "update/worker.h"

namespace {

constexpr int64_t readsize = 2048;   // the percentage is worked out before each read of this many bytes
constexpr int64_t maxdeadlinems = 2 * 3600 * 1000;  // no one file may take longer

// The percentage shown while a file with a known size arrives; shown again only when its text changes.
struct Progress {
    UpdateUi* ui;
    std::string label;
    int64_t size;
    std::string shown;

    void At(int64_t bytes)
    {
        if (size <= 0)
            return;
        const std::string percent = std::to_string(bytes * 100 / size);
        if (percent == shown)
            return;
        shown = percent;
        ui->ShowStatus(label + " (" + percent + "% complete)");
    }
};

} // namespace

void DownloadFile(UpdateJob& job, const std::string& url, const std::string& local, const std::string& label,
                  int32_t size, int64_t limit)
{
    CheckTimeLeft(job);
    // A fresh file every time, through the game directory's handle: whatever lay under that name (a
    // link, say) is not written through.
    RemoveFileBeneath(job.dir, local);
    int openerror = 0;
    FILE* const file = CreateFileBeneath(job.dir, local, &openerror);
    FileId id;
    if (!file || OpenFileId(file, &id)) {
        if (file)
            fclose(file);
        throw InternetError{"Couldn't open the local file " + local + " for writing.", MSG_DISK};
    }
    job.written.erase(local);

    Progress progress{job.ui, label, size, ""};
    const int64_t most = size >= 0 ? size : limit;
    int64_t bytes = 0;
    bool toolong = false;
    bool writefailed = false;
    const HttpReceiver receive = [&](const uint8_t* data, size_t n) {
        if (bytes + (int64_t)n > most) {
            toolong = true;
            return true;
        }
        // The reads the percentage counts are whole 2048-byte steps, however the network cuts the body.
        for (int64_t mark = (bytes + readsize - 1) / readsize * readsize; mark < bytes + (int64_t)n; mark += readsize)
            progress.At(mark);
        if (fwrite(data, 1, n, file) != n) {
            writefailed = true;
            return true;
        }
        bytes += (int64_t)n;
        return false;
    };
    std::string why;
    // However a server doses its bytes, one file takes no longer than its length allows, nor than what
    // is left of the whole update.
    const int64_t rate = job.http.deadlinebytes > 0 ? job.http.deadlinebytes : 1;
    const int64_t deadline = std::max<int64_t>(
        1, std::min({job.http.deadlinebasems + most * 1000 / rate, maxdeadlinems, TimeLeftMs(job)}));
    const HttpOutcome outcome = HttpGet(job.internethandle, url, receive, &why, deadline);
    if (outcome == HTTP_DONE)
        progress.At(bytes);     // the last, empty read
    const bool syncfailed = SyncFile(file);
    const bool closefailed = fclose(file) != 0;

    InternetError error;
    if (outcome != HTTP_DONE && !writefailed && !toolong && TimeLeftMs(job) <= 0)
        error = {"The server was too slow downloading " + url + ": the whole update's time ran out.", MSG_TOOSLOW};
    else if (writefailed || (outcome == HTTP_DONE && (syncfailed || closefailed)))
        error = {"Couldn't write the local file " + local + ".", MSG_DISK};
    else if (toolong)
        error = {"More than " + std::to_string(most) + " bytes downloading " + url + " to " + local, MSG_DOWNLOAD};
    else if (outcome == HTTP_NOANSWER)
        error = {"InternetOpenUrl failed downloading " + url + " to " + local + " (" + why + ")", MSG_DOWNLOAD};
    else if (outcome == HTTP_STOPPED && !toolong)
        error = {"Cancelled downloading " + url + " to " + local + " (" + why + ")", MSG_DOWNLOAD};
    else if (outcome != HTTP_DONE)
        error = {"InternetReadFile error downloading " + url + " to " + local + " (" + why + ")", MSG_DOWNLOAD};
    else if (size >= 0 && bytes != size)
        error = {std::to_string(bytes) + " bytes, not " + std::to_string(size) + ", downloading " + url + " to " + local,
                 MSG_DOWNLOAD};
    else {
        job.written[local] = id;
        return;
    }
    RemoveFileBeneath(job.dir, local);
    throw error;
}

void DownloadManifest(UpdateJob& job)
{
    ShowStep(job, "Downloading Update Information...");
    DownloadFile(job, job.baseurl + MANIFEST_URL, WorkName(job, MANIFEST_FILE), "Downloading...", -1, MAXMANIFESTBYTES);
}

void DownloadPackages(UpdateJob& job, const UpdateInfo& info)
{
    for (int i = 0; i < info.count; i++) {
        CheckCancelled(job);
        const std::string name = PackageName(i);
        DownloadFile(job, job.baseurl + name, WorkName(job, name),
                     "Downloading file " + IntToString(i + 1) + " of " + IntToString(info.count), info.sizes[i]);
    }
}
