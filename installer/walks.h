// The install and the uninstall on the file system, without a window. Each throws its failure
// (failure.h); the screens show it.
//
// The record under the package's key holds three values: "installed", the install directory ending in
// '/'; "files", the files the install wrote, one path a line, relative to it; "directories", the
// directories it made, one full path a line, each after its parent.
#pragma once
#include <string>

#include "common/module.h"

struct InstallPlan;

inline constexpr char VALUE_INSTALLED[] = "installed";
inline constexpr char VALUE_FILES[] = "files";
inline constexpr char VALUE_DIRECTORIES[] = "directories";

// Installs the plan into dir (as ExpandInstallDir gives it) and records it under regkey. Each file is
// written whole beside its place and moved there; should anything fail, every file and directory the
// install made is removed and every file it replaced is put back, and the record is left as it was.
void InstallFiles(const InstallPlan& plan, const std::string& dir, const std::string& regkey);
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
