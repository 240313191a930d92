// The shared back-up-and-undo of replaced files.
#include "common/swap.h"

#include <cerrno>
#include <filesystem>

namespace fs = std::filesystem;

int MakeSwapDirectory(const std::string& path, bool followlinks, SwapLog* log)
{
    std::error_code error;
    const fs::file_status status = followlinks ? fs::status(path, error) : fs::symlink_status(path, error);
    if (status.type() == fs::file_type::directory)
        return 0;
    if (status.type() != fs::file_type::not_found)
        return ENOTDIR;
    if (!fs::create_directory(path, error))
        return error ? error.value() : EEXIST;
    log->madedirs.push_back(path);
    return 0;
}

int PlaceWorkFile(const std::string& work, const FileId& id, const std::string& target, const std::string& backup,
                  bool keepmode, SwapLog* log)
{
    FileId now;
    if (PathFileId(work, &now) || !(now == id))
        return SWAP_NOTOURS;
    std::error_code error;
    const fs::file_status old = fs::symlink_status(target, error);
    const bool exists = old.type() != fs::file_type::not_found;
    if (old.type() == fs::file_type::directory)
        return EISDIR;
    if (keepmode) {
        const fs::perms mode = exists && old.type() == fs::file_type::regular ? old.permissions() : fs::perms(0644);
        fs::permissions(work, mode, error);
        if (error)
            return error.value();
    }
    bool movedaway = false;
    if (exists) {
        fs::remove(backup, error);
        // A second link keeps the old file in place until the rename swaps it out; where links are not
        // allowed it is moved aside instead, leaving the target missing only for a moment.
        fs::create_hard_link(target, backup, error);
        if (error) {
            fs::rename(target, backup, error);
            if (error)
                return error.value();
            movedaway = true;
        }
    }
    fs::rename(work, target, error);
    if (error) {
        std::error_code ignored;
        if (movedaway)
            fs::rename(backup, target, ignored);
        else if (exists)
            fs::remove(backup, ignored);
        return error.value();
    }
    log->placed.push_back({target, exists ? backup : ""});
    return 0;
}

void UndoSwap(SwapLog* log)
{
    for (auto it = log->placed.rbegin(); it != log->placed.rend(); ++it) {
        std::error_code error;
        if (it->backup.empty())
            fs::remove(it->target, error);
        else
            fs::rename(it->backup, it->target, error);
    }
    for (auto it = log->madedirs.rbegin(); it != log->madedirs.rend(); ++it) {
        std::error_code error;
        fs::remove(*it, error);     // only when empty: anything else is left as it is
    }
    log->placed.clear();
    log->madedirs.clear();
}

void KeepSwap(SwapLog* log)
{
    for (const SwapStep& step : log->placed) {
        std::error_code ignored;
        if (!step.backup.empty())
            fs::remove(step.backup, ignored);
    }
    log->placed.clear();
    log->madedirs.clear();
}

std::string SwapErrorText(int code)
{
    return code == SWAP_NOTOURS ? "the work file is not the one written" : SystemErrorText(code);
}
