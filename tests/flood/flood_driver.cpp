// Three players on the wire against a host: joins Ann, Bo and a flooder as wire-level peers written
// from the protocol (a frame is its length byte, the message, ';'), and times Ann's chat lines on their
// way to Bo: first with the line quiet, then while the flooder, in a process of its own, floods the host
// as fast as it takes his data, once reading what the host sends him and once not.
//
// A line must reach Bo within a host pass or two plus 50 ms (the median), and none may take a second.
//
//   flood_driver game <host folder> <port>
//   flood_driver lobby <passes file> <port>
//
// game: the host is a real Gorvanel program, driven into its lobby through its control folder (as the
// player at its keyboard); the flooder sends refused frames until the lines are timed.
// lobby: the host is the multi-process test's lobby host (tests/multiplayer), already in its lobby, which
// counts its passes in the passes file; the flooder sends 24 MB of chat lines, every line timed while he
// still sends.
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
enum { CHATS = 10, SLOWESTMS = 1000, MARGINMS = 50, CHATLINE = 200, CHATLINEMS = 100 };
const size_t LOBBYFLOODBYTES = 24u << 20;

bool gamehost = true;       // a Gorvanel program (else the multi-process test's lobby host)
std::string hostdir;        // game: its folder
std::string passespath;     // lobby: its passes file
int chatgapms = 250;        // between one line's arrival and the next line
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

// The lobby host's passes so far.
uint64_t Passes()
{
    unsigned long long n = 0;
    std::ifstream(passespath) >> n;
    return n;
}

// Milliseconds one pass of the host's loop takes now: the time N passes take, over N.
double PassMs()
{
    const int PASSES = 40;
    const Clock::time_point start = Clock::now();
    if (gamehost) {
        Await("frames " + std::to_string(PASSES));
    } else {
        const uint64_t first = Passes();
        while (Passes() < first + PASSES) {
            if (MsSince(start) > 60000)
                Fail("the host stopped passing");
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    return (double)MsSince(start) / PASSES;
}

std::string Frame(const std::string& body)
{
    return std::string(1, (char)(body.size() + 2)) + body + ';';
}

struct Wire {
    int s = -1;
    std::string in;
    int receivebuffer = 0;  // bytes the socket may hold unread (0: the system's choice)

    void Connect()
    {
        s = socket(AF_INET, SOCK_STREAM, 0);
        // Before connecting: a buffer shrunk on an open connection leaves the system dropping what
        // arrives, the host's acknowledgements too, and the flooder's own sending stalls.
        if (receivebuffer > 0)
            setsockopt(s, SOL_SOCKET, SO_RCVBUF, &receivebuffer, sizeof receivebuffer);
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
// CHATS of them, and while the flood (a process; 0: none) runs, more until it has ended: *during the
// lines timed before its end was seen, *status its exit status.
std::vector<long> TimeChats(Wire& ann, int annindex, Wire& bo, const std::string& tag, pid_t flood = 0,
                            size_t* during = nullptr, int* status = nullptr)
{
    std::vector<long> times;
    bool ended = flood == 0;
    for (int i = 0; i < CHATS || !ended; i++) {
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
        std::this_thread::sleep_for(std::chrono::milliseconds(chatgapms));
        ann.Read(0);
        ann.in.clear();
        if (!ended && waitpid(flood, status, WNOHANG) == flood) {
            ended = true;
            *during = times.size();
        }
    }
    return times;
}

volatile sig_atomic_t stopflood = 0;

void StopFlood(int)
{
    stopflood = 1;
}

// Sends the frame again and again as fast as the host takes it, until limit bytes went (0: no limit) or
// it is told to stop (SIGTERM); when reading, also takes everything the host sends. Runs in a child
// process, which it ends: with 1 when a limit was set and not reached.
[[noreturn]] void Flood(Wire& w, bool reading, const std::string& frame, uint64_t limit)
{
    signal(SIGTERM, StopFlood);
    std::string block;
    while (block.size() < 64 * 1024)
        block += frame;
    uint64_t sent = 0;
    while (!stopflood && (limit == 0 || sent < limit)) {
        pollfd fd{w.s, (short)(POLLOUT | (reading ? POLLIN : 0)), 0};
        poll(&fd, 1, 10);
        if (fd.revents & POLLIN) {
            char buffer[65536];
            if (recv(w.s, buffer, sizeof buffer, MSG_DONTWAIT) == 0)
                break;
        }
        if (fd.revents & POLLOUT) {
            // On from where the socket last stopped taking, so that every frame arrives whole.
            const size_t at = (size_t)(sent % block.size());
            size_t size = block.size() - at;
            if (limit > 0)
                size = (size_t)std::min<uint64_t>(size, limit - sent);
            const ssize_t n = send(w.s, block.data() + at, size, MSG_NOSIGNAL | MSG_DONTWAIT);
            if (n > 0)
                sent += (uint64_t)n;
            else if (n < 0 && errno != EAGAIN)
                break;
        }
    }
    std::printf("flooder (%s) sent %llu bytes\n", reading ? "reading" : "not reading", (unsigned long long)sent);
    std::fflush(stdout);
    std::_Exit(limit > 0 && sent < limit ? 1 : 0);
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
    if (!reading)
        flooder.receivebuffer = 4096;
    const int index = Join(flooder, name);
    // The game's host gets refused frames (SETGS, which only the host may send) until the lines are
    // timed; the lobby host 24 MB of the flooder's chat lines, as long as his longest line.
    const std::string frame = gamehost ? Frame("q<")
                                       : Frame(std::string("a") + (char)(50 + index) + (char)150 + name + ": "
                                               + std::string(CHATLINE - name.size() - 2, 'x'));
    const uint64_t limit = gamehost ? 0 : (LOBBYFLOODBYTES + frame.size() - 1) / frame.size() * frame.size();
    const pid_t child = fork();
    if (child == 0)
        Flood(flooder, reading, frame, limit);
    close(flooder.s);
    std::this_thread::sleep_for(std::chrono::milliseconds(gamehost ? 500 : 100));   // the flood is under way
    double passms = 0;
    std::vector<long> times;
    if (gamehost) {
        times = TimeChats(ann, annindex, bo, name);
        passms = PassMs();
        kill(child, SIGTERM);
        waitpid(child, nullptr, 0);
    } else {
        // Lines all the while the 24 MB go; the host's pass over the same while.
        const Clock::time_point start = Clock::now();
        const uint64_t first = Passes();
        size_t during = 0;
        int status = 0;
        times = TimeChats(ann, annindex, bo, name, child, &during, &status);
        passms = (double)MsSince(start) / (double)std::max<uint64_t>(1, Passes() - first);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
            Fail("the flood by " + name + " did not send its 24 MB");
        if (during < CHATS)
            Fail("the flood by " + name + " was over after " + std::to_string(during) + " lines");
    }
    std::cout << "flood by " << name << ": host pass " << passms << " ms; chat ms " << List(times) << std::endl;
    const long bound = (long)(2 * passms) + MARGINMS;
    if (Median(times) > bound)
        Fail("the median chat took " + std::to_string(Median(times)) + " ms during the flood by " + name + "; more than "
             + std::to_string(bound) + " ms");
    if (*std::max_element(times.begin(), times.end()) > SLOWESTMS)
        Fail("a chat line took more than a second during the flood by " + name);
}

} // namespace

int main(int argc, char** argv)
{
    const std::string kind = argc == 4 ? argv[1] : "";
    if (kind != "game" && kind != "lobby")
        Fail("usage: flood_driver game <host folder> <port> | flood_driver lobby <passes file> <port>");
    gamehost = kind == "game";
    (gamehost ? hostdir : passespath) = argv[2];
    port = std::atoi(argv[3]);
    signal(SIGPIPE, SIG_IGN);

    if (gamehost) {
        Await("gs " + std::to_string(GS_INTRO));
        Command("keys " + std::to_string(KEY_SPACE) + " x5");
        Await("gs " + std::to_string(GS_NAME));
        Command("type Host");
        Await("frames 2");
        Command("click 695 570");       // "Accept"
        Await("gs " + std::to_string(GS_MAINMENU));
        Command("click 400 100");       // the host icon
        Await("gs " + std::to_string(GS_LOBBY));
    } else {
        chatgapms = CHATLINEMS;         // the pace the host allows a player's lines for good
    }

    LearnVersion();
    Wire ann, bo;
    const int annindex = Join(ann, "Ann");
    Join(bo, "Bo");
    const std::vector<long> quiet = TimeChats(ann, annindex, bo, "quiet");
    std::cout << "quiet: host pass " << PassMs() << " ms; chat ms " << List(quiet) << std::endl;

    FloodRound(ann, annindex, bo, true);
    FloodRound(ann, annindex, bo, false);

    // The game's host must still be hosting its lobby; the lobby host ends once Ann and Bo left.
    if (gamehost) {
        Await("gs " + std::to_string(GS_LOBBY));
        Command("quit");
    }
    return 0;
}
