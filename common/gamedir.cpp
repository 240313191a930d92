// Holding the game directory: its handle and its lock.
#include "common/gamedir.h"

#include <cerrno>

#include "platform/dirhandle.h"

GameDir::~GameDir()
{
    ReleaseGameDir(this);
}

std::string BusyText(const std::string& holder)
{
    // A lock file with no name yet is another program's all the same: the installer's words say least.
    return holder == HOLDER_UPDATE ? BUSY_UPDATE : BUSY_INSTALLER;
}

int LockGameDir(GameDir* dir, const char* holder, std::string* busy)
{
    std::string heldby;
    const int code = LockDirHandle(dir->handle, holder, &dir->lock, &heldby);
    if (code == LOCK_HELDELSEWHERE)
        *busy = BusyText(heldby);
    return code;
}

namespace {

int Hold(const std::string& path, bool followlinks, const char* holder, GameDir* dir, std::string* busy)
{
    ReleaseGameDir(dir);
    dir->path = path.empty() || path.back() == '/' ? path : path + "/";
    if (followlinks) {
        if (const int code = OpenDirHandle(path, &dir->handle))
            return code;
    } else {
        int root = -1;
        if (path.size() < 2 || path[0] != '/')
            return EINVAL;
        if (const int code = OpenDirHandle("/", &root))
            return code;
        const int code = OpenDirBeneath(root, dir->path.substr(1, dir->path.size() - 2), &dir->handle);
        CloseDirHandle(root);
        if (code)
            return code;
    }
    if (const int code = LockGameDir(dir, holder, busy)) {
        ReleaseGameDir(dir);
        return code;
    }
    return 0;
}

} // namespace

int HoldGameDir(const std::string& path, const char* holder, GameDir* dir, std::string* busy)
{
    return Hold(path, true, holder, dir, busy);
}

int HoldRealGameDir(const std::string& path, const char* holder, GameDir* dir, std::string* busy)
{
    return Hold(path, false, holder, dir, busy);
}

void ReleaseGameDir(GameDir* dir)
{
    UnlockDirHandle(dir->handle, dir->lock);
    CloseDirHandle(dir->handle);
    dir->lock = -1;
    dir->handle = -1;
}
