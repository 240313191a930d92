// The install's journal: its plan and work names, kept in the record before the install writes
// anything, and what undoes (or finishes) an install that was cut short.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

struct JournalFile {
    std::string path;       // relative to the install directory
    bool existed;           // something stood there before the install
};

struct InstallJournal {
    std::string dir;                    // the install directory, ending in '/'
    std::string staging;                // the private folder of the work files, in dir
    bool fresh = false;                 // no install was recorded when this one began
    std::vector<std::string> newdirs;   // directories the install makes, full paths, parents first
    std::vector<JournalFile> files;
    bool committed = false;             // the install had recorded itself: only the clean-up was left
};

std::string FormatJournal(const InstallJournal& journal);
bool ParseJournal(const std::string& text, InstallJournal* journal);   // true when it cannot be trusted
std::string StagedName(const InstallJournal& journal, size_t i);       // file i written, not yet placed
std::string BackupName(const InstallJournal& journal, size_t i);       // what stood at file i's place
// Removes the staging folder's own work files and the folder itself (only when that empties it).
void RemoveStaging(const InstallJournal& journal);
