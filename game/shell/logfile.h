// The debug log's open file. Finished lines wait in memory for a thread of the file's own, which writes
// them out a moment later, so the game's thread never waits on the disk; a flush writes everything at
// once on the caller's thread. The file keeps the order the lines were written in.
//
// A crash takes the file over: from the moment the signal handler starts no write starts; the handler
// waits for a write under way on another thread to end, then writes what was not yet written (the rest
// of the batch being written, then the lines waiting), so every line reaches the file exactly once.
#pragma once
#include <signal.h>

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <thread>

#include "game/shell/debuglog.h"

class LogFile {
public:
    ~LogFile() { Close(); }

    bool IsOpen() const { return fd >= 0; }
    bool Open(const char* name);                // opens (truncates) the file; true on failure
    void Close();                               // writes what waits and closes the file
    void Append(const char* s, size_t n);       // n bytes after the others, on disk soon
    void Flush();                               // everything appended so far is in the file on return
    void WriteOnCrash();                        // from a signal handler: the file is the crash's now
    void SetWriteHook(size_t piece, LogWriteHook hook);    // tests: at most piece bytes a write (0: all)

private:
    bool WritePending();                        // true when a crash has the file
    bool WriteBatch();                          // the batch set up last; true when a crash has the file
    bool Enter();                               // starts a step; true when a crash has the file
    void Leave();
    void RunWriter();

    int fd = -1;
    std::unique_ptr<char[]> pending;    // lines not yet taken by a writer
    std::unique_ptr<char[]> batch;      // what the writer is writing
    std::atomic<size_t> used{0};        // bytes in pending (read by the signal handler too)
    bool stopping = false;
    std::mutex bufferlock;              // pending, used, stopping
    std::mutex writelock;               // the file and the batch: one writer at a time
    std::condition_variable wake;
    std::thread writer;

    // The hand-off to a crash. Whoever holds writelock sets up a batch and writes it a piece at a time,
    // each step (the set-up, a write) inside Enter/Leave; the handler writes between steps, never during
    // one, and the batch's fields say what of it is in the file.
    std::atomic<unsigned> state{0};
    std::atomic<const char*> batchdata{nullptr};
    std::atomic<size_t> batchsize{0};
    std::atomic<size_t> batchdone{0};   // bytes of the batch in the file
    sigset_t stepmask;                  // the signal mask of the thread in a step, held till it leaves
    unsigned batches = 0;               // since the open
    size_t piece = 0;
    LogWriteHook hook = nullptr;
};
