// The install and the uninstall on the file system, without a window. Each throws its failure
// (failure.h); the screens show it.
//
// The record under the package's key holds: "installed", the install directory ending in '/';
// "resolved", that directory as it resolved at the install, every link followed; "files", the files
// the install wrote, one path a line, relative to it; "directories", the directories it made, one
// full path a line, each after its parent; and while an install runs, "journal": its plan and its
// work names, written before its first write, so that an install cut short (a kill, a power loss) is
// undone by the next install or uninstall.
#pragma once
#include <string>

#include "common/module.h"

struct InstallPlan;

inline constexpr char VALUE_INSTALLED[] = "installed";
inline constexpr char VALUE_FILES[] = "files";
inline constexpr char VALUE_DIRECTORIES[] = "directories";
inline constexpr char VALUE_RESOLVED[] = "resolved";
inline constexpr char VALUE_JOURNAL[] = "journal";
// The install's private folder for its work files, in the install directory; no package name may begin so.
inline constexpr char STAGING_PREFIX[] = ".gorvanel-install-";

// Installs the plan into dir (as ExpandInstallDir gives it) and records it under regkey. Each file is
// written whole in a private staging folder and moved into place; should anything fail, every file and
// directory the install made is removed and every file it replaced is put back, and the record is left
// as it was.
void InstallFiles(const InstallPlan& plan, const std::string& dir, const std::string& regkey);
// Undoes an install the journal under regkey says was cut short (or finishes one that had recorded
// itself already), then drops the journal. Nothing to do is no error.
void RecoverInterruptedInstall(const std::string& regkey);
// Tests: called at each step of an install ("directories", "written", "placed", "recorded") with the
// number of files done so far.
extern void (*installstephook)(const char* step, size_t done);
// Removes the files the record under regkey lists (for a record without a list: the files the package
// holds), then the directories the install made when they are empty, then the record. Nothing outside
// dir, and nothing the install did not write, is touched.
void UninstallFiles(const Module* package, const std::string& startdir, const std::string& regkey,
                    const std::string& dir);

// The install as the screens start it: the typed directory (UTF-8) made full, the package read and
// checked, the files written. "" on success, else the text of the failure box.
std::string RunInstall(const Module* package, const std::string& startdir, const std::string& typed,
                       const std::string& regkey);
// The uninstall of the install recorded under regkey into dir; "" on success, else the failure box's text.
std::string RunUninstall(const Module* package, const std::string& startdir, const std::string& regkey,
                         const std::string& dir);
