// Installing: the plan and its work names recorded first (the journal), then every file written whole
// in a private staging folder, then all moved into place by the shared swap, then the record; every
// step through the install directory's handle, never through a link. Until
// the record is written nothing is final: a failure undoes every step taken, in reverse, and a kill
// is undone by the next install or uninstall from the journal.
#include <algorithm>
#include <cerrno>
#include <random>

#include "common/gamedir.h"
#include "common/swap.h"
#include "installer/failure.h"
#include "installer/journal.h"
#include "installer/plan.h"
#include "installer/record.h"
#include "installer/walks.h"
#include "platform/dirhandle.h"
#include "platform/files.h"

void (*installstephook)(const char* step, size_t done) = nullptr;

namespace {

void Step(const char* step, size_t done)
{
    if (installstephook)
        installstephook(step, done);
}

FileKind KindOf(int dir, const std::string& relative)
{
    FileKind kind = KIND_NONE;
    KindBeneath(dir, relative, &kind);
    return kind;
}

// A name for the staging folder that nothing in the directory has.
std::string NewStagingName(int dir)
{
    std::random_device random;
    for (;;) {
        char tag[24];
        snprintf(tag, sizeof tag, "%08x%08x", (unsigned)random(), (unsigned)random());
        const std::string name = STAGING_PREFIX + std::string(tag);
        if (KindOf(dir, name) == KIND_NONE)
            return name;
    }
}

// What the install will do, worked out before it does anything.
InstallJournal PlanJournal(const InstallPlan& plan, const GameDir& held, const std::vector<std::string>& madeway,
                           const std::string& regkey)
{
    InstallJournal j;
    j.dir = held.path;
    j.staging = NewStagingName(held.handle);
    j.run = RunIdentity();
    std::string before;
    j.fresh = ReadRecordValue(regkey, VALUE_INSTALLED, &before);
    j.newdirs = madeway;
    for (const std::string& sub : plan.subdirs)
        if (KindOf(held.handle, sub) == KIND_NONE)
            j.newdirs.push_back(j.dir + sub);
    for (const PlannedFile& file : plan.files)
        j.files.push_back({file.path, KindOf(held.handle, file.path) != KIND_NONE});
    return j;
}

void MakeDirectories(const InstallPlan& plan, const InstallJournal& j, SwapLog* log)
{
    for (const std::string& sub : plan.subdirs)
        if (const int code = MakeSwapDirectory(log, sub))
            throw SUPEREXCEPTION{OP_SUBDIR, code};
    // The staging folder is the install's alone: no package name can reach into it.
    if (const int code = MakeSwapDirectory(log, j.staging))
        throw SUPEREXCEPTION{OP_SUBDIR, code};
    SetModeBeneath(log->dir, j.staging, 0700);
}

void WriteStaged(const InstallPlan& plan, const InstallJournal& j, int dir, std::vector<FileId>* ids)
{
    for (size_t i = 0; i < plan.files.size(); i++) {
        const PlannedFile& file = plan.files[i];
        if (const int code = WriteNewFileBeneath(dir, StagedName(j, i), file.data, file.size,
                                                 file.executable ? 0755 : 0644, &(*ids)[i]))
            throw SUPEREXCEPTION{OP_WRITEFILE, code};
        Step("written", i + 1);
    }
}

void PlaceFiles(const InstallPlan& plan, const InstallJournal& j, const std::vector<FileId>& ids, SwapLog* log)
{
    for (size_t i = 0; i < plan.files.size(); i++) {
        if (const int code = PlaceWorkFile(log, StagedName(j, i), ids[i], plan.files[i].path, BackupName(j, i), false))
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
void RemoveUnplaced(const InstallJournal& j, int dir)
{
    for (size_t i = 0; i < j.files.size(); i++)
        RemoveFileBeneath(dir, StagedName(j, i));
}

} // namespace

void InstallFiles(const InstallPlan& plan, const GameDir& held, const std::vector<std::string>& madeway,
                  const std::string& regkey)
{
    InstallJournal j = PlanJournal(plan, held, madeway, regkey);
    if (const int code = WriteRecordValue(regkey, VALUE_JOURNAL, FormatJournal(j))) {
        if (j.fresh)
            DeleteRecordKey(regkey);
        throw SUPEREXCEPTION{OP_WRITERECORD, code};
    }
    SwapLog log;
    log.dir = held.handle;
    try {
        MakeDirectories(plan, j, &log);
        Step("directories", 0);
        std::vector<FileId> ids(plan.files.size());
        WriteStaged(plan, j, held.handle, &ids);
        PlaceFiles(plan, j, ids, &log);
        WriteRecord(plan, j, regkey);
        Step("recorded", plan.files.size());
    } catch (...) {
        RemoveUnplaced(j, held.handle);
        UndoSwap(&log);
        RemoveStaging(j, held.handle, false);
        DeleteRecordValue(regkey, VALUE_JOURNAL);
        if (j.fresh)
            DeleteRecordKey(regkey);
        throw;
    }
    // Recorded: from here on a cut-short install is finished, not undone.
    j.committed = true;
    WriteRecordValue(regkey, VALUE_JOURNAL, FormatJournal(j));
    KeepSwap(&log);
    RemoveStaging(j, held.handle, true);
    DeleteRecordValue(regkey, VALUE_JOURNAL);
}
