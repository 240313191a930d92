// What the buttons do: install, uninstall and play, with the boxes that tell how it went.
#include <cerrno>
#include <cstdlib>

#include "installer/failure.h"
#include "installer/installer.h"
#include "installer/paths.h"
#include "installer/record.h"
#include "installer/walks.h"
#include "platform/cp1252.h"
#include "platform/dialog.h"
#include "platform/files.h"

namespace {

void ShowError(const std::string& text)
{
    AskMessageBox("Error", text.c_str(), BOXICON_ERROR, BOXBUTTONS_OK);
}

} // namespace

bool IsInstalled()
{
    std::string dir;
    return !ReadRecordValue(regkey, VALUE_INSTALLED, &dir);
}

std::string InstallDirRefusal(const std::string& typed)
{
    const char* const home = getenv("HOME");
    const std::string dir = FullInstallDir(Cp1252ToUtf8(typed), home);
    if (dir.empty())
        return INSTALLDIR_INVALID;
    return IsSystemFolder(dir) ? Utf8ToCp1252(SystemFolderRefusal(dir, home)) : "";
}

bool ReadInstalledPath(std::string* text)
{
    if (const int error = RecordKeyError(regkey)) {
        const int code = error == RECORD_MISSING ? ENOENT : error;
        *text = "Couldn't open registry key " + regkey + ".\nError code: " + std::to_string(code) + " ("
                + Utf8ToCp1252(ErrorText(code)) + ")";
        ShowError(*text);
        return true;
    }
    if (ReadRecordValue(regkey, VALUE_INSTALLED, text)) {
        text->clear();
        ShowError("Unable to locate installed program files.");
        return true;
    }
    return false;
}

bool PlayInstalledProgram()
{
    std::string dir;
    if (ReadInstalledPath(&dir))
        return true;
    // Only a program inside the install directory is started, however the package names it.
    const std::string program = PackagePath(executename);
    const std::string inside = RealPath(dir) + "/";
    const std::string resolved = program.empty() ? "" : RealPath(dir + program);
    if (inside.size() < 2 || resolved.compare(0, inside.size(), inside) != 0) {
        ShowError("Unable to start " + Utf8ToCp1252(dir) + executename + ": it is not inside the install directory.");
        return true;
    }
    // From its own directory, as the game expects, and in a session of its own.
    if (SetCurrentDir(dir.c_str()) || StartProgram(("\"" + dir + program + "\"").c_str()))
        ShowError("Unable to start " + Utf8ToCp1252(dir) + executename + ".");
    return true;
}

void InstallPackage()
{
    const std::string failure = RunInstall(packagemodule, startdir, Cp1252ToUtf8(installdir), regkey);
    if (!failure.empty()) {
        ShowError(Utf8ToCp1252(failure));
        SetInstallerScreen(SCREEN_NOTINSTALLED);
        return;
    }
    AskMessageBox("Success!", "\n              Installation complete!              \n", BOXICON_INFORMATION,
                  BOXBUTTONS_OK);
    installed = 1;
    SetInstallerScreen(SCREEN_INSTALLED);
}

void UninstallPackage()
{
    std::string dir;
    if (ReadInstalledPath(&dir))
        return;
    const std::string failure = RunUninstall(packagemodule, startdir, regkey, dir);
    if (!failure.empty()) {
        ShowError(Utf8ToCp1252(failure));
        return;
    }
    AskMessageBox("Success", "Uninstall successful.", BOXICON_INFORMATION, BOXBUTTONS_OK);
    installed = 0;
    SetInstallerScreen(SCREEN_NOTINSTALLED);
}
