// The debug log: free-form lines from every part of the game, in "debug.txt" in the working
// directory. A line reaches the file within about a millisecond of its end, written by a thread of the
// log's own; std::endl (a flush) puts everything before it in the file at once. A crash writes what was
// not yet in the file, so the log survives it with every line once, in order; a normal shutdown deletes
// the file, a failed start-up leaves it.
#pragma once
#include <cstddef>
#include <ostream>
#include <string>

// Tests: runs on the writing thread before each write of a batch, once more right after the write (in
// the step a crash waits for), and once the batch is in the file; with the batch's number since the
// open (from 1), the bytes of it written before this write and its size.
typedef void (*LogWriteHook)(unsigned batch, size_t done, size_t size, bool inwrite);

enum : size_t { DEBUGLOGLIMIT = 16u << 20 };   // bytes the file may grow to; one line more says it stopped

extern std::ostream debuglog;           // end every line with '\n' (or std::endl where it must be there at once); never fails

bool OpenDebugLog(const char* name = "debug.txt");  // opens (truncates) the log file; true on failure
void CloseDebugLog();                   // closes the file; later lines go nowhere
void DeleteDebugLog();                  // closes the file and deletes it where it was opened
void SetDebugLogLimit(size_t bytes);    // the file's limit instead of DEBUGLOGLIMIT (tests)
void CaptureDebugLog(std::string* into);    // also appends every line to *into; null stops (tests)
void SetDebugLogWriteHook(size_t piece, LogWriteHook hook);    // tests: writes of at most piece bytes (0: any), hook around each
