#include "game/shell/debuglog.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <streambuf>

#include "game/shell/logfile.h"
#include "platform/log.h"

namespace {

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

void SetDebugLogWriteHook(size_t piece, LogWriteHook hook)
{
    logbuf.file.SetWriteHook(piece, hook);
}
