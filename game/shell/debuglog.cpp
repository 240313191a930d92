#include "game/shell/debuglog.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <mutex>
#include <streambuf>
#include <thread>

#include "platform/log.h"

namespace {

// Bytes that may wait for the writer; a caller that would overflow them writes them itself.
constexpr size_t PENDINGBYTES = 256 * 1024;

// How long the writer lets lines gather after the first wakes it: a burst (a computer player's turn
// logs thousands of lines) becomes a few writes, and a line waits no longer than this.
constexpr std::chrono::microseconds GATHERTIME{1000};

// The open file. Finished lines wait in `pending` for a thread of the file's own, which writes them out
// a moment later, so the game's thread never waits on the disk; a flush (std::endl) writes everything at
// once on the caller's thread. The file keeps the order the lines were written in. On a crash the
// signal handler writes what was waiting, so the log ends with the last lines before it.
class LogFile {
public:
    ~LogFile() { Close(); }

    bool IsOpen() const { return fd >= 0; }

    bool Open(const char* name)
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
        writer = std::thread([this] { RunWriter(); });
        return false;
    }

    void Close()
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

    void Append(const char* s, size_t n)
    {
        if (fd < 0 || n == 0)
            return;
        std::unique_lock<std::mutex> hold(bufferlock);
        if (used + n > PENDINGBYTES) {
            hold.unlock();
            WritePending();
            if (n >= PENDINGBYTES) {
                const std::lock_guard<std::mutex> file(writelock);
                WriteAll(fd, s, n);
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

    // Everything written so far is in the file when this returns.
    void Flush()
    {
        if (fd >= 0)
            WritePending();
    }

    // From a signal handler: only calls that are safe there, and no locks (the thread that crashed may
    // hold them).
    void WriteOnCrash() const
    {
        if (fd >= 0 && pending)
            WriteAll(fd, pending.get(), used);
    }

private:
    static void WriteAll(int to, const char* s, size_t n)
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

    // Takes what waits and writes it; the file's lock is taken first, so batches land in order.
    void WritePending()
    {
        const std::lock_guard<std::mutex> file(writelock);
        size_t size = 0;
        {
            const std::lock_guard<std::mutex> hold(bufferlock);
            size = used;
            std::memcpy(batch.get(), pending.get(), size);
            used = 0;
        }
        WriteAll(fd, batch.get(), size);
    }

    void RunWriter()
    {
        for (;;) {
            {
                std::unique_lock<std::mutex> hold(bufferlock);
                wake.wait(hold, [this] { return used > 0 || stopping; });
                if (stopping)
                    return;
            }
            std::this_thread::sleep_for(GATHERTIME);
            WritePending();
        }
    }

    int fd = -1;
    std::unique_ptr<char[]> pending;    // lines not yet written
    std::unique_ptr<char[]> batch;      // what the writer is writing
    std::atomic<size_t> used{0};        // bytes in pending (read by the signal handler too)
    bool stopping = false;
    std::mutex bufferlock;              // pending, used, stopping
    std::mutex writelock;               // the file
    std::condition_variable wake;
    std::thread writer;
};

// The stream's buffer: every character goes straight on to the file's pending lines (and to a capture);
// without a file the text goes nowhere and the stream never turns bad.
class LogBuf : public std::streambuf {
public:
    LogFile file;
    std::string* capture = nullptr;
    size_t limit = DEBUGLOGLIMIT;
    size_t written = 0;         // bytes given to the file
    bool full = false;          // the limit was reached: the file takes nothing more
    char last = '\n';           // the last character given to the file

protected:
    int_type overflow(int_type c) override
    {
        if (traits_type::eq_int_type(c, traits_type::eof()))
            return traits_type::not_eof(c);
        const char ch = traits_type::to_char_type(c);
        Write(&ch, 1);
        return c;
    }

    std::streamsize xsputn(const char* s, std::streamsize n) override
    {
        Write(s, n);
        return n;
    }

    int sync() override
    {
        file.Flush();
        return 0;
    }

private:
    void Write(const char* s, std::streamsize n)
    {
        if (file.IsOpen() && !full) {
            size_t size = static_cast<size_t>(n);
            // A log that grows without end fills the disk; its first part says what went wrong.
            if (written + size > limit) {
                full = true;
                size = limit - written;
            }
            file.Append(s, size);
            written += size;
            if (size)
                last = s[size - 1];
            if (full) {
                char note[160];
                const int length = std::snprintf(note, sizeof note,
                                                 "%sThe debug log stopped here at %zu bytes; nothing more is written to it.\n",
                                                 last == '\n' ? "" : "\n", limit);
                file.Append(note, (size_t)std::max(length, 0));
                file.Flush();
            }
        }
        if (capture)
            capture->append(s, static_cast<size_t>(n));
    }
};

LogBuf logbuf;
std::filesystem::path logpath;      // where the open file lives, for deletion after a change of directory

// The crashes after which the log should still end with the last lines written.
constexpr int crashsignals[] = { SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT };
struct sigaction previous[sizeof crashsignals / sizeof crashsignals[0]];

void OnCrash(int sig, siginfo_t* info, void*)
{
    logbuf.file.WriteOnCrash();
    // Whoever handled the signal before (the default: the end of the program) handles it now: a fault
    // comes again when the handler returns, a sent signal is sent again.
    for (size_t i = 0; i < sizeof crashsignals / sizeof crashsignals[0]; i++)
        if (crashsignals[i] == sig)
            sigaction(sig, &previous[i], nullptr);
    if (!info || info->si_code <= 0)
        raise(sig);
}

void HandleCrashes()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    struct sigaction action = {};
    action.sa_sigaction = OnCrash;
    action.sa_flags = SA_SIGINFO;
    sigemptyset(&action.sa_mask);
    for (size_t i = 0; i < sizeof crashsignals / sizeof crashsignals[0]; i++)
        sigaction(crashsignals[i], &action, &previous[i]);
}

} // namespace

std::ostream debuglog(&logbuf);

// The platform layer's lines (a refused picture, a missing face) belong in this log too.
static void LogPlatformLine(const char* line)
{
    debuglog << line << std::endl;
}
static const bool platformlogset = (SetLogSink(LogPlatformLine), true);

bool OpenDebugLog(const char* name)
{
    CloseDebugLog();
    if (logbuf.file.Open(name))
        return true;
    HandleCrashes();
    std::error_code error;
    logpath = std::filesystem::absolute(name, error);
    if (error)
        logpath = name;
    logbuf.written = 0;
    logbuf.full = false;
    logbuf.last = '\n';
    debuglog.clear();
    return false;
}

void CloseDebugLog()
{
    logbuf.file.Close();
}

void DeleteDebugLog()
{
    CloseDebugLog();
    if (logpath.empty())
        return;
    std::error_code error;
    std::filesystem::remove(logpath, error);
    logpath.clear();
}

void SetDebugLogLimit(size_t bytes)
{
    logbuf.limit = bytes;
}

void CaptureDebugLog(std::string* into)
{
    logbuf.capture = into;
}
