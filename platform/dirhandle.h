// Directory handles: a folder held open, and every file below it reached through it one folder at a
// time, each opened without following a link (openat with O_NOFOLLOW). A folder swapped for a link on
// the way makes the call fail (ELOOP, or ENOTDIR) instead of leading out of the folder, however late
// the swap comes. The updater and the installer place, back up, undo and remove only through these.
//
// Relative names are '/'-separated, with no empty, "." or ".." part (EINVAL otherwise).
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/files.h"

enum FileKind { KIND_NONE, KIND_FILE, KIND_DIR, KIND_LINK, KIND_OTHER };

// Opens a folder by its full path, following links on the way (the user's own way to it): 0 or the error code.
int OpenDirHandle(const std::string& path, int* dir);
void CloseDirHandle(int dir);                                                   // -1 is allowed
// Opens the folder at relative below dir, each part without following a link: 0 or the error code.
int OpenDirBeneath(int dir, const std::string& relative, int* sub);
// Makes every missing folder of a full path, from the root down, and opens the last: links that were
// there are followed (the user's), a folder made here never is. made lists the folders made, parents
// first, also on failure. 0 or the error code (ENOTDIR when something else stands on the way).
int MakeDirChain(const std::string& path, std::vector<std::string>* made, int* dir);
// What stands at relative (never a link's target); its identity and permission bits when a file.
int KindBeneath(int dir, const std::string& relative, FileKind* kind, FileId* id = nullptr, uint32_t* mode = nullptr);
// Makes the folder at relative: 0 when made, EEXIST when a folder stands there already, ENOTDIR when
// anything else does (a link too), or the error code.
int MakeDirBeneath(int dir, const std::string& relative);
// Creates the file at relative (failing when anything has that name), writes all of bytes, forces them
// to the disk and closes it; mode less the umask. A file that fails part-way is removed. 0 or the error code.
int WriteNewFileBeneath(int dir, const std::string& relative, const void* bytes, size_t size, uint32_t mode,
                        FileId* id = nullptr);
// Creates the file at relative for writing (failing when anything has that name); null with *error set on failure.
FILE* CreateFileBeneath(int dir, const std::string& relative, int* error);
int RenameBeneath(int dir, const std::string& from, const std::string& to);    // renameat: 0 or the error code
int LinkBeneath(int dir, const std::string& from, const std::string& to);      // linkat, a second name: 0 or the error code
int SetModeBeneath(int dir, const std::string& relative, uint32_t mode);       // fchmodat of a file (never a link): 0 or the error code
// Removes the file at relative: 0, ENOENT when there is none, EISDIR when it is a folder, EPERM when it
// is no regular file, ELOOP or ENOTDIR when a part on the way is a link or no folder, or the error code.
int RemoveFileBeneath(int dir, const std::string& relative);
int RemoveDirBeneath(int dir, const std::string& relative);     // the same for an empty folder (ENOTEMPTY when not)
// The same two for a folder given by its full path (opened as OpenDirHandle does).
int RemoveFileBeneath(const std::string& dir, const std::string& relative);
int RemoveDirBeneath(const std::string& dir, const std::string& relative);
// The names in the folder at relative ("" for dir itself); true on failure.
bool ListBeneath(int dir, const std::string& relative, std::vector<std::string>* names);

// A folder's lock: one holder at a time across processes, until released or the holder's process ends.
// It is a lock file in the folder (LOCKFILE_NAME) holding the holder's name, which goes with the lock.
// 0 and the lock's handle; LOCK_HELDELSEWHERE with *heldby the holder's name ("" when unknown); or the
// error code.
inline constexpr char LOCKFILE_NAME[] = ".gorvanel.lock";
enum : int { LOCK_HELDELSEWHERE = -1 };
int LockDirHandle(int dir, const char* holder, int* lock, std::string* heldby);
void UnlockDirHandle(int dir, int lock);        // removes the lock file and releases the lock; -1 is allowed

// Tests: called before each operation above that changes or looks below a folder, with its name.
extern void (*beneathhook)(const char* operation, const std::string& relative);
