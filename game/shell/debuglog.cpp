#include "game/shell/debuglog.h"

#include <cstdio>
#include <filesystem>
#include <streambuf>

#include "platform/log.h"

namespace {

// Writes straight to a line-buffered C file, so every finished line is on disk; without a file the
// text goes nowhere and the stream never turns bad.
class LogBuf : public std::streambuf {
public:
    std::FILE* file = nullptr;
    std::string* capture = nullptr;
    size_t limit = DEBUGLOGLIMIT;
    size_t written = 0;         // bytes in the file
    bool full = false;          // the limit was reached: the file takes nothing more
    char last = '\n';           // the last character written to the file

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
        if (file)
            std::fflush(file);
        return 0;
    }

private:
    void Write(const char* s, std::streamsize n)
    {
        if (file && !full) {
            size_t size = static_cast<size_t>(n);
            // A log that grows without end fills the disk; its first part says what went wrong.
            if (written + size > limit) {
                full = true;
                size = limit - written;
            }
            std::fwrite(s, 1, size, file);
            written += size;
            if (size)
                last = s[size - 1];
            if (full) {
                std::fprintf(file, "%sThe debug log stopped here at %zu bytes; nothing more is written to it.\n",
                             last == '\n' ? "" : "\n", limit);
                std::fflush(file);
            }
        }
        if (capture)
            capture->append(s, static_cast<size_t>(n));
    }
};

LogBuf logbuf;
std::filesystem::path logpath;      // where the open file lives, for deletion after a change of directory

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
    std::FILE* const file = std::fopen(name, "w");
    if (!file)
        return true;
    std::setvbuf(file, nullptr, _IOLBF, BUFSIZ);
    std::error_code error;
    logpath = std::filesystem::absolute(name, error);
    if (error)
        logpath = name;
    logbuf.file = file;
    logbuf.written = 0;
    logbuf.full = false;
    logbuf.last = '\n';
    debuglog.clear();
    return false;
}

void CloseDebugLog()
{
    if (logbuf.file) {
        std::fclose(logbuf.file);
        logbuf.file = nullptr;
    }
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
