// The two walks with their failures caught: the one place that turns a failure into its message, and
// the one place that holds the install directory (its handle and its lock) for a walk.
#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "common/gamedir.h"
#include "installer/failure.h"
#include "installer/journal.h"
#include "installer/paths.h"
#include "installer/plan.h"
#include "installer/record.h"
#include "installer/walks.h"
#include "platform/dirhandle.h"

namespace {

// Adds the folders of more that list does not hold yet.
void AddFolders(std::vector<std::string>* list, const std::vector<std::string>& more)
{
    for (const std::string& folder : more)
        if (std::find(list->begin(), list->end(), folder) == list->end())
            list->push_back(folder);
}

} // namespace

std::string RunInstall(const Module* package, const std::string& startdir, const std::string& typed,
                       const std::string& regkey)
{
    GameDir held;
    std::vector<std::string> made;      // the folders on the way that this run made (or took over)
    try {
        const char* const home = getenv("HOME");
        const std::string full = FullInstallDir(typed, home);
        if (full.empty())
            throw std::string(INSTALLDIR_INVALID);
        if (IsSystemFolder(full))
            throw SystemFolderRefusal(full, home);
        InstallPlan plan;
        ReadInstallPlan(package, startdir, &plan);

        // The directory made and held: the folders on the way that are links are the user's, the
        // directory itself and everything below are reached through its handle from here on.
        held.path = full;
        if (const int code = MakeDirChain(full, &made, &held.handle))
            throw SUPEREXCEPTION{OP_INSTALLDIR, code};
        std::string busy;
        if (const int code = LockGameDir(&held, HOLDER_INSTALLER, &busy)) {
            if (code != LOCK_HELDELSEWHERE)
                throw SUPEREXCEPTION{OP_INSTALLDIR, code};
            ReleaseGameDir(&held);
            RemoveEmptyFolders(made);
            return busy;
        }
        std::vector<std::string> left;
        busy = RecoverInterruptedInstall(regkey, &held, &left);
        if (!busy.empty()) {
            ReleaseGameDir(&held);
            RemoveEmptyFolders(made);
            return busy;
        }
        // The folders an undone install made on the way are this run's now: recorded if it succeeds.
        std::vector<std::string> way = left;
        AddFolders(&way, made);
        made = way;
        InstallFiles(plan, held, made, regkey);
    } catch (const std::string& text) {
        ReleaseGameDir(&held);
        RemoveEmptyFolders(made);
        return FailureMessage(WALK_INSTALL, text);
    } catch (const SUPEREXCEPTION& failure) {
        ReleaseGameDir(&held);
        RemoveEmptyFolders(made);
        return FailureMessage(WALK_INSTALL, failure);
    }
    return "";
}

std::string RunUninstall(const Module* package, const std::string& startdir, const std::string& regkey,
                         const std::string& dir)
{
    GameDir held;
    std::vector<std::string> way;       // to go once the lock is released
    try {
        if (const int code = RecordKeyError(regkey); code == RECORD_LINKED || code == RECORD_NOKEY)
            throw SUPEREXCEPTION{OP_OPENRECORD, code};
        if (ExpandInstallDir(dir, nullptr) != dir)
            throw std::string(INSTALLDIR_INVALID);
        // The directory must lead where it led at the install: replaced by a link to somewhere else, the
        // same-named files there are someone else's, and so is the folder.
        std::string resolved;
        if (ReadRecordValue(regkey, VALUE_RESOLVED, &resolved))
            resolved = dir;
        const std::string now = RealPath(dir);
        if (!now.empty() && now + "/" != resolved)
            throw std::string(INSTALLDIR_MOVED) + dir + " leads to " + now + "/";
        // Held where it resolved, without a link on the way; a directory that is gone holds nothing.
        std::string busy;
        const int code = now.empty() ? ENOENT : HoldRealGameDir(resolved, HOLDER_INSTALLER, &held, &busy);
        if (code == LOCK_HELDELSEWHERE)
            return busy;
        if (code != 0 && code != ENOENT)
            throw SUPEREXCEPTION{OP_INSTALLDIR, code};
        held.path = dir;
        std::vector<std::string> left;
        busy = RecoverInterruptedInstall(regkey, &held, &left);
        if (!busy.empty())
            return busy;
        AddFolders(&way, left);
        // An install cut short and now undone leaves nothing to uninstall.
        std::string recorded;
        if (!ReadRecordValue(regkey, VALUE_INSTALLED, &recorded))
            UninstallFiles(package, startdir, regkey, held, &way);
    } catch (const std::string& text) {
        return FailureMessage(WALK_UNINSTALL, text);
    } catch (const SUPEREXCEPTION& failure) {
        return FailureMessage(WALK_UNINSTALL, failure);
    }
    ReleaseGameDir(&held);
    RemoveEmptyFolders(way);
    return "";
}
