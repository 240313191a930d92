// The fake HTTP server's one thread.
#include "fake_http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool SendAll(int fd, const std::string& data)
{
    size_t sent = 0;
    while (sent < data.size()) {
        const ssize_t n = send(fd, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        sent += (size_t)n;
    }
    return true;
}

// Waits up to ms for the peer to send or close; true when it closed.
bool PeerClosedWithin(int fd, int ms)
{
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, ms) <= 0)
        return false;
    char c;
    return recv(fd, &c, 1, MSG_DONTWAIT) <= 0;
}

const char* Reason(int status)
{
    switch (status) {
    case 200: return "OK";
    case 302: return "Found";
    case 404: return "Not Found";
    case 500: return "Internal Server Error";
    default: return "Status";
    }
}

std::string HeaderValue(const std::string& head, const char* name)
{
    const std::string key = std::string("\r\n") + name + ": ";
    const size_t at = head.find(key);
    if (at == std::string::npos)
        return "";
    const size_t start = at + key.size();
    return head.substr(start, head.find("\r\n", start) - start);
}

} // namespace

std::string FakeBody(size_t size, uint32_t seed)
{
    std::string body(size, '\0');
    uint32_t x = seed * 2654435761u + 1;
    for (size_t i = 0; i < size; i++) {
        x = x * 1103515245u + 12345u;
        body[i] = (char)(x >> 16);
    }
    return body;
}

FakeHttpServer::FakeHttpServer()
{
    // A proxy set for the machine must not take loopback requests elsewhere.
    setenv("no_proxy", "127.0.0.1,localhost", 1);
    setenv("NO_PROXY", "127.0.0.1,localhost", 1);
    listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    socklen_t len = sizeof addr;
    if (listener < 0 || bind(listener, (sockaddr*)&addr, sizeof addr) != 0 || listen(listener, 8) != 0
        || getsockname(listener, (sockaddr*)&addr, &len) != 0) {
        perror("fake server");
        abort();
    }
    port = ntohs(addr.sin_port);
    thread = std::thread([this] { Run(); });
}

FakeHttpServer::~FakeHttpServer()
{
    stopping = true;
    thread.join();
    close(listener);
}

void FakeHttpServer::Route(const std::string& path, const FakeRoute& route)
{
    const std::lock_guard<std::mutex> hold(lock);
    routes[path] = route;
}

std::string FakeHttpServer::Url(const std::string& path) const
{
    return "http://127.0.0.1:" + std::to_string(port) + path;
}

std::vector<FakeRequest> FakeHttpServer::Requests()
{
    const std::lock_guard<std::mutex> hold(lock);
    return requests;
}

FakeRoute FakeHttpServer::Find(const std::string& path)
{
    const std::lock_guard<std::mutex> hold(lock);
    const auto it = routes.find(path);
    if (it != routes.end())
        return it->second;
    return FakeRoute{404, "<html>Not here</html>"};
}

void FakeHttpServer::Run()
{
    while (!stopping) {
        pollfd p{listener, POLLIN, 0};
        if (poll(&p, 1, 20) <= 0)
            continue;
        const int client = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0)
            continue;
        Answer(client);
        close(client);
    }
}

void FakeHttpServer::Answer(int client)
{
    std::string head;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (head.find("\r\n\r\n") == std::string::npos) {
        if (stopping || std::chrono::steady_clock::now() > deadline || head.size() > 16384)
            return;
        pollfd p{client, POLLIN, 0};
        if (poll(&p, 1, 20) <= 0)
            continue;
        char buf[1024];
        const ssize_t n = recv(client, buf, sizeof buf, 0);
        if (n <= 0)
            return;
        head.append(buf, (size_t)n);
    }
    const size_t sp1 = head.find(' ');
    const size_t sp2 = head.find(' ', sp1 + 1);
    const std::string path = head.substr(sp1 + 1, sp2 - sp1 - 1);
    {
        const std::lock_guard<std::mutex> hold(lock);
        requests.push_back({path, HeaderValue(head, "User-Agent")});
    }
    const FakeRoute route = Find(path);
    if (route.delayms > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(route.delayms));

    std::string answer = "HTTP/1.1 " + std::to_string(route.status) + " " + Reason(route.status) + "\r\n";
    answer += "Connection: close\r\n";
    if (route.mode == FAKE_REDIRECT)
        answer += "Location: " + route.location + "\r\n";
    if (route.mode == FAKE_CHUNKED)
        answer += "Transfer-Encoding: chunked\r\n";
    else if (route.mode != FAKE_NOLENGTH)
        answer += "Content-Length: " + std::to_string(route.body.size()) + "\r\n";
    answer += "\r\n";

    switch (route.mode) {
    case FAKE_NORMAL:
    case FAKE_NOLENGTH:
    case FAKE_REDIRECT:
        SendAll(client, answer + route.body);
        break;
    case FAKE_CHUNKED: {
        for (size_t at = 0; at < route.body.size(); at += 1000) {
            const std::string piece = route.body.substr(at, 1000);
            char size[16];
            snprintf(size, sizeof size, "%zx\r\n", piece.size());
            answer += size + piece + "\r\n";
        }
        answer += "0\r\n\r\n";
        SendAll(client, route.cut ? answer.substr(0, route.cut) : answer);
        break;
    }
    case FAKE_CUTSHORT:
        SendAll(client, answer + route.body.substr(0, route.cut));
        break;
    case FAKE_SLOW:
        if (!SendAll(client, answer))
            break;
        for (size_t at = 0; at < route.body.size() && !stopping; at += 600) {
            if (!SendAll(client, route.body.substr(at, 600)))
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(30));
        }
        break;
    case FAKE_TRICKLE:
        if (!SendAll(client, answer))
            break;
        for (size_t at = 0; at < route.body.size() && !stopping; at++) {
            if (!SendAll(client, route.body.substr(at, 1)) || PeerClosedWithin(client, 100))
                break;
        }
        break;
    case FAKE_STALL:
        SendAll(client, answer + route.body.substr(0, route.cut));
        for (int waited = 0; waited < 20000 && !stopping; waited += 20)
            if (PeerClosedWithin(client, 20))
                break;
        break;
    }
    // Let the client read everything before the close.
    shutdown(client, SHUT_WR);
    PeerClosedWithin(client, 200);
}
