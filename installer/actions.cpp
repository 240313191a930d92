// What the buttons do: install, uninstall and play, with the boxes that tell how it went.
#include <cerrno>

#include "installer/installer.h"
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

bool ReadInstalledPath(std::string* text)
{
    if (!RecordKeyExists(regkey)) {
        *text = "Couldn't open registry key " + regkey + ".\nError code: " + std::to_string(ENOENT);
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
    // From its own directory, as the game expects, and in a session of its own.
    if (SetCurrentDir(dir.c_str()) || StartProgram(("\"" + dir + Cp1252ToUtf8(executename) + "\"").c_str()))
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
