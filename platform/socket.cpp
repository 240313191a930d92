// The socket reactor: poll() over the sockets the game made, turning readiness into SYS_SOCKET messages.
#include "platform/socket.h"

#include "platform/window.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace {

enum SocketState {
    STATE_IDLE,         // made, neither listening nor connecting: nothing to watch (poll reports it hung up)
    STATE_LISTENING,
    STATE_CONNECTING,
    STATE_CONNECTED,
    STATE_FAILED,       // the connect failed
    STATE_ENDED,        // CLOSE reported (or due to nobody): nothing more to say
};

struct WatchedSocket {
    int fd;
    uint32_t events;        // the NETEV_ events asked for
    SocketState state;
    bool connectdue;        // a finished connect waits to be reported
    int connecterror;
    bool readposted;        // a READ is out and no receive has followed
    bool acceptposted;      // an ACCEPT is out and no accept has followed
    bool stalled;           // was ready with nothing to post: left out of poll until the game acts on it
    int failure;            // a connection error (NETERR_) that a send or receive took from the socket, kept for the CLOSE
};

std::vector<WatchedSocket> watched;

// A vanished peer (its machine off, its cable out) answers nothing: idle connections are probed after
// KEEPIDLESECONDS, every KEEPINTERVALSECONDS, and given up after KEEPPROBES unanswered probes; sent data
// left unacknowledged for USERTIMEOUTMS ends the connection too. Both come to under a minute.
constexpr int KEEPIDLESECONDS = 20;
constexpr int KEEPINTERVALSECONDS = 5;
constexpr int KEEPPROBES = 6;
constexpr unsigned USERTIMEOUTMS = 50000;

// The last errno behind each NETERR_ code, for the log: the system's own number and text.
int systemerrno[NETERR_OVERFLOW + 1];

int NetErrorKind(int code);

// The platform's code for an errno value; the value is kept for SocketErrorText.
int NetErrorOf(int code)
{
    const int error = NetErrorKind(code);
    if (error != NETERR_NONE)
        systemerrno[error] = code;
    return error;
}

int NetErrorKind(int code)
{
    switch (code) {
    case 0:
        return NETERR_NONE;
    case EAGAIN:
#if EWOULDBLOCK != EAGAIN
    case EWOULDBLOCK:
#endif
    case EINPROGRESS:
        return NETERR_WOULDBLOCK;
    case ECONNREFUSED:
        return NETERR_REFUSED;
    case ECONNRESET: case ECONNABORTED: case ENETRESET:
        return NETERR_RESET;
    case EPIPE: case ENOTCONN: case ESHUTDOWN:
        return NETERR_CLOSED;
    case ETIMEDOUT:
        return NETERR_TIMEDOUT;
    case EHOSTUNREACH: case ENETUNREACH: case EHOSTDOWN:
        return NETERR_UNREACHABLE;
    case ENETDOWN:
        return NETERR_NETDOWN;
    case EADDRNOTAVAIL: case EAFNOSUPPORT: case EDESTADDRREQ:
        return NETERR_BADADDRESS;
    case EADDRINUSE:
        return NETERR_ADDRESSINUSE;
    case EBADF: case ENOTSOCK:
        return NETERR_NOTSOCKET;
    case ENOBUFS: case ENOMEM: case EMFILE: case ENFILE:
        return NETERR_NORESOURCES;
    case EINVAL: case EISCONN: case EALREADY: case EOPNOTSUPP:
        return NETERR_INVALID;
    default:
        return NETERR_OTHER;
    }
}

void SetError(int* error, int value)
{
    if (error)
        *error = value;
}

// The platform's code for errno as a call left it.
void SetErrno(int* error)
{
    SetError(error, NetErrorOf(errno));
}

WatchedSocket* FindWatched(int s)
{
    for (WatchedSocket& w : watched)
        if (w.fd == s)
            return &w;
    return nullptr;
}

void Unwatch(int s)
{
    for (size_t i = 0; i < watched.size(); i++)
        if (watched[i].fd == s) {
            watched.erase(watched.begin() + i);
            break;
        }
    DiscardSysMessages(SYS_SOCKET, (uintptr_t)s);
}

void Watch(int fd, SocketState state, uint32_t events)
{
    // A stale entry means the number was closed behind our back; its events must not reach the new socket.
    Unwatch(fd);
    WatchedSocket w{};
    w.fd = fd;
    w.events = events;
    w.state = state;
    watched.push_back(w);
}

void PostSocketEvent(int fd, uint32_t event, int error)
{
    PostSysMessage(SYS_SOCKET, (uintptr_t)fd, (intptr_t)(event | ((uint32_t)error & 0xFFFF) << 16));
}

int TakeSocketError(int fd)
{
    int error = 0;
    socklen_t size = sizeof error;
    if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size))
        return NetErrorOf(errno);
    return NetErrorOf(error);
}

// Every game connection: no delay for small frames, and a peer that vanished is noticed.
void SetConnectionOptions(int fd)
{
    const int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    setsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on);
    const int idle = KEEPIDLESECONDS, interval = KEEPINTERVALSECONDS, probes = KEEPPROBES;
    setsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &idle, sizeof idle);
    setsockopt(fd, IPPROTO_TCP, TCP_KEEPINTVL, &interval, sizeof interval);
    setsockopt(fd, IPPROTO_TCP, TCP_KEEPCNT, &probes, sizeof probes);
    const unsigned timeout = USERTIMEOUTMS;
    setsockopt(fd, IPPROTO_TCP, TCP_USER_TIMEOUT, &timeout, sizeof timeout);
}

// Errors that end a connection, as the peer or the network caused them. Reading them from the socket
// clears them there, so they are kept for CLOSE.
bool IsConnectionError(int error)
{
    return error == NETERR_RESET || error == NETERR_TIMEDOUT || error == NETERR_UNREACHABLE || error == NETERR_NETDOWN;
}

void NoteFailure(int s, int error)
{
    WatchedSocket* const w = FindWatched(s);
    if (w && IsConnectionError(error) && !w->failure)
        w->failure = error;
}

// The poll events that could lead to a post for w, or -1 when w is not to be polled.
int PollEventsOf(const WatchedSocket& w)
{
    if (w.stalled)
        return -1;
    switch (w.state) {
    case STATE_LISTENING:
        return (w.events & NETEV_ACCEPT) && !w.acceptposted ? POLLIN : -1;
    case STATE_CONNECTING:
        return POLLOUT;   // the state must move on even when CONNECT is not asked for
    case STATE_CONNECTED:
        if (!(w.events & (NETEV_READ | NETEV_CLOSE)))
            return -1;
        if (w.readposted)
            return 0;     // only errors and hang-ups until the game receives
        return ((w.events & NETEV_READ) ? POLLIN : 0) | ((w.events & NETEV_CLOSE) ? POLLRDHUP : 0);
    default:
        return -1;
    }
}

int PostDueConnect(WatchedSocket& w)
{
    if (!w.connectdue || !(w.events & NETEV_CONNECT))
        return 0;
    w.connectdue = false;
    PostSocketEvent(w.fd, NETEV_CONNECT, w.connecterror);
    return 1;
}

int HandleConnecting(WatchedSocket& w)
{
    int error = TakeSocketError(w.fd);
    if (!error) {
        sockaddr_in peer{};
        socklen_t size = sizeof peer;
        if (getpeername(w.fd, (sockaddr*)&peer, &size))
            error = NETERR_REFUSED;   // hung up without saying why
    }
    w.state = error ? STATE_FAILED : STATE_CONNECTED;
    w.connectdue = true;
    w.connecterror = error;
    return PostDueConnect(w);
}

int HandleConnected(WatchedSocket& w, short revents)
{
    int error = 0;
    if (revents & (POLLERR | POLLHUP)) {
        error = TakeSocketError(w.fd);
        if (!error)
            error = w.failure;
    }
    if (error) {
        // A failed connection is reported at once, even with data unread.
        w.state = STATE_ENDED;
        if (!(w.events & NETEV_CLOSE))
            return 0;
        PostSocketEvent(w.fd, NETEV_CLOSE, error);
        return 1;
    }
    int waiting = 0;
    if (ioctl(w.fd, FIONREAD, &waiting))
        waiting = 0;
    if (waiting > 0) {
        if (!(w.events & NETEV_READ) || w.readposted) {
            w.stalled = true;
            return 0;
        }
        w.readposted = true;
        PostSocketEvent(w.fd, NETEV_READ, 0);
        return 1;
    }
    if (!(revents & (POLLIN | POLLRDHUP | POLLHUP)))
        return 0;
    // The peer has closed and nothing is left to read; wait for the game to take the READ that is out.
    if (w.readposted) {
        w.stalled = true;
        return 0;
    }
    w.state = STATE_ENDED;
    if (!(w.events & NETEV_CLOSE))
        return 0;
    PostSocketEvent(w.fd, NETEV_CLOSE, 0);
    return 1;
}

int HandleReady(WatchedSocket& w, short revents)
{
    if (revents & POLLNVAL) {
        w.state = STATE_ENDED;   // closed behind our back
        return 0;
    }
    switch (w.state) {
    case STATE_LISTENING:
        if (!(revents & POLLIN)) {
            w.stalled = true;
            return 0;
        }
        w.acceptposted = true;
        PostSocketEvent(w.fd, NETEV_ACCEPT, 0);
        return 1;
    case STATE_CONNECTING:
        return HandleConnecting(w);
    case STATE_CONNECTED:
        return HandleConnected(w, revents);
    default:
        return 0;
    }
}

} // namespace

int PumpSockets(int timeoutms)
{
    static std::vector<pollfd> fds;
    static std::vector<size_t> owners;   // index in watched of each entry of fds
    int posted = 0;
    for (WatchedSocket& w : watched)
        posted += PostDueConnect(w);
    fds.clear();
    owners.clear();
    for (size_t i = 0; i < watched.size(); i++) {
        const int events = PollEventsOf(watched[i]);
        if (events < 0)
            continue;
        fds.push_back(pollfd{watched[i].fd, (short)events, 0});
        owners.push_back(i);
    }
    // Nothing to watch and no wait asked: the call would only cost a pass a system call.
    if (fds.empty() && (posted || timeoutms == 0))
        return posted;
    const int ready = poll(fds.data(), fds.size(), posted ? 0 : timeoutms);
    if (ready <= 0)
        return posted;   // nothing, or a signal cut the wait short
    for (size_t k = 0; k < fds.size(); k++)
        if (fds[k].revents)
            posted += HandleReady(watched[owners[k]], fds[k].revents);
    return posted;
}

int SocketCreate(int* error)
{
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_TCP);
    if (fd < 0) {
        SetErrno(error);
        return NO_SOCKET;
    }
    SetConnectionOptions(fd);
    Watch(fd, STATE_IDLE, 0);
    return fd;
}

bool SocketSelect(int s, uint32_t events)
{
    WatchedSocket* const w = FindWatched(s);
    if (!w)
        return true;
    w->events = events & (NETEV_READ | NETEV_ACCEPT | NETEV_CONNECT | NETEV_CLOSE);
    w->stalled = false;
    return false;
}

bool SocketBind(int s, uint16_t port, int* error)
{
    const int on = 1;
    setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    address.sin_port = htons(port);
    if (bind(s, (const sockaddr*)&address, sizeof address)) {
        SetErrno(error);
        return true;
    }
    return false;
}

bool SocketListen(int s, int backlog, int* error)
{
    WatchedSocket* const w = FindWatched(s);
    if (!w) {
        SetError(error, NETERR_NOTSOCKET);
        return true;
    }
    if (listen(s, backlog)) {
        SetErrno(error);
        return true;
    }
    w->state = STATE_LISTENING;
    return false;
}

bool SocketConnect(int s, const char* address, uint16_t port)
{
    WatchedSocket* const w = FindWatched(s);
    if (!w || w->state != STATE_IDLE)
        return true;
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(port);
    w->connectdue = true;
    w->connecterror = 0;
    if (!address || inet_pton(AF_INET, address, &peer.sin_addr) != 1) {
        // Typed text that is no address: the caller hears of it the same way as of any other failure.
        w->state = STATE_FAILED;
        w->connecterror = NETERR_BADADDRESS;
        return false;
    }
    if (!connect(s, (const sockaddr*)&peer, sizeof peer)) {
        w->state = STATE_CONNECTED;
        return false;
    }
    if (errno == EINPROGRESS || errno == EINTR) {
        w->state = STATE_CONNECTING;
        w->connectdue = false;
        return false;
    }
    w->state = STATE_FAILED;
    w->connecterror = NetErrorOf(errno);
    return false;
}

int SocketAccept(int s, int* error)
{
    WatchedSocket* const w = FindWatched(s);
    if (!w) {
        SetError(error, NETERR_NOTSOCKET);
        return NO_SOCKET;
    }
    w->acceptposted = false;
    w->stalled = false;
    const uint32_t events = w->events;
    int fd;
    do
        fd = accept4(s, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        SetErrno(error);
        return NO_SOCKET;
    }
    SetConnectionOptions(fd);
    Watch(fd, STATE_CONNECTED, events);
    return fd;
}

int SocketSend(int s, const void* data, int size, int* error)
{
    if (size < 0) {
        SetError(error, NETERR_INVALID);
        return -1;
    }
    ssize_t sent;
    do
        sent = send(s, data, (size_t)size, MSG_NOSIGNAL);
    while (sent < 0 && errno == EINTR);
    if (sent < 0) {
        const int failure = NetErrorOf(errno);
        SetError(error, failure);
        NoteFailure(s, failure);
        return -1;
    }
    return (int)sent;
}

int SocketReceive(int s, void* buffer, int size, int* error)
{
    if (WatchedSocket* const w = FindWatched(s)) {
        w->readposted = false;
        w->stalled = false;
    }
    if (size < 0) {
        SetError(error, NETERR_INVALID);
        return -1;
    }
    ssize_t received;
    do
        received = recv(s, buffer, (size_t)size, 0);
    while (received < 0 && errno == EINTR);
    if (received < 0) {
        const int failure = NetErrorOf(errno);
        SetError(error, failure);
        NoteFailure(s, failure);
        return -1;
    }
    return (int)received;
}

bool SocketShutdownSend(int s, int* error)
{
    if (shutdown(s, SHUT_WR)) {
        SetErrno(error);
        return true;
    }
    return false;
}

void SocketClose(int s)
{
    if (s < 0)
        return;
    Unwatch(s);
    close(s);
}

std::string SocketLocalAddress()
{
    std::string text = "127.0.0.1";
    ifaddrs* list = nullptr;
    if (getifaddrs(&list))
        return text;
    for (const ifaddrs* a = list; a; a = a->ifa_next) {
        if (!a->ifa_addr || a->ifa_addr->sa_family != AF_INET)
            continue;
        if (!(a->ifa_flags & IFF_UP) || (a->ifa_flags & IFF_LOOPBACK))
            continue;
        char dotted[INET_ADDRSTRLEN];
        if (inet_ntop(AF_INET, &((const sockaddr_in*)a->ifa_addr)->sin_addr, dotted, sizeof dotted)) {
            text = dotted;
            break;
        }
    }
    freeifaddrs(list);
    return text;
}

bool SocketErrorEndsConnection(int error)
{
    return error == NETERR_RESET || error == NETERR_CLOSED || error == NETERR_TIMEDOUT || error == NETERR_UNREACHABLE
        || error == NETERR_NETDOWN || error == NETERR_NOTSOCKET || error == NETERR_PROTOCOL || error == NETERR_OVERFLOW;
}

std::string SocketSystemText(int error)
{
    if (error > NETERR_NONE && error <= NETERR_OVERFLOW && systemerrno[error])
        return strerror(systemerrno[error]);
    return SocketErrorName(error);
}

std::string SocketErrorText(int error)
{
    std::string text = std::to_string(error) + " (" + SocketErrorName(error) + ")";
    if (error > NETERR_NONE && error <= NETERR_OVERFLOW && systemerrno[error])
        text += ": " + SocketSystemText(error) + " (system error " + std::to_string(systemerrno[error]) + ")";
    return text;
}

const char* SocketErrorName(int error)
{
    static const char* const names[] = {
        "none", "would block", "refused", "reset", "closed", "timed out", "unreachable", "network down",
        "bad address", "address in use", "not a socket", "out of resources", "invalid", "other",
        "protocol broken", "queue overflow",
    };
    return error >= 0 && error < (int)(sizeof names / sizeof names[0]) ? names[error] : "unknown";
}
