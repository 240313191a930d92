// Installing the downloaded files: all of them or none.
//
// Each verified work file is put over its target by the shared swap (common/swap.h), through the game
// directory's handle and never through a link: renamed, which is atomic, keeping the mode of the file it replaces, the replaced file kept aside until the end.
// Should any step fail, every target already replaced is put back and every directory made is
// removed, so the game is left as it was. The version-carrying string module goes last: until it is
// in place the game reads as the old version, so an update cut off by a crash is simply offered again.
#include <algorithm>
#include <filesystem>
#include <vector>

#include "common/strutil.h"
#include "common/swap.h"
#include "update/version.h"
#include "update/worker.h"

namespace fs = std::filesystem;

namespace {

// Makes the target's missing folders inside the game directory, through its handle: a link on the way
// is refused (it could lead out of the game directory).
bool MakeParents(const fs::path& relative, SwapLog& log, std::string* why)
{
    fs::path dir;
    for (const fs::path& part : relative.parent_path()) {
        dir /= part;
        if (const int code = MakeSwapDirectory(&log, dir.string())) {
            *why = dir.string() + ": " + SwapErrorText(code);
            return false;
        }
    }
    return true;
}

// The order of installing: the manifest's, with the version module moved to the end.
std::vector<int> InstallOrder(const UpdateInfo& info)
{
    std::vector<int> order;
    for (int i = 0; i < info.count; i++)
        order.push_back(i);
    std::stable_partition(order.begin(), order.end(),
                          [&](int i) { return ToLowerString(info.targets[i]) != VERSIONMODULE; });
    return order;
}

} // namespace

void CheckPackages(UpdateJob& job, const UpdateInfo& info)
{
    for (int i = 0; i < info.count; i++) {
        if (ToLowerString(info.targets[i]) != VERSIONMODULE)
            continue;
        // A module the game cannot open, or one of another version, would leave a game that neither
        // starts nor updates: it is refused before anything is installed.
        const std::string work = WorkName(job, PackageName(i));
        uint32_t version = 0;
        std::string text;
        if (LoadVersion(WorkPath(job, work).c_str(), &version, &text))
            throw InternetError{"The new string module " + work + " does not open as a module.", MSG_DOWNLOAD};
        if (version != info.version)
            throw InternetError{"The new string module " + work + " says " + text + ", not the version the list announces.",
                                MSG_DOWNLOAD};
        LogUpdate(job, "The new string module is sound: " + text);
    }
}

void InstallPackages(UpdateJob& job, const UpdateInfo& info)
{
    const fs::path root = job.root;
    SwapLog log;
    log.dir = job.dir;
    const std::vector<int> order = InstallOrder(info);
    try {
        for (size_t step = 0; step < order.size(); step++) {
            CheckCancelled(job);
            const int i = order[step];
            ShowStep(job, "Installing file " + IntToString((int32_t)step + 1) + " of " + IntToString(info.count) + "...");
            const std::string work = WorkName(job, PackageName(i));
            // An existing file is found in any letter case, as the game finds it.
            const fs::path target = ResolvePath((job.root + "/" + info.targets[i]).c_str());
            const fs::path relative = target.lexically_relative(root);
            // Only a file this run wrote goes in: another run's, or one put in its place, never does.
            const auto written = job.written.find(work);
            std::string why;
            if (written == job.written.end())
                why = "not written by this run";
            else if (relative.empty() || *relative.begin() == "..")
                why = "outside the game directory";
            else if (MakeParents(relative, log, &why)) {
                const int code = PlaceWorkFile(&log, work, written->second, relative.string(), work + ".old", true);
                if (code == 0)
                    continue;
                why = SwapErrorText(code);
            }
            throw InternetError{"Couldn't move " + work + " to " + info.targets[i] + " (" + why + ")", MSG_INSTALL};
        }
    } catch (...) {
        UndoSwap(&log);
        throw;
    }
    KeepSwap(&log);
}
