// The debug log after a crash: a child process logs lines and crashes at a chosen moment of the
// writer's work, many times over; its file must hold every line written before the crash exactly
// once, in order.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "game/shell/debuglog.h"

namespace {

// A moment of the writer's work: the hook sees it come and holds the writer there, so the crash finds
// the log just so: for good between writes, in a write until the crash has come and waits for it. With
// no moment to reach, the crash comes while the writer runs free, after pauses spread over `spread`
// across the runs.
struct Moment {
    const char* name;
    size_t piece;       // bytes a write at most (0: a batch in one)
    bool (*reached)(unsigned batch, size_t done, size_t size, bool inwrite);
    int runs;
    std::chrono::microseconds spread;
};

const Moment moments[] = {
    { "at once, the writer still gathering", 0, nullptr, 4, {} },
    { "batch taken, none of it written", 0,
      [](unsigned b, size_t done, size_t, bool inwrite) { return b == 1 && done == 0 && !inwrite; }, 4, {} },
    { "batch half written", 64,
      [](unsigned b, size_t done, size_t size, bool inwrite) { return b == 1 && done >= size / 2 && !inwrite; }, 4, {} },
    { "in a write of the batch", 64,
      [](unsigned b, size_t done, size_t size, bool inwrite) { return b == 1 && done >= size / 2 && inwrite; }, 4, {} },
    { "batch written", 64, [](unsigned b, size_t done, size_t size, bool) { return b == 1 && done == size; }, 4, {} },
    // Writes of 64 bytes keep the writer busy for the first milliseconds, when the crashes come.
    { "while writes run", 64, nullptr, 30, std::chrono::microseconds(3000) },
};

const struct Crash {
    const char* name;
    int signal;
    void (*crash)();
} crashes[] = {
    { "abort", SIGABRT, [] { std::abort(); } },
    // A store to the first page: a fault the sanitizers do not catch before the processor does.
    { "fault", SIGSEGV, [] { *reinterpret_cast<volatile int*>(uintptr_t{64}) = 1; } },
};

constexpr int LINESBEFORE = 200;    // logged before the moment
constexpr int LINESAFTER = 50;      // logged at the moment, left waiting for the writer

std::string Line(int i)
{
    return "Moving to new location " + std::to_string(i) + ".\n";
}

std::string ReadAll(const std::filesystem::path& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The child's moment, whether the writer has come to it, and whether the crash has.
const Moment* childmoment = nullptr;
std::atomic<bool> atmoment{false};
std::atomic<bool> crashing{false};

void HoldWriterAtMoment(unsigned batch, size_t done, size_t size, bool inwrite)
{
    if (atmoment || !childmoment->reached || !childmoment->reached(batch, done, size, inwrite))
        return;
    atmoment = true;
    if (!inwrite)
        for (;;)
            std::this_thread::sleep_for(std::chrono::hours(1));
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!crashing && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    // The crash's handler comes to wait for this write meanwhile (on a machine loaded to a standstill
    // it may come later and find the batch written: the run passes without showing the wait).
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
}

// The log's crash handler, then the default action: the crash ends the child as it ends the game, not
// through a sanitizer's report (slow, and an exit instead of the signal).
struct sigaction logaction;

void EndByDefault(int sig, siginfo_t* info, void* context)
{
    crashing = true;
    logaction.sa_sigaction(sig, info, context);
    signal(sig, SIG_DFL);
}

// The child: logs, waits for the moment (or for `delay`), logs more, crashes. Exits 3 when it cannot
// open the log, 4 when the moment never comes, 0 when the crash does not end it.
[[noreturn]] void RunChild(const std::filesystem::path& path, const Moment& moment, const Crash& crash,
                           std::chrono::microseconds delay)
{
    childmoment = &moment;
    SetDebugLogWriteHook(moment.piece, HoldWriterAtMoment);
    if (OpenDebugLog(path.c_str()))
        _exit(3);
    struct sigaction end = {};
    end.sa_sigaction = EndByDefault;
    end.sa_flags = SA_SIGINFO;
    sigemptyset(&end.sa_mask);
    sigaction(crash.signal, &end, &logaction);
    std::string before;         // in one piece, so the writer's first batch holds all of it
    for (int i = 0; i < LINESBEFORE; i++)
        before += Line(i);
    debuglog << before;
    if (moment.reached) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!atmoment && std::chrono::steady_clock::now() < end)
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        if (!atmoment)
            _exit(4);
    } else {
        std::this_thread::sleep_for(delay);
    }
    for (int i = LINESBEFORE; i < LINESBEFORE + LINESAFTER; i++)
        debuglog << Line(i);
    crash.crash();
    _exit(0);
}

// Every cell's runs go side by side, each child with a file of its own.
TEST(DebugLogCrash, EveryLineWrittenBeforeACrashIsInTheFileOnceInOrder)
{
    std::string expected;
    for (int i = 0; i < LINESBEFORE + LINESAFTER; i++)
        expected += Line(i);
    const std::filesystem::path dir = std::filesystem::path(GORV_TEST_DIR) / "crash-table";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    CloseDebugLog();        // a log another test left open is not the child's to write
    for (const Crash& crash : crashes) {
        for (const Moment& moment : moments) {
            SCOPED_TRACE(std::string(crash.name) + ", " + moment.name);
            std::vector<pid_t> children;
            for (int run = 0; run < moment.runs; run++) {
                const std::chrono::microseconds delay = moment.spread * run / moment.runs;
                const pid_t child = fork();
                ASSERT_GE(child, 0);
                if (child == 0)
                    RunChild(dir / std::to_string(run), moment, crash, delay);
                children.push_back(child);
            }
            int failures = 0;
            for (int run = 0; run < moment.runs; run++) {
                int status = 0;
                ASSERT_EQ(waitpid(children[run], &status, 0), children[run]);
                const std::string text = ReadAll(dir / std::to_string(run));
                const bool died = WIFSIGNALED(status) && WTERMSIG(status) == crash.signal;
                if (failures < 3) {
                    EXPECT_TRUE(died) << "run " << run << ": status " << status;
                    EXPECT_TRUE(text == expected)
                        << "run " << run << ": " << text.size() << " bytes of " << expected.size() << ", ending \""
                        << text.substr(text.size() > 60 ? text.size() - 60 : 0) << '"';
                }
                failures += !died || text != expected;
            }
            EXPECT_EQ(failures, 0) << "of " << moment.runs << " runs";
        }
    }
    std::filesystem::remove_all(dir);
}

} // namespace
