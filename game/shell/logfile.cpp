#include "game/shell/logfile.h"

#include <fcntl.h>
#include <signal.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

namespace {

// Bytes that may wait for the writer; a caller that would overflow them writes them itself.
constexpr size_t PENDINGBYTES = 256 * 1024;

// How long the writer lets lines gather after the first wakes it: a burst (a computer player's turn
// logs thousands of lines) becomes a few writes, and a line waits no longer than this.
constexpr std::chrono::microseconds GATHERTIME{1000};

// Who has the file: bits of LogFile::state. A writer sets FILESTEP for a step only when nothing else is
// set; a crash sets CRASHED at once (so no step starts after it), waits for the step under way, writes,
// and sets CRASHWRITTEN.
enum : unsigned { FILESTEP = 1, CRASHED = 2, CRASHWRITTEN = 4 };

// A crash waits up to this many pauses of CRASHPAUSE for the step under way on another thread, or for
// another thread's crash to write the file; a write stuck longer than that (a hung disk) is not waited
// for.
constexpr long CRASHPAUSES = 10000;
constexpr timespec CRASHPAUSE = { 0, 100000 };

void WriteAll(int to, const char* s, size_t n)
{
    while (n > 0) {
        const ssize_t done = write(to, s, n);
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0)
            return;     // a full disk loses lines; the game goes on
        s += done;
        n -= (size_t)done;
    }
}

} // namespace

bool LogFile::Open(const char* name)
{
    fd = open(name, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return true;
    if (!pending)
        pending = std::make_unique<char[]>(PENDINGBYTES);
    if (!batch)
        batch = std::make_unique<char[]>(PENDINGBYTES);
    used = 0;
    stopping = false;
    state = 0;
    batchdata = nullptr;
    batchsize = 0;
    batchdone = 0;
    batches = 0;
    writer = std::thread([this] { RunWriter(); });
    return false;
}

void LogFile::Close()
{
    if (fd < 0)
        return;
    {
        const std::lock_guard<std::mutex> hold(bufferlock);
        stopping = true;
    }
    wake.notify_one();
    writer.join();
    WritePending();
    close(fd);
    fd = -1;
}

void LogFile::Append(const char* s, size_t n)
{
    if (fd < 0 || n == 0)
        return;
    std::unique_lock<std::mutex> hold(bufferlock);
    while (used + n > PENDINGBYTES) {       // another thread may fill pending again meanwhile
        hold.unlock();
        if (WritePending())
            return;
        if (n >= PENDINGBYTES) {
            const std::lock_guard<std::mutex> file(writelock);
            if (Enter())
                return;
            batchdata = s;
            batchsize = n;
            batchdone = 0;
            Leave();
            WriteBatch();
            return;
        }
        hold.lock();
    }
    const bool wasempty = used == 0;
    std::memcpy(pending.get() + used, s, n);
    used += n;
    hold.unlock();
    if (wasempty)
        wake.notify_one();
}

void LogFile::Flush()
{
    if (fd >= 0)
        WritePending();
}

// From a signal handler: only calls that are safe there, and no locks (the thread that crashed may hold
// them). No step is under way on this thread (a step holds signals back), so a step it waits for ends
// on another thread.
void LogFile::WriteOnCrash()
{
    if (fd < 0)
        return;
    const int error = errno;
    const bool first = !(state.fetch_or(CRASHED) & CRASHED);  // or a crash on another thread writes
    for (long pauses = 0; pauses < CRASHPAUSES; pauses++) {
        const unsigned now = state;
        if (first ? !(now & FILESTEP) : (now & CRASHWRITTEN) != 0)
            break;
        nanosleep(&CRASHPAUSE, nullptr);
    }
    if (!first) {
        errno = error;
        return;
    }
    const char* const data = batchdata;
    const size_t size = batchsize;
    const size_t done = batchdone;
    if (data && done < size)
        WriteAll(fd, data + done, size - done);
    WriteAll(fd, pending.get(), used);
    state |= CRASHWRITTEN;
    errno = error;
}

void LogFile::SetWriteHook(const size_t bytes, const LogWriteHook to)
{
    piece = bytes;
    hook = to;
}

// Takes what waits and writes it; the file's lock is taken first, so batches land in order.
bool LogFile::WritePending()
{
    const std::lock_guard<std::mutex> file(writelock);
    if (Enter())
        return true;
    {
        const std::lock_guard<std::mutex> hold(bufferlock);
        const size_t size = used;
        std::memcpy(batch.get(), pending.get(), size);
        batchdata = batch.get();
        batchsize = size;
        batchdone = 0;
        used = 0;
    }
    Leave();
    return WriteBatch();
}

// Writes the batch set up in the last step, a step per write, so a crash between two finds it in a
// known state: batchdone bytes of it in the file, the rest not.
bool LogFile::WriteBatch()
{
    const char* const data = batchdata;
    const size_t size = batchsize;
    if (size == 0)
        return false;
    const unsigned number = ++batches;
    for (;;) {
        const size_t done = batchdone;
        if (hook)
            hook(number, done, size, false);
        if (done == size)
            return false;
        if (Enter())
            return true;
        const size_t n = piece ? std::min(piece, size - done) : size - done;
        ssize_t wrote = 0;
        do
            wrote = write(fd, data + done, n);
        while (wrote < 0 && errno == EINTR);
        if (hook)
            hook(number, done, size, true);
        batchdone = wrote > 0 ? done + (size_t)wrote : size;    // a full disk loses the batch
        Leave();
    }
}

// A step holds the thread's signals back, so a crash handler never runs in the middle of one on this
// thread (a fault in a step ends the program without the handler).
bool LogFile::Enter()
{
    sigset_t all;
    sigfillset(&all);
    sigset_t before;
    pthread_sigmask(SIG_BLOCK, &all, &before);
    unsigned holder = 0;
    if (!state.compare_exchange_strong(holder, FILESTEP)) {
        pthread_sigmask(SIG_SETMASK, &before, nullptr);
        return true;
    }
    stepmask = before;
    return false;
}

void LogFile::Leave()
{
    state &= ~FILESTEP;
    pthread_sigmask(SIG_SETMASK, &stepmask, nullptr);
}

void LogFile::RunWriter()
{
    for (;;) {
        {
            std::unique_lock<std::mutex> hold(bufferlock);
            wake.wait(hold, [this] { return used > 0 || stopping; });
            if (stopping)
                return;
        }
        std::this_thread::sleep_for(GATHERTIME);
        if (WritePending())
            return;     // a crash has the file
    }
}
