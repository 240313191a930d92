// Putting new files in place of old ones, all of them or none: the one back-up-and-undo that the
// updater and the installer share.
//
// Every name is relative to one folder held open (the game directory's handle), and every step goes
// through that handle one folder at a time without following a link (platform/dirhandle.h): a folder
// swapped for a link at any moment makes the step fail, and nothing outside the folder is touched.
//
// A new file is written whole under a work name first (by the caller, who notes its FileId). Placing
// it checks that the work name still holds that very file, keeps what stood at the target under a
// backup name (a second link where the file system allows, so the target is never missing), and
// renames the work file over the target, which is atomic. Until the caller keeps the swap, every step
// can be undone: backups go back, new files go, the folders made are removed when empty.
#pragma once
#include <string>
#include <vector>

#include "platform/files.h"

enum : int { SWAP_NOTOURS = -2 };   // an error of its own: the work file is not the one written

struct SwapStep {
    std::string target;
    std::string backup;     // "" when the target was new
};

struct SwapLog {
    int dir = -1;                       // the folder all the names are relative to
    std::vector<std::string> madedirs;  // in the order made
    std::vector<SwapStep> placed;       // in the order placed
};

// Makes the folder unless one stands there already; anything else there (a link too) is refused
// (ENOTDIR). 0 or the error code.
int MakeSwapDirectory(SwapLog* log, const std::string& relative);
// Puts the work file (which must still be the file id names) at target, keeping what stood there as
// backup. The new file takes the replaced file's mode when keepmode (a program stays executable),
// else keeps its own. 0, SWAP_NOTOURS, or the error code, with nothing changed on failure.
int PlaceWorkFile(SwapLog* log, const std::string& work, const FileId& id, const std::string& target,
                  const std::string& backup, bool keepmode);
// Every backup back, every new file gone, the folders made removed; true when something could not be
// put back (a folder on the way became a link): its backup stays where it is.
bool UndoSwap(SwapLog* log);
void KeepSwap(SwapLog* log);        // the swap stands: the backups go
std::string SwapErrorText(int code); // the words for a code PlaceWorkFile or MakeSwapDirectory returned
