// The player at the host's keyboard and three players on the wire: drives a real Gorvanel host into
// its lobby through its control folder, joins Ann, Bo and a flooder as wire-level peers written from
// the protocol (a frame is its length byte, the message, ';'), and times Ann's chat lines on their way
// to Bo: first with the line quiet, then while the flooder, in a process of its own, sends refused frames
// as fast as the host takes them, once reading what the host sends him and once not.
//
// A line must reach Bo within a host pass or two plus 50 ms (the median), and none may take a second.
//
//   flood_driver <host folder> <port>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

enum { GS_LOBBY = 1, GS_MAINMENU = 3, GS_NAME = 7, GS_INTRO = 60, KEY_SPACE = 57 };
enum { CHATS = 10, CHATGAPMS = 250, SLOWESTMS = 1000, MARGINMS = 50 };

std::string hostdir;
int port = 0;
std::streamoff repliesread = 0;
std::string partial;

[[noreturn]] void Fail(const std::string& why)
{
    std::cout << "FAILED: " << why << std::endl;
    std::exit(1);
}

long MsSince(Clock::time_point start)
{
    return (long)std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// The host's control folder.
void Command(const std::string& line)
{
    std::ofstream(hostdir + "/ctl/commands", std::ios::app) << line << '\n';
}

void Expect(const std::string& prefix)
{
    const Clock::time_point start = Clock::now();
    for (;;) {
        std::ifstream in(hostdir + "/ctl/replies", std::ios::binary);
        if (in) {
            in.seekg(repliesread);
            std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            repliesread += (std::streamoff)text.size();
            partial += text;
        }
        for (size_t end = partial.find('\n'); end != std::string::npos; end = partial.find('\n')) {
            const std::string line = partial.substr(0, end);
            partial.erase(0, end + 1);
            if (line.rfind(prefix, 0) == 0)
                return;
        }
        if (MsSince(start) > 60000)
            Fail("the host never answered \"" + prefix + "\"");
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

void Await(const std::string& condition)
{
    Command("wait " + condition);
    Expect(condition);
}

// Milliseconds one pass of the host's loop takes now: the time N frames take, over N.
double PassMs()
{
    const int FRAMES = 40;
    const Clock::time_point start = Clock::now();
    Await("frames " + std::to_string(FRAMES));
    return (double)MsSince(start) / FRAMES;
}

std::string Frame(const std::string& body)
{
    return std::string(1, (char)(body.size() + 2)) + body + ';';
}

struct Wire {
    int s = -1;
    std::string in;

    void Connect()
    {
        s = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons((uint16_t)port);
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (connect(s, (const sockaddr*)&a, sizeof a))
            Fail("cannot connect to the host");
        const int on = 1;
        setsockopt(s, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    }

    void Send(const std::string& bytes)
    {
        for (size_t done = 0; done < bytes.size();) {
            const ssize_t n = send(s, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
            if (n <= 0)
                Fail("the host stopped taking data");
            done += (size_t)n;
        }
    }

    // Takes what has arrived, waiting up to ms for something; false when the host closed.
    bool Read(int ms)
    {
        pollfd fd{s, POLLIN, 0};
        if (poll(&fd, 1, ms) <= 0)
            return true;
        char buffer[65536];
        const ssize_t n = recv(s, buffer, sizeof buffer, MSG_DONTWAIT);
        if (n == 0)
            return false;
        if (n > 0)
            in.append(buffer, (size_t)n);
        return true;
    }

    // The next whole frame's message (no length byte, no ';'), or "" after ms without one.
    std::string Next(int ms)
    {
        const Clock::time_point start = Clock::now();
        for (;;) {
            if (!in.empty() && in.size() >= (uint8_t)in[0]) {
                const std::string frame = in.substr(0, (uint8_t)in[0]);
                in.erase(0, frame.size());
                return frame.substr(1, frame.size() - 2);
            }
            const long left = ms - MsSince(start);
            if (left <= 0 || !Read((int)left))
                return "";
        }
    }
};

std::string version;    // the host's four version bytes

void LearnVersion()
{
    Wire probe;
    probe.Connect();
    probe.Send(Frame(std::string("{\x7f\x7e\x7d\x7c") + "Probe"));   // no version the game has
    const std::string answer = probe.Next(10000);
    if (answer.size() != 5 || answer[0] != '$')
        Fail("the host did not answer a wrong version with its own");
    version = answer.substr(1);
    close(probe.s);
}

// Joins as name; his index in the host's table.
int Join(Wire& w, const std::string& name)
{
    w.Connect();
    w.Send(Frame("{" + version + name));
    int index = -1;
    for (;;) {
        const std::string m = w.Next(10000);
        if (m.empty())
            Fail(name + " was not taken into the game");
        if (m[0] == '*' && m.size() >= 3)
            index = (uint8_t)m[2] - 50;     // his own record comes last
        if (m[0] == '1')
            return index;
    }
}

// Ann's lines, each timed from her send to Bo's receipt; the other players' sockets are kept drained.
std::vector<long> TimeChats(Wire& ann, int annindex, Wire& bo, const std::string& tag)
{
    std::vector<long> times;
    for (int i = 0; i < CHATS; i++) {
        const std::string text = "Ann: " + tag + " " + std::to_string(i);
        const Clock::time_point sent = Clock::now();
        ann.Send(Frame(std::string("a") + (char)(50 + annindex) + (char)150 + text));
        for (;;) {
            const std::string m = bo.Next(10000);
            if (m.empty())
                Fail("Bo never got \"" + text + "\"");
            if (m[0] == 'a' && m.find(text) != std::string::npos)
                break;
        }
        times.push_back(MsSince(sent));
        ann.Read(0);
        ann.in.clear();
        std::this_thread::sleep_for(std::chrono::milliseconds(CHATGAPMS));
        ann.Read(0);
        ann.in.clear();
    }
    return times;
}

volatile sig_atomic_t stopflood = 0;

void StopFlood(int)
{
    stopflood = 1;
}

// Sends refused frames (SETGS, which only the host may send) as fast as the host takes them, until
// told to stop (SIGTERM); when reading, also takes everything the host sends. Runs in a child process.
void Flood(Wire& w, bool reading)
{
    signal(SIGTERM, StopFlood);
    std::string block;
    while (block.size() < 64 * 1024)
        block += Frame("q<");
    uint64_t sent = 0;
    while (!stopflood) {
        pollfd fd{w.s, (short)(POLLOUT | (reading ? POLLIN : 0)), 0};
        poll(&fd, 1, 10);
        if (fd.revents & POLLIN) {
            char buffer[65536];
            if (recv(w.s, buffer, sizeof buffer, MSG_DONTWAIT) == 0)
                break;
        }
        if (fd.revents & POLLOUT) {
            const ssize_t n = send(w.s, block.data(), block.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
            if (n > 0)
                sent += (uint64_t)n;
            else if (n < 0 && errno != EAGAIN)
                break;
        }
    }
    std::printf("flooder (%s) sent %llu bytes\n", reading ? "reading" : "not reading", (unsigned long long)sent);
    std::fflush(stdout);
}

long Median(std::vector<long> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

std::string List(const std::vector<long>& v)
{
    std::string text;
    for (const long t : v)
        text += std::to_string(t) + " ";
    return text;
}

// One flood from a newly joined flooder while Ann chats; checks Bo's times against the host's pass.
void FloodRound(Wire& ann, int annindex, Wire& bo, bool reading)
{
    const std::string name = reading ? "Flo" : "Fly";
    Wire flooder;
    Join(flooder, name);
    if (!reading) {
        const int small = 4096;
        setsockopt(flooder.s, SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
    }
    const pid_t child = fork();
    if (child == 0) {
        Flood(flooder, reading);
        std::_Exit(0);
    }
    close(flooder.s);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));   // the flood is under way
    const std::vector<long> times = TimeChats(ann, annindex, bo, name);
    const double slowest = PassMs();
    kill(child, SIGTERM);
    int status = 0;
    waitpid(child, &status, 0);
    std::cout << "flood by " << name << ": host pass " << slowest << " ms; chat ms " << List(times) << std::endl;
    const long bound = (long)(2 * slowest) + MARGINMS;
    if (Median(times) > bound)
        Fail("the median chat took " + std::to_string(Median(times)) + " ms during the flood by " + name + "; more than "
             + std::to_string(bound) + " ms");
    if (*std::max_element(times.begin(), times.end()) > SLOWESTMS)
        Fail("a chat line took more than a second during the flood by " + name);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
        Fail("usage: flood_driver <host folder> <port>");
    hostdir = argv[1];
    port = std::atoi(argv[2]);
    signal(SIGPIPE, SIG_IGN);

    Await("gs " + std::to_string(GS_INTRO));
    Command("keys " + std::to_string(KEY_SPACE) + " x5");
    Await("gs " + std::to_string(GS_NAME));
    Command("type Host");
    Await("frames 2");
    Command("click 695 570");       // "Accept"
    Await("gs " + std::to_string(GS_MAINMENU));
    Command("click 400 100");       // the host icon
    Await("gs " + std::to_string(GS_LOBBY));

    LearnVersion();
    Wire ann, bo;
    const int annindex = Join(ann, "Ann");
    Join(bo, "Bo");
    const std::vector<long> quiet = TimeChats(ann, annindex, bo, "quiet");
    std::cout << "quiet: host pass " << PassMs() << " ms; chat ms " << List(quiet) << std::endl;

    FloodRound(ann, annindex, bo, true);
    FloodRound(ann, annindex, bo, false);

    Await("gs " + std::to_string(GS_LOBBY));    // still hosting its lobby
    Command("quit");
    return 0;
}
