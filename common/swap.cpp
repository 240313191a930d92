// The shared back-up-and-undo of replaced files, through the game directory's handle.
#include "common/swap.h"

#include <cerrno>

#include "platform/dirhandle.h"

int MakeSwapDirectory(SwapLog* log, const std::string& relative)
{
    const int code = MakeDirBeneath(log->dir, relative);
    if (code == EEXIST)
        return 0;
    if (code == 0)
        log->madedirs.push_back(relative);
    return code;
}

int PlaceWorkFile(SwapLog* log, const std::string& work, const FileId& id, const std::string& target,
                  const std::string& backup, bool keepmode)
{
    FileKind kind;
    FileId now;
    if (KindBeneath(log->dir, work, &kind, &now) || kind != KIND_FILE || !(now == id))
        return SWAP_NOTOURS;
    uint32_t mode = 0644;
    if (const int code = KindBeneath(log->dir, target, &kind, nullptr, &mode))
        return code;
    const bool exists = kind != KIND_NONE;
    if (kind == KIND_DIR)
        return EISDIR;
    if (keepmode)
        if (const int code = SetModeBeneath(log->dir, work, kind == KIND_FILE ? mode : 0644))
            return code;
    bool movedaway = false;
    if (exists) {
        RemoveFileBeneath(log->dir, backup);
        // A second link keeps the old file in place until the rename swaps it out; where links are not
        // allowed it is moved aside instead, leaving the target missing only for a moment.
        if (LinkBeneath(log->dir, target, backup) != 0) {
            if (const int code = RenameBeneath(log->dir, target, backup))
                return code;
            movedaway = true;
        }
    }
    if (const int code = RenameBeneath(log->dir, work, target)) {
        if (movedaway)
            RenameBeneath(log->dir, backup, target);
        else if (exists)
            RemoveFileBeneath(log->dir, backup);
        return code;
    }
    log->placed.push_back({target, exists ? backup : ""});
    return 0;
}

bool UndoSwap(SwapLog* log)
{
    bool stuck = false;
    for (auto it = log->placed.rbegin(); it != log->placed.rend(); ++it) {
        const int code = it->backup.empty() ? RemoveFileBeneath(log->dir, it->target)
                                            : RenameBeneath(log->dir, it->backup, it->target);
        if (code != 0 && !(it->backup.empty() && code == ENOENT))
            stuck = true;
    }
    for (auto it = log->madedirs.rbegin(); it != log->madedirs.rend(); ++it)
        RemoveDirBeneath(log->dir, *it);     // only when empty: anything else is left as it is
    log->placed.clear();
    log->madedirs.clear();
    return stuck;
}

void KeepSwap(SwapLog* log)
{
    for (const SwapStep& step : log->placed)
        if (!step.backup.empty())
            RemoveFileBeneath(log->dir, step.backup);
    log->placed.clear();
    log->madedirs.clear();
}

std::string SwapErrorText(int code)
{
    if (code == SWAP_NOTOURS)
        return "the work file is not the one written";
    if (code == ELOOP)
        return "a folder on the way is a link, which is never followed";
    return SystemErrorText(code);
}
