// HTTP through the platform layer: outcomes by what the server does, and error pages kept away.
#include <gtest/gtest.h>

#include "fake_http_server.h"
#include "platform/http.h"

namespace {

TEST(Http, Outcomes)
{
    FakeHttpServer server;
    const std::string body = FakeBody(3000, 7);
    server.Serve("/target", body);
    struct Case {
        const char* name;
        FakeRoute route;
        HttpOutcome outcome;
        bool bodyseen;
    } const cases[] = {
        {"200", {200, body}, HTTP_DONE, true},
        {"404 page", {404, "<html>gone</html>"}, HTTP_NOANSWER, false},
        {"500 page", {500, "<html>oops</html>"}, HTTP_NOANSWER, false},
        {"204 no content", {204, ""}, HTTP_NOANSWER, false},
        {"redirected", {302, "", FAKE_REDIRECT, 0, "/target"}, HTTP_DONE, true},
        {"six redirects", {302, "", FAKE_REDIRECT, 0, "/r"}, HTTP_NOANSWER, false},
        {"redirect to ftp", {302, "", FAKE_REDIRECT, 0, "ftp://127.0.0.1/x"}, HTTP_NOANSWER, false},
        {"cut short", {200, body, FAKE_CUTSHORT, 1000}, HTTP_CUTSHORT, true},
        {"stalled", {200, body, FAKE_STALL, 0}, HTTP_CUTSHORT, false},
    };
    HttpSettings settings;
    settings.useragent = "test";
    settings.lowspeedbytes = 1000;
    settings.lowspeedseconds = 1;
    HttpSession* const session = OpenHttpSession(settings);
    ASSERT_NE(session, nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        server.Route("/r", c.route);
        std::string received;
        std::string detail;
        const HttpOutcome outcome = HttpGet(
            session, server.Url("/r"),
            [&](const uint8_t* data, size_t n) {
                received.append((const char*)data, n);
                return false;
            },
            &detail);
        EXPECT_EQ(outcome, c.outcome) << detail;
        EXPECT_EQ(!received.empty(), c.bodyseen);
        if (c.outcome == HTTP_DONE) {
            EXPECT_TRUE(received == body);
        }
    }
    CloseHttpSession(session);
}

TEST(Http, TheReceiverCanStop)
{
    FakeHttpServer server;
    server.Serve("/big", FakeBody(100000, 8));
    HttpSession* const session = OpenHttpSession(HttpSettings());
    size_t got = 0;
    EXPECT_EQ(HttpGet(session, server.Url("/big"),
                      [&](const uint8_t*, size_t n) {
                          got += n;
                          return true;
                      },
                      nullptr),
              HTTP_STOPPED);
    EXPECT_LT(got, 100000u);
    CloseHttpSession(session);
}

TEST(Http, RedirectsAreLimitedToFive)
{
    FakeHttpServer server;
    for (int i = 0; i < 6; i++)
        server.Route("/hop" + std::to_string(i), {302, "", FAKE_REDIRECT, 0, "/hop" + std::to_string(i + 1)});
    server.Serve("/hop6", "end");
    HttpSession* const session = OpenHttpSession(HttpSettings());
    const HttpReceiver ignore = [](const uint8_t*, size_t) { return false; };
    EXPECT_EQ(HttpGet(session, server.Url("/hop0"), ignore, nullptr), HTTP_NOANSWER);   // six hops
    EXPECT_EQ(HttpGet(session, server.Url("/hop1"), ignore, nullptr), HTTP_DONE);       // five
    CloseHttpSession(session);
}

} // namespace
