// Files handled with care: identities, descriptions of errors, locks, and removal that never follows a link.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "platform/files.h"

namespace {

// Opens the directory that holds relative's last part, walking from dir one part at a time without
// following a link; the descriptor, or -errno. *last is the last part.
int OpenParentBeneath(const std::string& dir, const std::string& relative, std::string* last)
{
    int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return -errno;
    size_t start = 0;
    for (;;) {
        const size_t slash = relative.find('/', start);
        const std::string part = relative.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
        if (part.empty() || part == "." || part == "..") {
            close(fd);
            return -EINVAL;
        }
        if (slash == std::string::npos) {
            *last = part;
            return fd;
        }
        const int next = openat(fd, part.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        const int error = errno;
        close(fd);
        if (next < 0)
            return -error;
        fd = next;
        start = slash + 1;
    }
}

int RemoveBeneath(const std::string& dir, const std::string& relative, bool directory)
{
    std::string last;
    const int fd = OpenParentBeneath(dir, relative, &last);
    if (fd < 0)
        return -fd;
    struct stat st;
    int error = 0;
    if (fstatat(fd, last.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        error = errno;
    else if (directory && !S_ISDIR(st.st_mode))
        error = S_ISLNK(st.st_mode) ? ELOOP : ENOTDIR;
    else if (!directory && S_ISDIR(st.st_mode))
        error = EISDIR;
    else if (!directory && !S_ISREG(st.st_mode))
        error = EPERM;
    else if (unlinkat(fd, last.c_str(), directory ? AT_REMOVEDIR : 0) != 0)
        error = errno == EEXIST ? ENOTEMPTY : errno;
    close(fd);
    return error;
}

} // namespace

bool PathFileId(const std::string& path, FileId* id)
{
    struct stat st;
    if (lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return true;
    *id = {(uint64_t)st.st_dev, (uint64_t)st.st_ino};
    return false;
}

bool OpenFileId(FILE* file, FileId* id)
{
    struct stat st;
    if (!file || fstat(fileno(file), &st) != 0)
        return true;
    *id = {(uint64_t)st.st_dev, (uint64_t)st.st_ino};
    return false;
}

std::string SystemErrorText(int code)
{
    char buf[256];
    // The GNU strerror_r: the text may be in buf or a constant of the library's.
    return strerror_r(code, buf, sizeof buf);
}

std::string RealPath(const std::string& path)
{
    char* const resolved = realpath(path.c_str(), nullptr);
    if (!resolved)
        return "";
    std::string result = resolved;
    free(resolved);
    return result;
}

bool AppendToFile(const std::string& path, const std::string& text, bool truncate)
{
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_NOFOLLOW | O_CLOEXEC | (truncate ? O_TRUNC : 0),
                        0644);
    if (fd < 0)
        return true;
    bool failed = false;
    for (size_t done = 0; done < text.size();) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            failed = true;
            break;
        }
        done += (size_t)n;
    }
    return close(fd) != 0 || failed;
}

int LockDirectory(const std::string& dir, int* lock)
{
    *lock = -1;
    const int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    // Each open is its own lock holder, even within one process.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno == EWOULDBLOCK ? LOCK_HELDELSEWHERE : errno;
        close(fd);
        return error;
    }
    *lock = fd;
    return 0;
}

void UnlockDirectory(int lock)
{
    if (lock >= 0)
        close(lock);    // the lock goes with the descriptor
}

int RemoveFileBeneath(const std::string& dir, const std::string& relative)
{
    return RemoveBeneath(dir, relative, false);
}

int RemoveDirBeneath(const std::string& dir, const std::string& relative)
{
    return RemoveBeneath(dir, relative, true);
}
