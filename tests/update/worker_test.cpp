// Whole updates against the fake server: what the user is told, what is left on disk, Done once.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "common/gamedir.h"
#include "fake_http_server.h"
#include "platform/dirhandle.h"
#include "update_fixture.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* base = "/download/files/gorvanel/";
constexpr uint32_t VERSION_A = 1u << 24;     // 1.0.0.0

// Serves a manifest of the version (1.0.0.1 unless told) listing these files, each served with its content.
void Offer(FakeHttpServer& server, const std::vector<std::pair<std::string, std::string>>& files,
           const char* version = "1\n0\n0\n1\n")
{
    std::string manifest = std::string("GORV_MRV_DATA\nGorvanel\nupdate B\n") + version
                           + std::to_string(files.size()) + "\n";
    for (size_t i = 0; i < files.size(); i++) {
        manifest += files[i].first + "\n" + std::to_string(files[i].second.size()) + "\n";
        server.Serve(std::string(base) + PackageName((int)i), files[i].second);
    }
    server.Serve(std::string(base) + "__download.txt", manifest);
}

class WorkerTest : public GameDirTest {
protected:
    // Game version A, and a work file an earlier run left behind.
    void MakeGameA()
    {
        for (const fs::directory_entry& e : fs::directory_iterator(dir))
            fs::remove_all(e.path());
        Write("Tessarine.dll", "strings A");
        Write("Gorvanel", "game A", 0755);
        Write("Music/Lull1.mid", "song A");
        Write("PKG.007", "left by an earlier run");
    }
    // Every file below the game directory and its content.
    std::map<std::string, std::string> Game()
    {
        std::map<std::string, std::string> files;
        for (const std::string& name : Listing())
            files[name] = name.back() == '/' ? "" : Read(name);
        return files;
    }
    // One whole update against what serve offers.
    bool Run(const std::function<void(FakeHttpServer&)>& serve, FakeHttpServer& server)
    {
        MakeGameA();
        ui = RecordingUi();
        serve(server);
        UpdateJob job = MakeJob(server.Url(base), VERSION_A);
        return UpdateThreadProc(job);
    }
};

const std::map<std::string, std::string> gameA = {
    {"Gorvanel", "game A"}, {"Music/", ""}, {"Music/Lull1.mid", "song A"}, {"Tessarine.dll", "strings A"}};

TEST_F(WorkerTest, Outcomes)
{
    const std::string song = FakeBody(70000, 5);
    const std::string stringsB = VersionModule("1", "0", "0", "1");
    const std::map<std::string, std::string> gameB = {
        {"Gorvanel", "game B"}, {"Music/", ""}, {"Music/Lull1.mid", "song A"}, {"Music/Lull2.mid", song},
        {"Tessarine.dll", stringsB}};
    const std::string manifest = std::string(base) + "__download.txt";
    struct Case {
        const char* name;
        std::function<void(FakeHttpServer&)> serve;
        const char* message;
        std::map<std::string, std::string> after;
        size_t requests = 0;    // how many the server saw, when it matters
    };
    const std::vector<Case> cases = {
        {"success",
         [&](FakeHttpServer& s) { Offer(s, {{"Tessarine.dll", stringsB}, {"Gorvanel", "game B"}, {"Music\\Lull2.mid", song}}); },
         MSG_COMPLETE, gameB, 4},
        {"a string module of junk",
         [&](FakeHttpServer& s) { Offer(s, {{"Tessarine.dll", FakeBody(stringsB.size(), 8)}, {"Gorvanel", "game B"}}); },
         MSG_DOWNLOAD, gameA, 3},
        {"a string module of another version",
         [&](FakeHttpServer& s) { Offer(s, {{"Gorvanel", "game B"}, {"tessarine.dll", VersionModule("1", "0", "0", "2")}}); },
         MSG_DOWNLOAD, gameA, 3},
        {"an error page for a string module listed without its size",
         [&](FakeHttpServer& s) {
             s.Serve(manifest, "GORV_MRV_DATA\nGorvanel\nB\n1\n0\n0\n1\n1\nTessarine.dll\n-1\n");
             s.Serve(std::string(base) + "PKG.000", "<html>Service Unavailable</html>");
         },
         MSG_BADLIST, gameA, 1},
        {"no files", [&](FakeHttpServer& s) { Offer(s, {}); }, MSG_COMPLETE, gameA, 1},
        {"manifest 404", [&](FakeHttpServer&) {}, MSG_DOWNLOAD, gameA},
        {"manifest 500", [&](FakeHttpServer& s) { s.Route(manifest, {500, "GORV_MRV_DATA\n"}); }, MSG_DOWNLOAD, gameA},
        {"manifest too long",
         [&](FakeHttpServer& s) { s.Serve(manifest, "GORV_MRV_DATA\n" + std::string(70000, '\n')); }, MSG_DOWNLOAD,
         gameA},
        {"manifest stalled", [&](FakeHttpServer& s) { s.Route(manifest, {200, "GORV_MRV_DATA\n", FAKE_STALL, 5}); },
         MSG_DOWNLOAD, gameA},
        {"not a manifest", [&](FakeHttpServer& s) { s.Serve(manifest, "<html>hello</html>\n"); }, MSG_BADLIST, gameA},
        {"a target outside", [&](FakeHttpServer& s) { Offer(s, {{"Gorvanel", "game B"}, {"../outside", "evil"}}); },
         MSG_BADLIST, gameA, 1},
        {"up to date", [&](FakeHttpServer& s) { Offer(s, {{"Gorvanel", "game B"}}, "1\n0\n0\n0\n"); }, MSG_UPTODATE,
         gameA, 1},
        {"older", [&](FakeHttpServer& s) { Offer(s, {{"Gorvanel", "game B"}}, "0\n9\n9\n9\n"); }, MSG_UPTODATE, gameA},
        {"a file missing on the server",
         [&](FakeHttpServer& s) {
             Offer(s, {{"Tessarine.dll", stringsB}, {"Gorvanel", "game B"}});
             s.Route(std::string(base) + "PKG.001", {404, "gone"});
         },
         MSG_DOWNLOAD, gameA},
        {"a file cut short",
         [&](FakeHttpServer& s) {
             Offer(s, {{"Gorvanel", "game B"}, {"Music/Lull2.mid", song}});
             s.Route(std::string(base) + "PKG.001", {200, song, FAKE_CUTSHORT, 30000});
         },
         MSG_DOWNLOAD, gameA},
        {"a failure installing",
         [&](FakeHttpServer& s) { Offer(s, {{"Tessarine.dll", stringsB}, {"Gorvanel", "game B"}, {"Music/Lull1.mid/x", "x"}}); },
         MSG_INSTALL, gameA},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeHttpServer server;
        testing::internal::CaptureStderr();
        const bool updated = Run(c.serve, server);
        const std::string log = testing::internal::GetCapturedStderr();
        const bool success = std::string(c.message) == MSG_COMPLETE;
        EXPECT_EQ(updated, success);
        EXPECT_EQ(ui.donecount, 1);
        EXPECT_EQ(ui.versionreads, success ? 1 : 0);
        ASSERT_EQ(ui.boxes.size(), 1u);
        EXPECT_EQ(ui.boxes[0].caption, success ? "Gorvanel Update" : "Error");
        EXPECT_EQ(ui.boxes[0].text, c.message);
        EXPECT_EQ(ui.boxes[0].error, !success);
        EXPECT_EQ(log.empty(), success) << log;     // a failure logs its detail ...
        const std::string updatelog = Read(UPDATELOG_FILE);    // ... in the update log too, with the steps
        EXPECT_NE(updatelog.find("Establishing Connection..."), std::string::npos) << updatelog;
        if (success)
            EXPECT_NE(updatelog.find(MSG_COMPLETE), std::string::npos) << updatelog;
        else
            EXPECT_NE(updatelog.find("ERROR: " + log.substr(7, log.size() - 8)), std::string::npos) << updatelog;
        EXPECT_EQ(Game(), c.after);                 // no work file is left, old or new
        EXPECT_EQ(ui.statuses.back(), "Closing Connection...");
        if (c.requests) {
            EXPECT_EQ(server.Requests().size(), c.requests);
        }
    }
}

TEST_F(WorkerTest, StatusLinesOfAWholeUpdate)
{
    FakeHttpServer server;
    const std::string stringsB = VersionModule("1", "0", "0", "1");
    ASSERT_TRUE(Run([&](FakeHttpServer& s) { Offer(s, {{"Tessarine.dll", stringsB}, {"Gorvanel", FakeBody(3000, 6)}}); },
                    server));
    const std::vector<std::string> expected = {
        "Establishing Connection...",
        "Downloading Update Information...",
        "Reading Update Information",
        "Downloading file 1 of 2 (0% complete)",
        "Downloading file 1 of 2 (100% complete)",
        "Downloading file 2 of 2 (0% complete)",
        "Downloading file 2 of 2 (68% complete)",
        "Downloading file 2 of 2 (100% complete)",
        "Installing file 1 of 2...",
        "Installing file 2 of 2...",
        "Closing Connection...",
    };
    EXPECT_EQ(ui.statuses, expected);
    for (const FakeRequest& r : server.Requests())
        EXPECT_EQ(r.useragent, "Gorvanel Update");
}

TEST_F(WorkerTest, NoConnectionAtAll)
{
    MakeGameA();
    UpdateJob job = MakeJob("http://127.0.0.1:1/download/", VERSION_A);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(UpdateThreadProc(job));
    testing::internal::GetCapturedStderr();
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, MSG_DOWNLOAD);
    EXPECT_EQ(ui.donecount, 1);
    EXPECT_EQ(Game(), gameA);
}

// Another program at work in the game directory (a second updater, or the installer placing files):
// the updater says which, asks no server and touches nothing, not even the other's work files; once
// the other is done, the update runs, and leaves no lock behind.
TEST_F(WorkerTest, OneProgramAtATime)
{
    const struct {
        const char* holder;
        const char* message;
    } cases[] = {
        {HOLDER_UPDATE, BUSY_UPDATE},
        {HOLDER_INSTALLER, BUSY_INSTALLER},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.holder);
        FakeHttpServer server;
        Offer(server, {{"Tessarine.dll", VersionModule("1", "0", "0", "1")}, {"Gorvanel", "game B"}});
        MakeGameA();
        ui = RecordingUi();
        GameDir other;      // held as the other program holds it
        std::string busy;
        ASSERT_EQ(HoldGameDir(dir.string(), c.holder, &other, &busy), 0);
        const std::map<std::string, std::string> before = Game();
        UpdateJob job = MakeJob(server.Url(base), VERSION_A);
        testing::internal::CaptureStderr();
        EXPECT_FALSE(UpdateThreadProc(job));
        testing::internal::GetCapturedStderr();
        ASSERT_EQ(ui.boxes.size(), 1u);
        EXPECT_EQ(ui.boxes[0].text, c.message);
        EXPECT_EQ(ui.donecount, 1);
        EXPECT_TRUE(server.Requests().empty());
        EXPECT_EQ(Game(), before);

        ReleaseGameDir(&other);
        ui = RecordingUi();
        job = MakeJob(server.Url(base), VERSION_A);
        EXPECT_TRUE(UpdateThreadProc(job));
        EXPECT_EQ(Read("Gorvanel"), "game B");
        EXPECT_FALSE(fs::exists(File(LOCKFILE_NAME)));
    }
}

// A second updater started while the first one downloads finds the folder busy; the first one's
// update goes on whole.
TEST_F(WorkerTest, ASecondUpdaterDuringAnUpdate)
{
    FakeHttpServer server;
    Offer(server, {{"Tessarine.dll", VersionModule("1", "0", "0", "1")}, {"Gorvanel", FakeBody(6000, 2)}});
    server.Route(std::string(base) + PackageName(1), {200, FakeBody(6000, 2), FAKE_SLOW});
    MakeGameA();
    UpdateJob first = MakeJob(server.Url(base), VERSION_A);
    RecordingUi firstui;
    first.ui = &firstui;
    bool updated = false;
    std::thread running([&] { updated = UpdateThreadProc(first); });
    // Once the first holds the lock (its lock file stands), the second starts.
    while (!fs::exists(File(LOCKFILE_NAME)))
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    UpdateJob second = MakeJob(server.Url(base), VERSION_A);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(UpdateThreadProc(second));
    testing::internal::GetCapturedStderr();
    running.join();
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, BUSY_UPDATE);
    EXPECT_TRUE(updated);
    EXPECT_EQ(Read("Gorvanel"), FakeBody(6000, 2));
    EXPECT_EQ(firstui.boxes.back().text, MSG_COMPLETE);
}

// A server that sends every file just fast enough for that file, but the whole update too slowly: the
// update stops at its deadline, says the server was too slow, changes nothing and lets the lock go;
// given the time the declared sizes allow, the same server completes it.
TEST_F(WorkerTest, AWholeUpdateHasADeadline)
{
    const struct {
        const char* what;
        int files;
        size_t size;
    } cases[] = {
        {"many files, each in time", 6, 3000},     // about 150 ms each
        {"one file, stopped while it arrives", 1, 30000},   // about 1.5 s
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FakeHttpServer server;
        std::vector<std::pair<std::string, std::string>> files;
        for (int i = 0; i < c.files; i++)
            files.push_back({"Data/file" + std::to_string(i), FakeBody(c.size, i)});
        Offer(server, files);
        for (int i = 0; i < c.files; i++)
            server.Route(std::string(base) + PackageName(i), {200, files[i].second, FAKE_SLOW});
        MakeGameA();
        ui = RecordingUi();
        UpdateJob job = MakeJob(server.Url(base), VERSION_A);
        job.deadlinebasems = 300;
        job.deadlinebytes = 1 << 30;
        testing::internal::CaptureStderr();
        EXPECT_FALSE(UpdateThreadProc(job));
        const std::string log = testing::internal::GetCapturedStderr();
        ASSERT_EQ(ui.boxes.size(), 1u);
        EXPECT_EQ(ui.boxes[0].text, MSG_TOOSLOW);
        EXPECT_NE(log.find("too slow"), std::string::npos) << log;
        EXPECT_EQ(Game(), gameA);
        GameDir next;
        std::string busy;
        EXPECT_EQ(HoldGameDir(dir.string(), HOLDER_UPDATE, &next, &busy), 0);
        ReleaseGameDir(&next);

        ui = RecordingUi();
        job = MakeJob(server.Url(base), VERSION_A);
        job.deadlinebasems = 300;
        job.deadlinebytes = 1000;       // a second more for every 1000 bytes declared
        EXPECT_TRUE(UpdateThreadProc(job));
        EXPECT_EQ(Read("Data/file0"), files[0].second);
    }
}

// The address built in until there is a server says so, and asks no one.
TEST_F(WorkerTest, NoServerConfigured)
{
    MakeGameA();
    UpdateJob job = MakeJob("https://gorvanel.example.net/download/files/gorvanel/", VERSION_A);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(UpdateThreadProc(job));
    testing::internal::GetCapturedStderr();
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, MSG_NOSERVER);
    EXPECT_EQ(Game(), gameA);
}

} // namespace
