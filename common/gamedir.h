// The game directory held by one program for one run: the folder open, every file below it reached
// through that handle (platform/dirhandle.h), and its lock, which the updater takes for a whole update
// and the installer for an install, a repair, an uninstall and a recovery. Whoever finds the lock
// taken is told which program holds it, and touches nothing.
#pragma once
#include <string>

inline constexpr char HOLDER_UPDATE[] = "update";
inline constexpr char HOLDER_INSTALLER[] = "installer";
inline constexpr char BUSY_UPDATE[] = "An update of Gorvanel is running in this folder.";
inline constexpr char BUSY_INSTALLER[] = "The installer is working in this folder.";

struct GameDir {
    GameDir() = default;
    GameDir(const GameDir&) = delete;
    GameDir& operator=(const GameDir&) = delete;
    ~GameDir();                 // releases what it holds

    std::string path;           // as opened, ending in '/'
    int handle = -1;            // the folder
    int lock = -1;
};

// Takes the lock of the folder the open handle names, for holder: 0; LOCK_HELDELSEWHERE with *busy the
// words naming the program that holds it; or the error code.
int LockGameDir(GameDir* dir, const char* holder, std::string* busy);
// Opens the folder at path (following the user's own links to it) and locks it, as LockGameDir.
int HoldGameDir(const std::string& path, const char* holder, GameDir* dir, std::string* busy);
// The same for a full path whose every folder is opened without following a link (where it resolved).
int HoldRealGameDir(const std::string& path, const char* holder, GameDir* dir, std::string* busy);
void ReleaseGameDir(GameDir* dir);      // the lock first, then the handle; a second call does nothing
std::string BusyText(const std::string& holder);    // the words for a lock held by that program
