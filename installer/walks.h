// The install and the uninstall on the file system, without a window. Each throws its failure
// (failure.h); the screens show it.
//
// The record under the package's key holds: "installed", the install directory ending in '/';
// "resolved", that directory as it resolved at the install, every link followed; "files", the files
// the install wrote, one path a line, relative to it; "directories", the directories it made, one
// full path a line, each after its parent; and while an install runs, "journal": its plan and its
// work names and the run that wrote it, written before its first write, so that an install cut short
// (a kill, a power loss) is undone by the next install or uninstall once that run is over.
//
// Every walk holds the install directory's lock (common/gamedir.h) from before its first look at the
// journal to its end, and reaches every file below the directory through its handle, never through a link.
#pragma once
#include <string>
#include <vector>

#include "common/module.h"

struct GameDir;
struct InstallPlan;

inline constexpr char VALUE_INSTALLED[] = "installed";
inline constexpr char VALUE_FILES[] = "files";
inline constexpr char VALUE_DIRECTORIES[] = "directories";
inline constexpr char VALUE_RESOLVED[] = "resolved";
inline constexpr char VALUE_JOURNAL[] = "journal";
// The install's private folder for its work files, in the install directory; no package name may begin so.
inline constexpr char STAGING_PREFIX[] = ".gorvanel-install-";

// Installs the plan into the held install directory (locked, with the folders made on the way to it)
// and records it under regkey. Each file is written whole in a private staging folder and moved into
// place through the directory's handle; should anything fail, every file and folder the install made
// inside it is removed and every file it replaced is put back, and the record is left as it was.
void InstallFiles(const InstallPlan& plan, const GameDir& held, const std::vector<std::string>& madeway,
                  const std::string& regkey);
// Undoes an install the journal under regkey says was cut short (or finishes one that had recorded
// itself already), then drops the journal; only when the run that wrote it is over, and under the lock
// of its directory (held, when the caller holds it). The folders on the way that the undone install
// made are added to left when the caller holds that directory (they are its run's now), else removed.
// "" when done or nothing was to do; else the words of the program that is at work there.
std::string RecoverInterruptedInstall(const std::string& regkey, GameDir* held, std::vector<std::string>* left);
// Tests: called at each step of an install ("directories", "written", "placed", "recorded") with the
// number of files done so far.
extern void (*installstephook)(const char* step, size_t done);
// Removes the files the record under regkey lists (for a record without a list: the files the package
// holds), then the folders the install made inside the held directory when they are empty, then the
// record; adds to way the folders on the way and the directory itself, to go once the lock is released.
// Nothing outside dir, and nothing the install did not write, is touched.
void UninstallFiles(const Module* package, const std::string& startdir, const std::string& regkey,
                    const GameDir& held, std::vector<std::string>* way);

// The install as the screens start it: the typed directory (UTF-8) made full, the package read and
// checked, the directory held, the files written. "" on success, else the text of the box: the failure,
// or the words of the program at work in the directory.
std::string RunInstall(const Module* package, const std::string& startdir, const std::string& typed,
                       const std::string& regkey);
// The uninstall of the install recorded under regkey into dir; "" on success, else the box's text.
std::string RunUninstall(const Module* package, const std::string& startdir, const std::string& regkey,
                         const std::string& dir);
