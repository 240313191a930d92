// Files handled with care: identities, descriptions of errors, appending without following a link.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "platform/files.h"

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

namespace {

// The process's start in clock ticks since boot (field 22 of /proc/<pid>/stat); "" when there is none.
std::string ProcessStart(const std::string& pid)
{
    std::vector<uint8_t> stat;
    if (ReadWholeFile(("/proc/" + pid + "/stat").c_str(), 4096, stat))
        return "";
    const std::string text(stat.begin(), stat.end());
    // The name in parentheses may hold anything: the fields count from its closing one.
    size_t at = text.rfind(')');
    for (int field = 2; at != std::string::npos && field < 22; field++)
        at = text.find(' ', at + 1);
    if (at == std::string::npos)
        return "";
    return text.substr(at + 1, text.find(' ', at + 1) - at - 1);
}

std::string BootId()
{
    std::vector<uint8_t> id;
    if (ReadWholeFile("/proc/sys/kernel/random/boot_id", 64, id))
        return "";
    std::string text(id.begin(), id.end());
    return text.substr(0, text.find('\n'));
}

} // namespace

std::string RunIdentity()
{
    const std::string pid = std::to_string(getpid());
    return BootId() + " " + pid + " " + ProcessStart(pid);
}

bool IsRunAlive(const std::string& identity)
{
    const size_t first = identity.find(' ');
    const size_t second = first == std::string::npos ? first : identity.find(' ', first + 1);
    if (second == std::string::npos)
        return false;
    const std::string pid = identity.substr(first + 1, second - first - 1);
    if (pid.empty() || pid.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const std::string start = ProcessStart(pid);
    return identity.substr(0, first) == BootId() && !start.empty() && identity.substr(second + 1) == start;
}
