// How the install and the uninstall fail: a plain text (thrown as a std::string: a missing item's name
// or one of the texts below) or a SUPEREXCEPTION, a failed operation with the system's error code.
// Either is caught once, by the walk's caller, and shown in one box.
#pragma once
#include <cstdint>
#include <string>

struct SUPEREXCEPTION {
    std::string text;   // the operation that failed
    int32_t code;       // the system's error code when it failed
};

// The plain texts.
inline constexpr char PACKAGE_INVALID[] = "INSTALL.DLL is loaded, but not a valid install package.";
inline constexpr char COMPONENT_INVALID[] = "This is not a valid install package component.";
inline constexpr char INSTALLDIR_INVALID[] = "Please choose a full path for the install directory, such as ~/Games/Gorvanel/";
inline constexpr char INSTALLDIR_MOVED[] = "The install directory now leads somewhere else, so nothing was removed: ";

// The operations a SUPEREXCEPTION names.
inline constexpr char OP_INSTALLDIR[] = "SetCurrentDirectory(installdirectory)";
inline constexpr char OP_LOADCOMPONENT[] = "currentinst=LoadLibrary(ptr)";
inline constexpr char OP_WRITEFILE[] = "f=fopen(ptr,\"wb\")";
inline constexpr char OP_SUBDIR[] = "_mkdir(ptr)";
inline constexpr char OP_PLACEFILE[] = "rename(temp,ptr)";
inline constexpr char OP_WRITERECORD[] = "RegSetValueEx(installed)";
inline constexpr char OP_DELETEFILE[] = "DeleteFile(ptr)";
inline constexpr char OP_DELETERECORD[] = "RegDeleteKey(installed)";
inline constexpr char OP_OPENRECORD[] = "RegOpenKeyEx(regkey)";

enum FailureWalk { WALK_INSTALL, WALK_UNINSTALL };

std::string FailureMessage(FailureWalk walk, const std::string& text);        // for a plain text
std::string FailureMessage(FailureWalk walk, const SUPEREXCEPTION& failure);  // for an operation, its code and the system's words
std::string ErrorText(int32_t code);        // the words for an error code (the system's, or the record's and the swap's own)
