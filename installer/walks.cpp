// The two walks with their failures caught: the one place that turns a failure into its message.
#include <cstdlib>

#include "installer/failure.h"
#include "installer/paths.h"
#include "installer/plan.h"
#include "installer/record.h"
#include "installer/walks.h"

std::string RunInstall(const Module* package, const std::string& startdir, const std::string& typed,
                       const std::string& regkey)
{
    try {
        const std::string dir = ExpandInstallDir(typed, getenv("HOME"));
        if (dir.empty())
            throw std::string(INSTALLDIR_INVALID);
        RecoverInterruptedInstall(regkey);
        InstallPlan plan;
        ReadInstallPlan(package, startdir, &plan);
        InstallFiles(plan, dir, regkey);
    } catch (const std::string& text) {
        return FailureMessage(WALK_INSTALL, text);
    } catch (const SUPEREXCEPTION& failure) {
        return FailureMessage(WALK_INSTALL, failure);
    }
    return "";
}

std::string RunUninstall(const Module* package, const std::string& startdir, const std::string& regkey,
                         const std::string& dir)
{
    try {
        if (const int code = RecordKeyError(regkey); code == RECORD_LINKED || code == RECORD_NOKEY)
            throw SUPEREXCEPTION{OP_OPENRECORD, code};
        RecoverInterruptedInstall(regkey);
        // An install cut short and now undone leaves nothing to uninstall.
        std::string recorded;
        if (ReadRecordValue(regkey, VALUE_INSTALLED, &recorded))
            return "";
        UninstallFiles(package, startdir, regkey, dir);
    } catch (const std::string& text) {
        return FailureMessage(WALK_UNINSTALL, text);
    } catch (const SUPEREXCEPTION& failure) {
        return FailureMessage(WALK_UNINSTALL, failure);
    }
    return "";
}
