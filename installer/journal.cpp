// Writing, reading and acting on the install's journal.
#include "installer/journal.h"

#include <algorithm>
#include <filesystem>
#include <regex>
#include <sstream>

#include "common/gamedir.h"
#include "common/swap.h"
#include "installer/paths.h"
#include "installer/record.h"
#include "installer/walks.h"
#include "platform/dirhandle.h"

namespace fs = std::filesystem;

namespace {

bool IsFullNormalPath(const std::string& path)
{
    return !path.empty() && path[0] == '/' && fs::path(path).lexically_normal().string() == path;
}

bool IsStagingName(const std::string& name)
{
    static const std::regex staging(std::string("\\") + STAGING_PREFIX + "[0-9a-f]{16}");
    return std::regex_match(name, staging);
}

// The staging folder is one of ours only when it is a real folder directly in the install directory,
// under our name.
bool IsOurStaging(const InstallJournal& j, int dir)
{
    FileKind kind;
    return IsStagingName(j.staging) && KindBeneath(dir, j.staging, &kind) == 0 && kind == KIND_DIR;
}

// Puts back what the journal's install changed below its directory: the files it replaced, then it
// removes the files it added, its work files and the folders it made inside the directory.
void UndoJournal(const InstallJournal& j, int dir)
{
    const bool staging = IsOurStaging(j, dir);
    for (size_t i = j.files.size(); i-- > 0;) {
        FileKind kind = KIND_NONE;
        if (staging)
            KindBeneath(dir, BackupName(j, i), &kind);
        if (kind == KIND_FILE)
            RenameBeneath(dir, BackupName(j, i), j.files[i].path);
        else if (!j.files[i].existed)
            RemoveFileBeneath(dir, j.files[i].path);
    }
    RemoveStaging(j, dir, false);
    for (auto it = j.newdirs.rbegin(); it != j.newdirs.rend(); ++it)
        if (it->size() > j.dir.size() && it->compare(0, j.dir.size(), j.dir) == 0)
            RemoveDirBeneath(dir, it->substr(j.dir.size()));     // only when empty
}

} // namespace

std::string FormatJournal(const InstallJournal& j)
{
    std::string text = "dir\t" + j.dir + "\nstaging\t" + j.staging + "\nrun\t" + j.run + "\nfresh\t"
                       + (j.fresh ? "1" : "0") + "\n";
    for (const std::string& dir : j.newdirs)
        text += "mkdir\t" + dir + "\n";
    for (const JournalFile& file : j.files)
        text += std::string("file\t") + (file.existed ? "1" : "0") + "\t" + file.path + "\n";
    if (j.committed)
        text += "committed\n";
    return text;
}

bool ParseJournal(const std::string& text, InstallJournal* j)
{
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        const size_t tab = line.find('\t');
        const std::string kind = line.substr(0, tab);
        const std::string rest = tab == std::string::npos ? "" : line.substr(tab + 1);
        if (kind == "dir")
            j->dir = rest;
        else if (kind == "staging")
            j->staging = rest;
        else if (kind == "run")
            j->run = rest;
        else if (kind == "fresh")
            j->fresh = rest == "1";
        else if (kind == "mkdir" && IsFullNormalPath(rest))
            j->newdirs.push_back(rest);
        else if (kind == "file" && rest.size() > 2 && rest[1] == '\t' && IsSafeRelativePath(rest.substr(2)))
            j->files.push_back({rest.substr(2), rest[0] == '1'});
        else if (kind == "committed")
            j->committed = true;
        else
            return true;
    }
    return j->dir.empty() || ExpandInstallDir(j->dir, nullptr) != j->dir || !IsStagingName(j->staging);
}

std::string StagedName(const InstallJournal& j, size_t i)
{
    return j.staging + "/" + std::to_string(i);
}

std::string BackupName(const InstallJournal& j, size_t i)
{
    return StagedName(j, i) + ".previous";
}

void RemoveStaging(const InstallJournal& j, int dir, bool dropbackups)
{
    if (!IsOurStaging(j, dir))
        return;
    // A backup that could not be put back is the user's file: it stays, and so does the folder.
    static const std::regex staged("[0-9]+");
    static const std::regex backup("[0-9]+\\.previous");
    std::vector<std::string> names;
    ListBeneath(dir, j.staging, &names);
    for (const std::string& name : names)
        if (std::regex_match(name, staged) || (dropbackups && std::regex_match(name, backup)))
            RemoveFileBeneath(dir, j.staging + "/" + name);     // regular files only
    RemoveDirBeneath(dir, j.staging);
}

std::vector<std::string> FoldersOnTheWay(const std::vector<std::string>& folders, const std::string& dir)
{
    std::vector<std::string> way;
    for (const std::string& folder : folders)
        if (!folder.empty() && dir.compare(0, folder.size() + 1, folder + "/") == 0)
            way.push_back(folder);
    return way;
}

void RemoveEmptyFolders(const std::vector<std::string>& folders)
{
    std::vector<std::string> deepest = folders;
    std::sort(deepest.begin(), deepest.end(), [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
    for (const std::string& folder : deepest) {
        const fs::path path(folder);
        if (!IsFullNormalPath(folder) || !path.has_parent_path() || RealPath(folder) != folder)
            continue;   // a link on the way: not ours to follow
        RemoveDirBeneath(path.parent_path().string(), path.filename().string());    // only when empty
    }
}

std::string RecoverInterruptedInstall(const std::string& regkey, GameDir* held, std::vector<std::string>* left)
{
    std::string text;
    if (ReadRecordValue(regkey, VALUE_JOURNAL, &text))
        return "";
    InstallJournal j;
    // A journal that cannot be trusted is dropped: acting on it could touch what is not ours.
    if (ParseJournal(text, &j)) {
        DeleteRecordValue(regkey, VALUE_JOURNAL);
        return "";
    }
    // The run that wrote it may still be at work, here or in another folder: its journal is its own.
    if (IsRunAlive(j.run))
        return BUSY_INSTALLER;
    // Under the lock of the journal's directory, which that run held for its life.
    GameDir own;
    GameDir* lock = held && held->handle >= 0 && held->path == j.dir ? held : &own;
    if (lock == &own) {
        std::string busy;
        const int code = HoldGameDir(j.dir, HOLDER_INSTALLER, &own, &busy);
        if (code == LOCK_HELDELSEWHERE)
            return busy;
        // A directory that is gone holds nothing to undo: the folders on the way may still go.
    }
    if (lock->handle >= 0) {
        if (!j.committed)
            UndoJournal(j, lock->handle);
        else
            RemoveStaging(j, lock->handle, true);
    }
    std::vector<std::string> way = FoldersOnTheWay(j.newdirs, j.dir);
    if (j.committed)
        way.clear();    // the install stands: its folders are recorded
    if (lock == held) {
        left->insert(left->end(), way.begin(), way.end());     // the caller's run takes them over
    } else {
        ReleaseGameDir(&own);
        RemoveEmptyFolders(way);
    }
    DeleteRecordValue(regkey, VALUE_JOURNAL);
    if (j.fresh && !j.committed)
        DeleteRecordKey(regkey);
    return "";
}
