// Uninstalling: the files the record lists, the directories the install made, then the record.
#include <cerrno>
#include <filesystem>

#include "installer/failure.h"
#include "installer/package.h"
#include "installer/paths.h"
#include "installer/plan.h"
#include "installer/record.h"
#include "installer/walks.h"
#include "platform/files.h"

namespace fs = std::filesystem;

namespace {

fs::file_type TypeOf(const std::string& path)
{
    std::error_code error;
    return fs::symlink_status(path, error).type();
}

// True for the install directory, a directory on the way to it, or one inside it.
bool NearInstallDir(const std::string& dir, const std::string& made)
{
    if (made.empty() || made[0] != '/' || fs::path(made).lexically_normal().string() != made)
        return false;
    const std::string withslash = made + "/";
    return dir.compare(0, withslash.size(), withslash) == 0 || made.compare(0, dir.size(), dir) == 0;
}

// What the install wrote: the record's lists, or for a record without them, the package's files.
void ListInstalled(const Module* package, const std::string& startdir, const std::string& regkey,
                   const std::string& dir, std::vector<std::string>* files, std::vector<std::string>* dirs)
{
    if (!ReadRecordList(regkey, VALUE_FILES, files)) {
        ReadRecordList(regkey, VALUE_DIRECTORIES, dirs);
        return;
    }
    InstallPlan plan;
    ReadInstallPlan(package, startdir, &plan);
    for (const PlannedFile& file : plan.files)
        files->push_back(file.path);
    for (const std::string& sub : plan.subdirs)
        dirs->push_back(dir + sub);
}

} // namespace

void UninstallFiles(const Module* package, const std::string& startdir, const std::string& regkey,
                    const std::string& dir)
{
    CheckPackageHead(package, PACKAGE_INVALID);
    if (ExpandInstallDir(dir, nullptr) != dir)
        throw std::string(INSTALLDIR_INVALID);
    // The directory must lead where it led at the install: replaced by a link to somewhere else, the
    // same-named files there are someone else's.
    std::string resolved;
    if (ReadRecordValue(regkey, VALUE_RESOLVED, &resolved))
        resolved = dir;
    const std::string now = RealPath(dir);
    if (!now.empty() && now + "/" != resolved)
        throw std::string(INSTALLDIR_MOVED) + dir + " leads to " + now + "/";
    std::vector<std::string> files;
    std::vector<std::string> dirs;
    ListInstalled(package, startdir, regkey, dir, &files, &dirs);

    // Each file removed where it lies below the directory, never through a link; one that will not go
    // stays listed, so that the next try finds it.
    std::vector<std::string> left;
    int failure = 0;
    for (const std::string& file : files) {
        if (now.empty() || !IsSafeRelativePath(file))
            continue;
        const int code = RemoveFileBeneath(now, file);
        if (code == 0 || code == ENOENT || code == ELOOP || code == ENOTDIR || code == EISDIR || code == EPERM)
            continue;
        failure = code;
        left.push_back(file);
    }
    if (failure != 0) {
        WriteRecordList(regkey, VALUE_FILES, left);
        throw SUPEREXCEPTION{OP_DELETEFILE, failure};
    }

    // The directories it made, the deepest first, each only when nothing is left in it and never
    // through a link: those inside the directory below it, those on the way only where no link leads.
    for (auto it = dirs.rbegin(); it != dirs.rend(); ++it) {
        if (!NearInstallDir(dir, *it))
            continue;
        std::error_code ignored;
        if (it->size() > dir.size()) {
            if (!now.empty())
                RemoveDirBeneath(now, it->substr(dir.size()));
        }
        else if (RealPath(*it) == *it && TypeOf(*it) == fs::file_type::directory)
            fs::remove(*it, ignored);
    }
    if (const int code = DeleteRecordKey(regkey))
        throw SUPEREXCEPTION{OP_DELETERECORD, code};
}
