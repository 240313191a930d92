// The paths of an install: the names a package may give its files, and the directory the user types.
//
// A package names its files relative to the install directory, with '\' or '/' between the parts; a name
// that could reach outside it (absolute, "..", an empty part) is never used.
#pragma once
#include <string>

// The package's CP1252 name as a '/'-separated UTF-8 path; "" when it is not a safe relative path: no
// empty part, no "." or "..", no control character, nothing absolute.
std::string PackagePath(const std::string& name);
bool IsSafeRelativePath(const std::string& path);       // a '/'-separated UTF-8 path as PackagePath makes
bool IsBareFileName(const std::string& name);           // one safe part: no '/' or '\'
std::string FoldPath(const std::string& path);          // 'A'..'Z' lowered: the game finds files in any case
// The typed directory (UTF-8) made full and normal as ExpandInstallDir does, the root itself included.
std::string FullInstallDir(const std::string& typed, const char* home);
// A full normal directory (ending in '/') that belongs to the system: the root, a folder in the
// system's own trees (/usr, /etc, /proc, ...), or a folder such as /home/ or /tmp/ that holds others.
bool IsSystemFolder(const std::string& dir);
// Why such a folder is refused, and a folder of the user's own (under home) offered instead.
std::string SystemFolderRefusal(const std::string& dir, const char* home);
// The typed directory (UTF-8) with a leading "~", "$HOME" or "${HOME}" replaced by home, made normal and
// ending in '/'; "" when it is not a full path, is the root itself, or names home while home is unknown.
std::string ExpandInstallDir(const std::string& typed, const char* home);
