// The install's journal: its plan and work names, kept in the record before the install writes
// anything, with the run that wrote it, and what undoes (or finishes) an install that was cut short.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

struct GameDir;

struct JournalFile {
    std::string path;       // relative to the install directory
    bool existed;           // something stood there before the install
};

struct InstallJournal {
    std::string dir;                    // the install directory, ending in '/'
    std::string staging;                // the private folder of the work files, in dir (its name alone)
    std::string run;                    // the run that wrote it (RunIdentity)
    bool fresh = false;                 // no install was recorded when this one began
    std::vector<std::string> newdirs;   // directories the install makes, full paths, parents first
    std::vector<JournalFile> files;
    bool committed = false;             // the install had recorded itself: only the clean-up was left
};

std::string FormatJournal(const InstallJournal& journal);
bool ParseJournal(const std::string& text, InstallJournal* journal);   // true when it cannot be trusted
std::string StagedName(const InstallJournal& journal, size_t i);       // file i written, not yet placed
std::string BackupName(const InstallJournal& journal, size_t i);       // what stood at file i's place
// Removes the staging folder's work files (its backups too when dropbackups) and the folder itself
// (only when that empties it), through the install directory's handle.
void RemoveStaging(const InstallJournal& journal, int dir, bool dropbackups);
// The folders of the list that lie on the way to dir or are dir itself (those inside it are the handle's).
std::vector<std::string> FoldersOnTheWay(const std::vector<std::string>& folders, const std::string& dir);
// Removes each folder of the list that is empty, the deepest first, by its full path, never through a
// link. Only once the install directory's lock is released: its lock file is in the last of them.
void RemoveEmptyFolders(const std::vector<std::string>& folders);
