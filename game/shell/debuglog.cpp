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
        if (file)
            std::fwrite(s, 1, static_cast<size_t>(n), file);
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

void CaptureDebugLog(std::string* into)
{
    logbuf.capture = into;
}
