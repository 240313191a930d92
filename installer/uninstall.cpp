// Uninstalling: the files the record lists, the folders the install made, then the record; through
// the install directory's handle, never through a link.
#include <cerrno>
#include <filesystem>

#include "common/gamedir.h"
#include "installer/failure.h"
#include "installer/package.h"
#include "installer/paths.h"
#include "installer/plan.h"
#include "installer/record.h"
#include "installer/walks.h"
#include "platform/dirhandle.h"

namespace fs = std::filesystem;

namespace {

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
                    const GameDir& held, std::vector<std::string>* way)
{
    CheckPackageHead(package, PACKAGE_INVALID);
    const std::string& dir = held.path;
    std::vector<std::string> files;
    std::vector<std::string> dirs;
    ListInstalled(package, startdir, regkey, dir, &files, &dirs);

    // Each file removed where it lies below the directory, through its handle and never through a
    // link; one that will not go stays listed, so that the next try finds it.
    std::vector<std::string> left;
    int failure = 0;
    for (const std::string& file : files) {
        if (held.handle < 0 || !IsSafeRelativePath(file))
            continue;
        const int code = RemoveFileBeneath(held.handle, file);
        if (code == 0 || code == ENOENT || code == ELOOP || code == ENOTDIR || code == EISDIR || code == EPERM)
            continue;
        failure = code;
        left.push_back(file);
    }
    if (failure != 0) {
        WriteRecordList(regkey, VALUE_FILES, left);
        throw SUPEREXCEPTION{OP_DELETEFILE, failure};
    }

    // The folders it made, the deepest first, each only when nothing is left in it: those inside the
    // directory through its handle, those on the way (and the directory itself) by the caller once
    // the lock is released, only where no link leads.
    for (auto it = dirs.rbegin(); it != dirs.rend(); ++it) {
        if (!NearInstallDir(dir, *it))
            continue;
        if (it->size() > dir.size()) {
            if (held.handle >= 0)
                RemoveDirBeneath(held.handle, it->substr(dir.size()));
        } else
            way->push_back(*it);
    }
    if (const int code = DeleteRecordKey(regkey))
        throw SUPEREXCEPTION{OP_DELETERECORD, code};
}
