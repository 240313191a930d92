// A small HTTP/1.1 server on 127.0.0.1 for the updater's tests, with the faults a real server shows.
//
// One thread answers one connection at a time and closes it after the answer. Unknown paths get 404.
#pragma once
#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

enum FakeMode {
    FAKE_NORMAL,    // Content-Length and the body
    FAKE_NOLENGTH,  // no Content-Length: the body ends when the connection closes
    FAKE_CHUNKED,   // chunked transfer encoding
    FAKE_CUTSHORT,  // the full Content-Length announced, only `cut` bytes sent, then closed
    FAKE_SLOW,      // the body trickled out in small pieces with pauses (steady, just slow)
    FAKE_TRICKLE,   // the body a byte every 100 ms: never still, never fast
    FAKE_STALL,     // the headers and `cut` bytes, then nothing until the client gives up
    FAKE_REDIRECT,  // 302 to `location`
};

struct FakeRoute {
    FakeRoute(int s = 200, std::string b = "", FakeMode m = FAKE_NORMAL, size_t c = 0, std::string l = "", int d = 0)
        : status(s), body(std::move(b)), mode(m), cut(c), location(std::move(l)), delayms(d)
    {
    }
    int status;
    std::string body;
    FakeMode mode;
    size_t cut;
    std::string location;
    int delayms;                // a pause before the answer
};

struct FakeRequest {
    std::string path;
    std::string useragent;
};

class FakeHttpServer {
public:
    FakeHttpServer();           // listening on 127.0.0.1 at a free port
    ~FakeHttpServer();          // stops and joins
    void Route(const std::string& path, const FakeRoute& route);
    void Serve(const std::string& path, const std::string& body) { Route(path, FakeRoute{200, body}); }
    std::string Url(const std::string& path) const;   // "http://127.0.0.1:port" + path
    std::vector<FakeRequest> Requests();

private:
    void Run();
    void Answer(int client);
    FakeRoute Find(const std::string& path);

    int listener = -1;
    uint16_t port = 0;
    std::atomic<bool> stopping{false};
    std::mutex lock;
    std::map<std::string, FakeRoute> routes;
    std::vector<FakeRequest> requests;
    std::thread thread;
};

std::string FakeBody(size_t size, uint32_t seed);   // size bytes of every value, different per seed
