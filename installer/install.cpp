// Installing: the plan and its work names recorded first (the journal), then every file written whole
// in a private staging folder, then all moved into place by the shared swap, then the record. Until
// the record is written nothing is final: a failure undoes every step taken, in reverse, and a kill
// is undone by the next install or uninstall from the journal.
#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <random>

#include "common/swap.h"
#include "installer/failure.h"
#include "installer/journal.h"
#include "installer/plan.h"
#include "installer/record.h"
#include "installer/walks.h"
#include "platform/files.h"

namespace fs = std::filesystem;

void (*installstephook)(const char* step, size_t done) = nullptr;

namespace {

void Step(const char* step, size_t done)
{
    if (installstephook)
        installstephook(step, done);
}

fs::file_type TypeOf(const std::string& path, bool followlinks)
{
    std::error_code error;
    return (followlinks ? fs::status(path, error) : fs::symlink_status(path, error)).type();
}

// A name for the staging folder that nothing in the directory has.
std::string NewStagingName(const std::string& dir)
{
    std::random_device random;
    for (;;) {
        char tag[24];
        snprintf(tag, sizeof tag, "%08x%08x", (unsigned)random(), (unsigned)random());
        const std::string name = dir + STAGING_PREFIX + tag;
        if (TypeOf(name, false) == fs::file_type::not_found)
            return name;
    }
}

// What the install will do, worked out before it does anything.
InstallJournal PlanJournal(const InstallPlan& plan, const std::string& dir, const std::string& regkey)
{
    InstallJournal j;
    j.dir = dir;
    j.staging = NewStagingName(dir);
    std::string before;
    j.fresh = ReadRecordValue(regkey, VALUE_INSTALLED, &before);
    // The directories on the way may be links (the user chose them), those below it may not.
    for (size_t slash = dir.find('/', 1); slash != std::string::npos; slash = dir.find('/', slash + 1))
        if (TypeOf(dir.substr(0, slash), true) == fs::file_type::not_found)
            j.newdirs.push_back(dir.substr(0, slash));
    for (const std::string& sub : plan.subdirs)
        if (TypeOf(dir + sub, false) == fs::file_type::not_found)
            j.newdirs.push_back(dir + sub);
    for (const PlannedFile& file : plan.files)
        j.files.push_back({file.path, TypeOf(dir + file.path, false) != fs::file_type::not_found});
    return j;
}

void MakeDirectories(const InstallPlan& plan, const InstallJournal& j, SwapLog* log)
{
    const std::string& dir = j.dir;
    for (size_t slash = dir.find('/', 1); slash != std::string::npos; slash = dir.find('/', slash + 1))
        if (const int code = MakeSwapDirectory(dir.substr(0, slash), true, log))
            throw SUPEREXCEPTION{OP_INSTALLDIR, code};
    for (const std::string& sub : plan.subdirs)
        if (const int code = MakeSwapDirectory(dir + sub, false, log))
            throw SUPEREXCEPTION{OP_SUBDIR, code};
    // The staging folder is the install's alone: no package name can reach into it.
    if (const int code = MakeSwapDirectory(j.staging, false, log))
        throw SUPEREXCEPTION{OP_SUBDIR, code};
    std::error_code error;
    fs::permissions(j.staging, fs::perms::owner_all, error);
}

void WriteStaged(const InstallPlan& plan, const InstallJournal& j, std::vector<FileId>* ids)
{
    for (size_t i = 0; i < plan.files.size(); i++) {
        const PlannedFile& file = plan.files[i];
        if (const int code = WriteNewFile(StagedName(j, i), file.data, file.size, file.executable, &(*ids)[i]))
            throw SUPEREXCEPTION{OP_WRITEFILE, code};
        Step("written", i + 1);
    }
}

void PlaceFiles(const InstallPlan& plan, const InstallJournal& j, const std::vector<FileId>& ids, SwapLog* log)
{
    for (size_t i = 0; i < plan.files.size(); i++) {
        if (const int code = PlaceWorkFile(StagedName(j, i), ids[i], j.dir + plan.files[i].path, BackupName(j, i),
                                           false, log))
            throw SUPEREXCEPTION{OP_PLACEFILE, code};
        Step("placed", i + 1);
    }
}

void AddMissing(std::vector<std::string>* list, const std::string& item)
{
    if (std::find(list->begin(), list->end(), item) == list->end())
        list->push_back(item);
}

// The record of this install. Installed again into the same directory, what the first install wrote
// stays listed: it is still ours to remove.
void WriteRecord(const InstallPlan& plan, const InstallJournal& j, const std::string& regkey)
{
    std::vector<std::string> files;
    std::vector<std::string> dirs;
    std::string before;
    if (!ReadRecordValue(regkey, VALUE_INSTALLED, &before) && before == j.dir) {
        ReadRecordList(regkey, VALUE_FILES, &files);
        ReadRecordList(regkey, VALUE_DIRECTORIES, &dirs);
    }
    for (const PlannedFile& file : plan.files)
        AddMissing(&files, file.path);
    for (const std::string& made : j.newdirs)
        AddMissing(&dirs, made);
    // Where the directory leads now, every link followed: an uninstall removes nothing should it later
    // lead elsewhere.
    const std::string resolved = RealPath(j.dir);
    int code = resolved.empty() ? ENOENT : 0;
    if (code == 0)
        code = WriteRecordValue(regkey, VALUE_RESOLVED, resolved + "/");
    if (code == 0)
        code = WriteRecordList(regkey, VALUE_DIRECTORIES, dirs);
    if (code == 0)
        code = WriteRecordList(regkey, VALUE_FILES, files);
    // "installed" last: it is what says the install is there.
    if (code == 0)
        code = WriteRecordValue(regkey, VALUE_INSTALLED, j.dir);
    if (code != 0)
        throw SUPEREXCEPTION{OP_WRITERECORD, code};
}

// The staged files never placed: they go before the undo empties the staging folder.
void RemoveUnplaced(const InstallJournal& j)
{
    for (size_t i = 0; i < j.files.size(); i++) {
        std::error_code ignored;
        if (TypeOf(StagedName(j, i), false) == fs::file_type::regular)
            fs::remove(StagedName(j, i), ignored);
    }
}

} // namespace

void InstallFiles(const InstallPlan& plan, const std::string& dir, const std::string& regkey)
{
    InstallJournal j = PlanJournal(plan, dir, regkey);
    if (const int code = WriteRecordValue(regkey, VALUE_JOURNAL, FormatJournal(j))) {
        if (j.fresh)
            DeleteRecordKey(regkey);
        throw SUPEREXCEPTION{OP_WRITERECORD, code};
    }
    SwapLog log;
    try {
        MakeDirectories(plan, j, &log);
        Step("directories", 0);
        std::vector<FileId> ids(plan.files.size());
        WriteStaged(plan, j, &ids);
        PlaceFiles(plan, j, ids, &log);
        WriteRecord(plan, j, regkey);
        Step("recorded", plan.files.size());
    } catch (...) {
        RemoveUnplaced(j);
        UndoSwap(&log);
        DeleteRecordValue(regkey, VALUE_JOURNAL);
        if (j.fresh)
            DeleteRecordKey(regkey);
        throw;
    }
    // Recorded: from here on a cut-short install is finished, not undone.
    j.committed = true;
    WriteRecordValue(regkey, VALUE_JOURNAL, FormatJournal(j));
    KeepSwap(&log);
    RemoveStaging(j);
    DeleteRecordValue(regkey, VALUE_JOURNAL);
}
