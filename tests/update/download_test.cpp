// Downloading one file from a real HTTP exchange on loopback, with every fault the server can show.
#include <gtest/gtest.h>

#include <chrono>

#include "fake_http_server.h"
#include "update_fixture.h"

namespace {

class DownloadTest : public GameDirTest {
protected:
    void SetUp() override
    {
        GameDirTest::SetUp();
        job = MakeJob(server.Url("/download/files/gorvanel/"));
        OpenInternet(job);
        ui.statuses.clear();
    }
    void TearDown() override
    {
        CloseHttpSession(job.internethandle);
        GameDirTest::TearDown();
    }
    // Downloads path to PKG.000; the message of the failure, or "" on success.
    std::string Fetch(const std::string& path, int32_t size, int64_t limit = MAXUNSIZEDBYTES)
    {
        try {
            DownloadFile(job, server.Url(path), "PKG.000", "Downloading file 1 of 1", size, limit);
        } catch (const InternetError& e) {
            detail = e.detail;
            return e.message;
        }
        return "";
    }

    FakeHttpServer server;
    UpdateJob job;
    std::string detail;
};

TEST_F(DownloadTest, ServerModes)
{
    const std::string body = FakeBody(5000, 1);
    struct Case {
        const char* name;
        FakeRoute route;
        int32_t size;
        const char* message;    // "" for success
    };
    const Case cases[] = {
        {"normal", {200, body}, 5000, ""},
        {"no length", {200, body, FAKE_NOLENGTH}, 5000, ""},
        {"chunked", {200, body, FAKE_CHUNKED}, 5000, ""},
        {"slow but steady", {200, body, FAKE_SLOW}, 5000, ""},
        {"late answer", {200, body, FAKE_NORMAL, 0, "", 300}, 5000, ""},
        {"redirect", {302, "", FAKE_REDIRECT, 0, "/elsewhere/file"}, 5000, ""},
        {"no size given", {200, body}, -1, ""},
        {"cut short", {200, body, FAKE_CUTSHORT, 3000}, 5000, MSG_DOWNLOAD},
        {"cut short, no size given", {200, body, FAKE_CUTSHORT, 3000}, -1, MSG_DOWNLOAD},
        {"chunked cut short", {200, body, FAKE_CHUNKED, 2500}, 5000, MSG_DOWNLOAD},
        {"shorter than the manifest says", {200, body.substr(0, 4999), FAKE_NOLENGTH}, 5000, MSG_DOWNLOAD},
        {"longer than the manifest says", {200, body + "x"}, 5000, MSG_DOWNLOAD},
        {"longer, no length", {200, body + "x", FAKE_NOLENGTH}, 5000, MSG_DOWNLOAD},
        {"404", {404, "<html>gone</html>"}, 5000, MSG_DOWNLOAD},
        {"404 without a size", {404, "<html>gone</html>"}, -1, MSG_DOWNLOAD},
        {"500", {500, body}, 5000, MSG_DOWNLOAD},
        {"stalled before the body", {200, body, FAKE_STALL, 0}, 5000, MSG_DOWNLOAD},
        {"a trickle below the speed floor", {200, body, FAKE_TRICKLE}, 5000, MSG_DOWNLOAD},
        {"stalled in the middle", {200, body, FAKE_STALL, 2048}, 5000, MSG_DOWNLOAD},
        {"redirect loop", {302, "", FAKE_REDIRECT, 0, "/file"}, 5000, MSG_DOWNLOAD},
        {"redirect off the web", {302, "", FAKE_REDIRECT, 0, "file:///etc/passwd"}, -1, MSG_DOWNLOAD},
    };
    server.Serve("/elsewhere/file", body);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        server.Route("/file", c.route);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(Fetch("/file", c.size), c.message) << detail;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
        if (*c.message)
            EXPECT_EQ(Read("PKG.000"), "<missing>");    // nothing half-written is left
        else
            EXPECT_TRUE(Read("PKG.000") == body);
    }
}

// A server that sends just enough to pass the speed floor is still given up on once the file has
// taken longer than its length allows.
TEST_F(DownloadTest, EveryFileHasADeadline)
{
    CloseHttpSession(job.internethandle);
    job.http.lowspeedbytes = 1;         // a byte every 100 ms passes this floor ...
    job.http.lowspeedseconds = 30;
    job.http.deadlinebasems = 1000;     // ... but 300 bytes may take 1 + 3 seconds, not 30
    job.http.deadlinebytes = 100;
    OpenInternet(job);
    server.Route("/file", {200, FakeBody(300, 3), FAKE_TRICKLE});
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Fetch("/file", 300), MSG_DOWNLOAD);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_GT(took, std::chrono::milliseconds(3500));
    EXPECT_LT(took, std::chrono::seconds(8));
    EXPECT_EQ(Read("PKG.000"), "<missing>");
}

TEST_F(DownloadTest, PercentagesBeforeEachRead)
{
    struct Case {
        size_t bytes;
        FakeMode mode;
        std::vector<std::string> percents;
    } const cases[] = {
        {5000, FAKE_NORMAL, {"0", "40", "81", "100"}},
        {5000, FAKE_CHUNKED, {"0", "40", "81", "100"}},     // however the network cuts the body
        {5000, FAKE_SLOW, {"0", "40", "81", "100"}},
        {4096, FAKE_NORMAL, {"0", "50", "100"}},
        {100, FAKE_NORMAL, {"0", "100"}},
        {40000, FAKE_NORMAL, {"0", "5", "10", "15", "20", "25", "30", "35", "40", "46", "51", "56", "61", "66",
                              "71", "76", "81", "87", "92", "97", "100"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        server.Route("/file", {200, FakeBody(c.bytes, 2), c.mode});
        ui.statuses.clear();
        ASSERT_EQ(Fetch("/file", (int32_t)c.bytes), "") << detail;
        std::vector<std::string> expected;
        for (const std::string& p : c.percents)
            expected.push_back("Downloading file 1 of 1 (" + p + "% complete)");
        EXPECT_EQ(ui.statuses, expected);
    }
}

TEST_F(DownloadTest, NoPercentageWithoutAPositiveSize)
{
    server.Serve("/file", FakeBody(5000, 3));
    ASSERT_EQ(Fetch("/file", -1), "");
    server.Serve("/empty", "");
    ASSERT_EQ(Fetch("/empty", 0), "");
    EXPECT_EQ(Read("PKG.000"), "");
    EXPECT_TRUE(ui.statuses.empty());
}

TEST_F(DownloadTest, AnUnsizedFileStopsAtItsLimit)
{
    server.Serve("/file", FakeBody(5000, 4));
    EXPECT_EQ(Fetch("/file", -1, 4999), MSG_DOWNLOAD);
    EXPECT_EQ(Read("PKG.000"), "<missing>");
    EXPECT_EQ(Fetch("/file", -1, 5000), "");
}

TEST_F(DownloadTest, SendsTheUserAgent)
{
    server.Serve("/file", "x");
    ASSERT_EQ(Fetch("/file", 1), "");
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0].path, "/file");
    EXPECT_EQ(server.Requests()[0].useragent, "Gorvanel Update");
}

TEST_F(DownloadTest, ALocalFileThatCannotBeMadeIsADiskError)
{
    server.Serve("/file", "x");
    Write("PKG.000/inside", "in the way");
    EXPECT_EQ(Fetch("/file", 1), MSG_DISK);
    EXPECT_EQ(detail, "Couldn't open the local file PKG.000 for writing.");
    EXPECT_EQ(Read("PKG.000/inside"), "in the way");
}

TEST_F(DownloadTest, NoServerAtAll)
{
    try {
        DownloadFile(job, "http://127.0.0.1:1/x", "PKG.000", "l", 1);
        ADD_FAILURE() << "no error";
    } catch (const InternetError& e) {
        EXPECT_EQ(e.message, MSG_DOWNLOAD);
        EXPECT_EQ(e.detail.rfind("InternetOpenUrl failed downloading http://127.0.0.1:1/x to PKG.000", 0), 0u)
            << e.detail;
    }
}

} // namespace
