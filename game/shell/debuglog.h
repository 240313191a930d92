// The debug log: free-form lines from every part of the game, in "debug.txt" in the working
// directory. A line reaches the file within about a millisecond of its end, written by a thread of the
// log's own; std::endl (a flush) puts everything before it in the file at once. A crash writes what was
// waiting, so the log survives it; a normal shutdown deletes the file, a failed start-up leaves it.
#pragma once
#include <cstddef>
#include <ostream>
#include <string>

enum : size_t { DEBUGLOGLIMIT = 16u << 20 };   // bytes the file may grow to; one line more says it stopped

extern std::ostream debuglog;           // end every line with '\n' (or std::endl where it must be there at once); never fails

bool OpenDebugLog(const char* name = "debug.txt");  // opens (truncates) the log file; true on failure
void CloseDebugLog();                   // closes the file; later lines go nowhere
void DeleteDebugLog();                  // closes the file and deletes it where it was opened
void SetDebugLogLimit(size_t bytes);    // the file's limit instead of DEBUGLOGLIMIT (tests)
void CaptureDebugLog(std::string* into);    // also appends every line to *into; null stops (tests)
