// Installing the downloaded files: all of them or none.
//
// Each verified work file is renamed over its target, which is atomic, keeping the mode of the file it
// replaces; the replaced file is kept under a second name until the end. Should any step fail, every
// target already replaced is put back and every directory made is removed, so the game is left as it
// was. The version-carrying string module goes last: until it is in place the game reads as the old
// version, so an update cut off by a crash is simply offered again.
#include <algorithm>
#include <filesystem>
#include <vector>

#include "common/strutil.h"
#include "platform/files.h"
#include "update/version.h"
#include "update/worker.h"

namespace fs = std::filesystem;

namespace {

struct Replaced {
    fs::path target;
    fs::path backup;    // empty when the target is new
};

// What has been done so far, to undo on failure.
struct InstallLog {
    std::vector<fs::path> madedirs;
    std::vector<Replaced> replaced;
};

// Makes the target's missing directories inside root; false when a part of the way is a file or a
// link (a link could lead out of the game directory).
bool MakeParents(const fs::path& root, const fs::path& relative, InstallLog& log, std::string* why)
{
    fs::path dir = root;
    for (const fs::path& part : relative.parent_path()) {
        dir /= part;
        std::error_code error;
        const fs::file_status status = fs::symlink_status(dir, error);
        if (status.type() == fs::file_type::not_found) {
            if (!fs::create_directory(dir, error) && error) {
                *why = error.message();
                return false;
            }
            log.madedirs.push_back(dir);
        } else if (status.type() != fs::file_type::directory) {
            *why = dir.string() + " is not a directory";
            return false;
        }
    }
    return true;
}

// Puts package over target, keeping the target's old file as backup; false on failure with nothing changed.
bool Replace(const fs::path& package, const fs::path& target, const fs::path& backup, InstallLog& log, std::string* why)
{
    std::error_code error;
    const fs::file_status old = fs::symlink_status(target, error);
    const bool exists = old.type() != fs::file_type::not_found;
    if (exists && old.type() == fs::file_type::directory) {
        *why = "the target is a directory";
        return false;
    }
    // The new file takes the old one's mode (a program stays executable); a new file gets the usual one.
    const fs::perms mode = exists && old.type() == fs::file_type::regular ? old.permissions()
                                                                          : fs::perms(0644);
    fs::permissions(package, mode, error);
    if (error) {
        *why = error.message();
        return false;
    }
    bool movedaway = false;
    if (exists) {
        fs::remove(backup, error);
        // A second link keeps the old file in place until the rename swaps it out; where links are
        // not allowed it is moved aside instead, leaving the target missing only for a moment.
        fs::create_hard_link(target, backup, error);
        if (error) {
            fs::rename(target, backup, error);
            if (error) {
                *why = error.message();
                return false;
            }
            movedaway = true;
        }
    }
    fs::rename(package, target, error);
    if (error) {
        *why = error.message();
        std::error_code ignored;
        if (movedaway)
            fs::rename(backup, target, ignored);
        else if (exists)
            fs::remove(backup, ignored);
        return false;
    }
    log.replaced.push_back({target, exists ? backup : fs::path()});
    return true;
}

void Undo(InstallLog& log)
{
    std::error_code error;
    for (auto it = log.replaced.rbegin(); it != log.replaced.rend(); ++it) {
        if (it->backup.empty())
            fs::remove(it->target, error);
        else
            fs::rename(it->backup, it->target, error);
        if (error)
            fprintf(stderr, "ERROR: Couldn't put back %s: %s\n", it->target.c_str(), error.message().c_str());
    }
    for (auto it = log.madedirs.rbegin(); it != log.madedirs.rend(); ++it)
        fs::remove(*it, error);     // only when empty: a failure here leaves a harmless directory
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

void InstallPackages(UpdateJob& job, const UpdateInfo& info)
{
    const fs::path root = job.root;
    InstallLog log;
    const std::vector<int> order = InstallOrder(info);
    try {
        for (size_t step = 0; step < order.size(); step++) {
            const int i = order[step];
            job.ui->ShowStatus("Installing file " + IntToString((int32_t)step + 1) + " of " + IntToString(info.count)
                               + "...");
            const std::string package = PackageName(i);
            // An existing file is found in any letter case, as the game finds it.
            const fs::path target = ResolvePath((job.root + "/" + info.targets[i]).c_str());
            const fs::path relative = target.lexically_relative(root);
            std::string why = "outside the game directory";
            if (relative.empty() || *relative.begin() == ".." || !MakeParents(root, relative, log, &why)
                || !Replace(root / package, target, root / (package + ".old"), log, &why))
                throw InternetError{"Couldn't move " + package + " to " + info.targets[i] + " (" + why + ")",
                                    MSG_INSTALL};
        }
    } catch (...) {
        Undo(log);
        throw;
    }
    std::error_code ignored;
    for (const Replaced& r : log.replaced)
        if (!r.backup.empty())
            fs::remove(r.backup, ignored);
}
