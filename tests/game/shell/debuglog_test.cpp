// The debug log file: every finished line on disk soon (a flush at once), deleted where it was opened.
// After a crash: debuglog_crash_test.cpp.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "game/shell/debuglog.h"

namespace {

std::string ReadAll(const std::filesystem::path& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// What the file holds once it holds want, or after two seconds.
std::string AwaitText(const std::filesystem::path& path, const std::string& want)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    std::string text = ReadAll(path);
    while (text != want && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        text = ReadAll(path);
    }
    return text;
}

TEST(DebugLog, LinesReachTheFileSoonAFlushAtOnceAndDeletionFindsIt)
{
    const std::filesystem::path home = std::filesystem::current_path();
    const std::filesystem::path dir = std::filesystem::path(GORV_TEST_DIR) / "debuglog";
    std::filesystem::create_directories(dir / "elsewhere");
    std::filesystem::current_path(dir);

    ASSERT_FALSE(OpenDebugLog());
    debuglog << "Tessarine: Unloading value " << 63210 << '\n';
    // Nobody flushes: the line gets there by itself while the log is open.
    EXPECT_EQ(AwaitText(dir / "debug.txt", "Tessarine: Unloading value 63210\n"), "Tessarine: Unloading value 63210\n");
    debuglog << "Loading bar shown." << std::endl;
    EXPECT_EQ(ReadAll(dir / "debug.txt"), "Tessarine: Unloading value 63210\nLoading bar shown.\n");

    std::filesystem::current_path(dir / "elsewhere");
    DeleteDebugLog();
    EXPECT_FALSE(std::filesystem::exists(dir / "debug.txt"));
    debuglog << "after the end\n";     // goes nowhere, and the stream stays good
    EXPECT_TRUE(debuglog.good());
    EXPECT_FALSE(std::filesystem::exists(dir / "elsewhere" / "debug.txt"));
    std::filesystem::current_path(home);
}

TEST(DebugLog, ClosedLogSurvivesAndCaptureSeesEveryLine)
{
    const std::filesystem::path path = std::filesystem::path(GORV_TEST_DIR) / "kept.txt";
    std::string captured;
    CaptureDebugLog(&captured);
    ASSERT_FALSE(OpenDebugLog(path.c_str()));
    debuglog << "ERROR: something\n";
    CloseDebugLog();
    CaptureDebugLog(nullptr);
    EXPECT_EQ(ReadAll(path), "ERROR: something\n");
    EXPECT_EQ(captured, "ERROR: something\n");
    std::filesystem::remove(path);
}

// A log that would grow without end stops at its limit, with one line that says so; a new log starts
// empty again.
TEST(DebugLog, TheFileStopsAtItsLimitWithALineSayingSo)
{
    const std::filesystem::path path = std::filesystem::path(GORV_TEST_DIR) / "flood.txt";
    SetDebugLogLimit(1000);
    for (int run = 0; run < 2; run++) {
        ASSERT_FALSE(OpenDebugLog(path.c_str()));
        for (int i = 0; i < 500; i++)
            debuglog << "Received " << 2000 << " bytes\n";
        CloseDebugLog();
        const std::string text = ReadAll(path);
        const std::string last = "The debug log stopped here at 1000 bytes; nothing more is written to it.\n";
        ASSERT_GT(text.size(), last.size());
        EXPECT_LE(text.size(), 1000 + 1 + last.size());
        EXPECT_EQ(text.substr(text.size() - last.size()), last);
        EXPECT_EQ(text.rfind("Received 2000 bytes\n", 0), 0u);
        EXPECT_EQ(text.find("stopped"), text.rfind("stopped"));
    }
    SetDebugLogLimit(DEBUGLOGLIMIT);
    std::filesystem::remove(path);
}

TEST(DebugLog, UnwritablePlaceFailsTheOpen)
{
    const std::filesystem::path path = std::filesystem::path(GORV_TEST_DIR) / "no" / "such" / "debug.txt";
    EXPECT_TRUE(OpenDebugLog(path.c_str()));
}

} // namespace
