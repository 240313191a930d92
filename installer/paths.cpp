// Path rules of the install.
#include "installer/paths.h"

#include <filesystem>

#include "common/strutil.h"
#include "platform/cp1252.h"

namespace fs = std::filesystem;

namespace {

bool IsSafePart(const std::string& part)
{
    if (part.empty() || part == "." || part == "..")
        return false;
    for (const char c : part)
        if ((unsigned char)c < 0x20 || c == 0x7F || c == '/' || c == '\\')
            return false;
    return true;
}

// The system's own trees: nothing is installed anywhere in them.
const char* const systemtrees[] = {"bin", "boot", "dev", "etc", "lib", "lib32", "lib64", "libx32", "proc",
                                   "run", "sbin", "sys", "usr", "var"};
// Folders that hold other folders, each of its own: an install goes into a folder of its own below them.
const char* const systemfolders[] = {"/", "/home/", "/media/", "/mnt/", "/opt/", "/srv/", "/tmp/", "/root/"};

// The home prefixes a typed directory may start with.
const char* const homeprefixes[] = {"${HOME}", "$HOME", "~"};

} // namespace

bool IsSafeRelativePath(const std::string& path)
{
    size_t start = 0;
    for (;;) {
        const size_t slash = path.find('/', start);
        if (!IsSafePart(path.substr(start, slash == std::string::npos ? std::string::npos : slash - start)))
            return false;
        if (slash == std::string::npos)
            return true;
        start = slash + 1;
    }
}

bool IsBareFileName(const std::string& name)
{
    return IsSafePart(name);
}

std::string PackagePath(const std::string& name)
{
    std::string path = Cp1252ToUtf8(name);
    for (char& c : path)
        if (c == '\\')
            c = '/';
    return IsSafeRelativePath(path) ? path : "";
}

std::string FoldPath(const std::string& path)
{
    return ToLowerString(path);
}

std::string FullInstallDir(const std::string& typed, const char* home)
{
    std::string dir = Trim(typed);
    for (const char* prefix : homeprefixes) {
        const std::string p = prefix;
        if (dir.compare(0, p.size(), p) == 0 && (dir.size() == p.size() || dir[p.size()] == '/')) {
            if (!home || home[0] != '/')
                return "";
            dir = home + dir.substr(p.size());
            break;
        }
    }
    if (dir.empty() || dir[0] != '/')
        return "";
    for (const char c : dir)
        if ((unsigned char)c < 0x20 || c == 0x7F)
            return "";
    std::string normal = fs::path(dir).lexically_normal().string();
    if (normal.empty() || normal.back() != '/')
        normal += '/';
    return normal;
}

std::string ExpandInstallDir(const std::string& typed, const char* home)
{
    const std::string dir = FullInstallDir(typed, home);
    return dir == "/" ? "" : dir;
}

bool IsSystemFolder(const std::string& dir)
{
    for (const char* top : systemtrees) {
        const std::string tree = std::string("/") + top + "/";
        if (dir.compare(0, tree.size(), tree) == 0)
            return true;
    }
    for (const char* folder : systemfolders)
        if (dir == folder)
            return true;
    return false;
}

std::string SystemFolderRefusal(const std::string& dir, const char* home)
{
    const std::string own = home && home[0] == '/' ? ExpandInstallDir("~/Games/Gorvanel/", home) : "~/Games/Gorvanel/";
    return dir + " is a folder of the system: the game's files would lie among the system's own, where "
                 "removing them again could harm it.\nPlease choose a folder of your own, such as " + own;
}
