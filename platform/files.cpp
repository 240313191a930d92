// Windows-style names on a case-sensitive file system, and starting our other programs.
#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

extern char** environ;

namespace {

// Our executables, spelt as built; a name matching one ignoring case becomes it.
const char* const programnames[] = {"update", "Gorvanel"};

bool SameIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); i++) {
        char x = a[i];
        char y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = (char)(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = (char)(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

bool PathExists(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

// The entry of dir whose name equals part ignoring case; the first in byte order when several do.
bool FindIgnoringCase(const std::string& dir, const std::string& part, std::string* found)
{
    DIR* const d = opendir(dir.empty() ? "." : dir.c_str());
    if (!d)
        return false;
    bool any = false;
    while (const dirent* entry = readdir(d)) {
        const std::string_view candidate = entry->d_name;
        if (SameIgnoringCase(candidate, part) && (!any || candidate < *found)) {
            *found = candidate;
            any = true;
        }
    }
    closedir(d);
    return any;
}

// '\' to '/' and no leading "./".
std::string ConvertName(const char* name)
{
    std::string path = name ? name : "";
    for (char& c : path)
        if (c == '\\')
            c = '/';
    while (path.size() > 2 && path[0] == '.' && path[1] == '/')
        path.erase(0, 2);
    return path;
}

} // namespace

int WriteAllSynced(int fd, const void* bytes, size_t size)
{
    const char* at = static_cast<const char*>(bytes);
    while (size > 0) {
        const ssize_t written = write(fd, at, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return written < 0 ? errno : EIO;
        at += written;
        size -= (size_t)written;
    }
    return fsync(fd) != 0 ? errno : 0;
}

std::string ResolvePath(const char* name)
{
    const std::string path = ConvertName(name);
    if (path.empty() || PathExists(path))
        return path;

    // Walk the parts; from the first that matches nothing on, keep the rest as given so that a new
    // file can still be created in an existing directory.
    std::string resolved;
    size_t pos = 0;
    if (path[0] == '/') {
        resolved = "/";
        pos = 1;
    }
    bool matching = true;
    while (pos <= path.size()) {
        size_t end = path.find('/', pos);
        if (end == std::string::npos)
            end = path.size();
        const std::string part = path.substr(pos, end - pos);
        std::string actual = part;
        if (matching && !part.empty() && part != "." && part != "..") {
            const std::string exact = resolved + part;
            if (!PathExists(exact) && !FindIgnoringCase(resolved, part, &actual))
                matching = false;
        }
        resolved += actual;
        if (end < path.size())
            resolved += '/';
        pos = end + 1;
    }
    return resolved;
}

std::string ProgramPath(const char* name)
{
    std::string path = ConvertName(name);
    // The installer hands over a quoted command.
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"')
        path = ConvertName(path.substr(1, path.size() - 2).c_str());
    const size_t slash = path.rfind('/');
    const size_t basestart = slash == std::string::npos ? 0 : slash + 1;
    std::string base = path.substr(basestart);
    if (base.size() > 4 && SameIgnoringCase(std::string_view(base).substr(base.size() - 4), ".exe"))
        base.resize(base.size() - 4);
    for (const char* program : programnames)
        if (SameIgnoringCase(base, program))
            base = program;
    return ResolvePath((path.substr(0, basestart) + base).c_str());
}

bool StartProgram(const char* name)
{
    const std::string path = ProgramPath(name);
    // Its own session, so that it outlives us and our terminal; nobody waits for it.
    posix_spawnattr_t attr;
    if (posix_spawnattr_init(&attr) != 0)
        return true;
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID);
    std::vector<char> arg0(path.begin(), path.end());
    arg0.push_back('\0');
    char* const argv[] = {arg0.data(), nullptr};
    pid_t pid;
    const int failed = posix_spawn(&pid, path.c_str(), nullptr, &attr, argv, environ);
    posix_spawnattr_destroy(&attr);
    return failed != 0;
}

bool FileExists(const char* name)
{
    struct stat st;
    return stat(ResolvePath(name).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DirectoryExists(const char* name)
{
    struct stat st;
    return stat(ResolvePath(name).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string GetCurrentDir()
{
    std::vector<char> buf(PATH_MAX);
    for (;;) {
        if (getcwd(buf.data(), buf.size()))
            return buf.data();
        if (errno != ERANGE)
            return "";
        buf.resize(buf.size() * 2);
    }
}

namespace {

// Opens a regular file of at most limit bytes for reading; -1 on failure with errno set, else the
// descriptor and its size.
int OpenWholeFile(const char* name, size_t limit, size_t* size)
{
    // Not blocking: opening a pipe with no writer would otherwise wait for one.
    const int fd = open(ResolvePath(name).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat st;
    int error = 0;
    if (fstat(fd, &st) != 0)
        error = errno;
    else if (!S_ISREG(st.st_mode))
        error = EINVAL;
    else if ((uint64_t)st.st_size > limit)
        error = EFBIG;
    if (error != 0) {
        close(fd);
        errno = error;
        return -1;
    }
    *size = (size_t)st.st_size;
    return fd;
}

} // namespace

bool ReadWholeFile(const char* name, size_t limit, std::vector<uint8_t>& bytes)
{
    bytes.clear();
    size_t expected = 0;
    const int fd = OpenWholeFile(name, limit, &expected);
    if (fd < 0)
        return true;
    // Read straight into a buffer of the file's size; the file may grow while it is read, and one byte
    // past the limit says so.
    bytes.resize(std::min(expected, limit) + 1);
    size_t have = 0;
    int error = 0;
    while (error == 0) {
        if (have == bytes.size()) {
            if (have > limit) {
                error = EFBIG;
                break;
            }
            bytes.resize(std::min(have * 2, limit + 1));
        }
        const ssize_t got = read(fd, bytes.data() + have, bytes.size() - have);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            error = errno;
        else if (got == 0)
            break;
        else
            have += (size_t)got;
    }
    close(fd);
    if (error == 0 && have > limit)
        error = EFBIG;
    if (error != 0) {
        bytes.clear();
        errno = error;
        return true;
    }
    bytes.resize(have);
    return false;
}

bool MapWholeFile(const char* name, size_t limit, MappedFile* file)
{
    *file = {nullptr, 0};
    size_t size = 0;
    const int fd = OpenWholeFile(name, limit, &size);
    if (fd < 0)
        return true;
    void* const data = size > 0 ? mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0) : nullptr;
    const int error = data == MAP_FAILED ? errno : 0;
    close(fd);
    if (error != 0) {
        errno = error;
        return true;
    }
    *file = {(const uint8_t*)data, size};
    return false;
}

void ReleaseFilePages(const MappedFile& file)
{
    if (file.data)
        madvise((void*)file.data, file.size, MADV_DONTNEED);
}

void UnmapFile(MappedFile* file)
{
    if (file->data)
        munmap((void*)file->data, file->size);
    *file = {nullptr, 0};
}

bool SetCurrentDir(const char* name)
{
    return chdir(ResolvePath(name).c_str()) != 0;
}

bool WriteFileReplacing(const char* name, const std::string& bytes)
{
    const std::string path = ResolvePath(name);
    if (path.empty())
        return true;
    // A file of our own beside the target, so the rename stays on one file system.
    std::vector<char> temp(path.begin(), path.end());
    const char suffix[] = ".XXXXXX";
    temp.insert(temp.end(), suffix, suffix + sizeof suffix);
    const int fd = mkstemp(temp.data());
    if (fd < 0)
        return true;
    // mkstemp makes the file private; give it the usual permissions of a user's file.
    bool failed = fchmod(fd, 0644) != 0 || WriteAllSynced(fd, bytes.data(), bytes.size()) != 0;
    if (close(fd) != 0)
        failed = true;
    if (!failed && rename(temp.data(), path.c_str()) != 0)
        failed = true;
    if (failed)
        unlink(temp.data());
    return failed;
}

bool SyncFile(FILE* file)
{
    return fflush(file) != 0 || fsync(fileno(file)) != 0;
}
