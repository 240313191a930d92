// Folders held open, what lies below them reached without following a link, and their locks.
#include "platform/dirhandle.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

void (*beneathhook)(const char* operation, const std::string& relative) = nullptr;

namespace {

// Owns a descriptor for the length of a call.
struct Fd {
    int fd = -1;
    ~Fd()
    {
        if (fd >= 0)
            close(fd);
    }
};

bool IsPart(const std::string& part)
{
    return !part.empty() && part != "." && part != "..";
}

// Opens the folder that holds relative's last part, walking from dir one part at a time without
// following a link; 0 or the error code, with *parent (closed by the caller) and *last its last part.
int OpenParent(const char* operation, int dir, const std::string& relative, int* parent, std::string* last)
{
    if (beneathhook)
        beneathhook(operation, relative);
    *parent = -1;
    int fd = fcntl(dir, F_DUPFD_CLOEXEC, 0);
    if (fd < 0)
        return errno;
    for (size_t start = 0;;) {
        const size_t slash = relative.find('/', start);
        const std::string part = relative.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
        if (!IsPart(part)) {
            close(fd);
            return EINVAL;
        }
        if (slash == std::string::npos) {
            *last = part;
            *parent = fd;
            return 0;
        }
        const int next = openat(fd, part.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        const int error = errno;
        close(fd);
        if (next < 0)
            return error;
        fd = next;
        start = slash + 1;
    }
}

FileKind KindOf(mode_t mode)
{
    return S_ISREG(mode) ? KIND_FILE : S_ISDIR(mode) ? KIND_DIR : S_ISLNK(mode) ? KIND_LINK : KIND_OTHER;
}

int RemoveAt(const char* operation, int dir, const std::string& relative, bool folder)
{
    Fd parent;
    std::string last;
    if (const int error = OpenParent(operation, dir, relative, &parent.fd, &last))
        return error;
    struct stat st;
    if (fstatat(parent.fd, last.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return errno;
    if (folder && !S_ISDIR(st.st_mode))
        return S_ISLNK(st.st_mode) ? ELOOP : ENOTDIR;
    if (!folder && S_ISDIR(st.st_mode))
        return EISDIR;
    if (!folder && !S_ISREG(st.st_mode))
        return EPERM;
    if (unlinkat(parent.fd, last.c_str(), folder ? AT_REMOVEDIR : 0) != 0)
        return errno == EEXIST ? ENOTEMPTY : errno;
    return 0;
}

int RemoveByPath(const std::string& dir, const std::string& relative, bool folder)
{
    Fd handle;
    if (const int error = OpenDirHandle(dir, &handle.fd))
        return error;
    return RemoveAt("remove", handle.fd, relative, folder);
}

// Creates name in parent (failing when anything has that name, a link too), writes all of bytes, forces
// them to the disk and closes it; removed again when that fails. 0 or the error code.
int WriteNewAt(int parent, const char* name, const void* bytes, size_t size, uint32_t mode, FileId* id)
{
    const int fd = openat(parent, name, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd < 0)
        return errno;
    int error = WriteAllSynced(fd, bytes, size);
    struct stat st;
    if (error == 0 && id) {
        if (fstat(fd, &st) == 0)
            *id = {(uint64_t)st.st_dev, (uint64_t)st.st_ino};
        else
            error = errno;
    }
    if (close(fd) != 0 && error == 0)
        error = errno;
    if (error != 0)
        unlinkat(parent, name, 0);
    return error;
}

// A call on two names below dir (a rename, a link), each reached without following a link.
template <typename Call>
int BetweenTwo(const char* operation, int dir, const std::string& from, const std::string& to, Call call)
{
    Fd fromparent;
    Fd toparent;
    std::string fromlast;
    std::string tolast;
    if (const int error = OpenParent(operation, dir, from, &fromparent.fd, &fromlast))
        return error;
    if (const int error = OpenParent(operation, dir, to, &toparent.fd, &tolast))
        return error;
    return call(fromparent.fd, fromlast.c_str(), toparent.fd, tolast.c_str()) != 0 ? errno : 0;
}

// Reads the lock file's holder name; "" when none was written yet.
std::string ReadHolder(int fd)
{
    char buf[64];
    const ssize_t n = pread(fd, buf, sizeof buf - 1, 0);
    if (n <= 0)
        return "";
    const std::string text(buf, (size_t)n);
    return text.substr(0, text.find('\n'));
}

} // namespace

int OpenDirHandle(const std::string& path, int* dir)
{
    *dir = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    return *dir < 0 ? errno : 0;
}

void CloseDirHandle(int dir)
{
    if (dir >= 0)
        close(dir);
}

int OpenDirBeneath(int dir, const std::string& relative, int* sub)
{
    *sub = -1;
    Fd parent;
    std::string last;
    if (const int error = OpenParent("open", dir, relative, &parent.fd, &last))
        return error;
    *sub = openat(parent.fd, last.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    return *sub < 0 ? errno : 0;
}

int MakeDirChain(const std::string& path, std::vector<std::string>* made, int* dir)
{
    *dir = -1;
    if (path.empty() || path[0] != '/')
        return EINVAL;
    int fd = open("/", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    for (size_t start = 1; start < path.size();) {
        size_t slash = path.find('/', start);
        if (slash == std::string::npos)
            slash = path.size();
        const std::string part = path.substr(start, slash - start);
        start = slash + 1;
        if (part.empty())
            continue;
        if (!IsPart(part)) {
            close(fd);
            return EINVAL;
        }
        if (beneathhook)
            beneathhook("mkdir", path.substr(0, slash));
        bool ours = false;
        if (mkdirat(fd, part.c_str(), 0755) == 0) {
            ours = true;
            made->push_back(path.substr(0, slash));
        } else if (errno != EEXIST) {
            const int error = errno;
            close(fd);
            return error;
        }
        // A folder made here is ours: should it be a link now, someone swapped it.
        const int next = openat(fd, part.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | (ours ? O_NOFOLLOW : 0));
        const int error = errno;
        close(fd);
        if (next < 0)
            return error;
        fd = next;
    }
    *dir = fd;
    return 0;
}

int KindBeneath(int dir, const std::string& relative, FileKind* kind, FileId* id, uint32_t* mode)
{
    *kind = KIND_NONE;
    Fd parent;
    std::string last;
    if (const int error = OpenParent("stat", dir, relative, &parent.fd, &last))
        return error;
    struct stat st;
    if (fstatat(parent.fd, last.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT ? 0 : errno;
    *kind = KindOf(st.st_mode);
    if (id)
        *id = {(uint64_t)st.st_dev, (uint64_t)st.st_ino};
    if (mode)
        *mode = st.st_mode & 07777;
    return 0;
}

int MakeDirBeneath(int dir, const std::string& relative)
{
    Fd parent;
    std::string last;
    if (const int error = OpenParent("mkdir", dir, relative, &parent.fd, &last))
        return error;
    if (mkdirat(parent.fd, last.c_str(), 0755) == 0)
        return 0;
    if (errno != EEXIST)
        return errno;
    struct stat st;
    if (fstatat(parent.fd, last.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return errno;
    return S_ISDIR(st.st_mode) ? EEXIST : ENOTDIR;
}

int WriteNewFileBeneath(int dir, const std::string& relative, const void* bytes, size_t size, uint32_t mode, FileId* id)
{
    Fd parent;
    std::string last;
    if (const int error = OpenParent("create", dir, relative, &parent.fd, &last))
        return error;
    return WriteNewAt(parent.fd, last.c_str(), bytes, size, mode, id);
}

int WriteNewFile(const std::string& path, const void* bytes, size_t size, bool executable, FileId* id)
{
    return WriteNewAt(AT_FDCWD, path.c_str(), bytes, size, executable ? 0755 : 0644, id);
}

FILE* CreateFileBeneath(int dir, const std::string& relative, int* error)
{
    Fd parent;
    std::string last;
    if ((*error = OpenParent("create", dir, relative, &parent.fd, &last)))
        return nullptr;
    const int fd = openat(parent.fd, last.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) {
        *error = errno;
        return nullptr;
    }
    FILE* const file = fdopen(fd, "wb");
    if (!file) {
        *error = errno;
        close(fd);
    }
    return file;
}

int RenameBeneath(int dir, const std::string& from, const std::string& to)
{
    return BetweenTwo("rename", dir, from, to, [](int fromdir, const char* fromname, int todir, const char* toname) {
        return renameat(fromdir, fromname, todir, toname);
    });
}

int LinkBeneath(int dir, const std::string& from, const std::string& to)
{
    return BetweenTwo("link", dir, from, to, [](int fromdir, const char* fromname, int todir, const char* toname) {
        return linkat(fromdir, fromname, todir, toname, 0);
    });
}

int SetModeBeneath(int dir, const std::string& relative, uint32_t mode)
{
    Fd parent;
    std::string last;
    if (const int error = OpenParent("chmod", dir, relative, &parent.fd, &last))
        return error;
    Fd file;
    // Opened without following a link and changed through the handle: a link's target is never changed.
    file.fd = openat(parent.fd, last.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (file.fd < 0)
        return errno;
    return fchmod(file.fd, mode) != 0 ? errno : 0;
}

int RemoveFileBeneath(int dir, const std::string& relative)
{
    return RemoveAt("unlink", dir, relative, false);
}

int RemoveDirBeneath(int dir, const std::string& relative)
{
    return RemoveAt("rmdir", dir, relative, true);
}

int RemoveFileBeneath(const std::string& dir, const std::string& relative)
{
    return RemoveByPath(dir, relative, false);
}

int RemoveDirBeneath(const std::string& dir, const std::string& relative)
{
    return RemoveByPath(dir, relative, true);
}

bool ListBeneath(int dir, const std::string& relative, std::vector<std::string>* names)
{
    int fd = -1;
    if (relative.empty())
        fd = fcntl(dir, F_DUPFD_CLOEXEC, 0);
    else if (OpenDirBeneath(dir, relative, &fd) != 0)
        return true;
    if (fd < 0)
        return true;
    DIR* const d = fdopendir(fd);
    if (!d) {
        close(fd);
        return true;
    }
    names->clear();
    while (const dirent* e = readdir(d))
        if (IsPart(e->d_name))
            names->push_back(e->d_name);
    closedir(d);
    return false;
}

int LockDirHandle(int dir, const char* holder, int* lock, std::string* heldby)
{
    *lock = -1;
    heldby->clear();
    for (int tries = 0; tries < 100; tries++) {
        Fd fd;
        fd.fd = openat(dir, LOCKFILE_NAME, O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd.fd < 0)
            return errno;
        // Each open is its own lock holder, even within one process.
        if (flock(fd.fd, LOCK_EX | LOCK_NB) != 0) {
            if (errno != EWOULDBLOCK)
                return errno;
            // The holder writes its name just after it takes the lock: a moment's wait to read it.
            for (int wait = 0; wait < 50 && heldby->empty(); wait++) {
                *heldby = ReadHolder(fd.fd);
                if (heldby->empty()) {
                    const timespec pause = {0, 4 * 1000 * 1000};
                    nanosleep(&pause, nullptr);
                }
            }
            return LOCK_HELDELSEWHERE;
        }
        // The last holder may have removed the file between our open and our lock: the lock is the
        // file that stands in the folder now.
        struct stat mine;
        struct stat there;
        if (fstat(fd.fd, &mine) != 0)
            return errno;
        if (fstatat(dir, LOCKFILE_NAME, &there, AT_SYMLINK_NOFOLLOW) != 0 || mine.st_ino != there.st_ino
            || mine.st_dev != there.st_dev)
            continue;
        const std::string name = std::string(holder) + "\n";
        if (ftruncate(fd.fd, 0) != 0 || pwrite(fd.fd, name.data(), name.size(), 0) != (ssize_t)name.size())
            return errno ? errno : EIO;
        *lock = fd.fd;
        fd.fd = -1;
        return 0;
    }
    return EAGAIN;
}

void UnlockDirHandle(int dir, int lock)
{
    if (lock < 0)
        return;
    struct stat mine;
    struct stat there;
    if (fstat(lock, &mine) == 0 && fstatat(dir, LOCKFILE_NAME, &there, AT_SYMLINK_NOFOLLOW) == 0
        && mine.st_ino == there.st_ino && mine.st_dev == there.st_dev)
        unlinkat(dir, LOCKFILE_NAME, 0);
    close(lock);    // the lock goes with the descriptor
}
