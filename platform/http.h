// HTTP downloads (the updater's only use of the network beyond the game's own TCP).
//
// One session reuses its connection across the downloads of one update. Redirects are followed only to
// http and https, a few times; a server that stops sending is given up on after the low-speed time,
// so a stalled download cannot hang the caller. Proxies come from the usual environment variables
// (http_proxy, https_proxy, no_proxy).
#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

struct HttpSettings {
    std::string useragent;
    int connecttimeoutms = 15000;   // giving up on a connection that does not open
    int lowspeedbytes = 1024;       // a transfer slower than this many bytes per second ...
    int lowspeedseconds = 30;       // ... for this long is given up on (a trickle cannot hold it)
    int deadlinebasems = 60000;     // a transfer is given up on after this much time ...
    int deadlinebytes = 1024;       // ... plus one second for every this many bytes it may hold
    int maxredirects = 5;
    const std::atomic<bool>* cancel = nullptr;  // when it turns true, the transfer in progress stops (HTTP_STOPPED)
};

struct HttpSession;

enum HttpOutcome {
    HTTP_DONE,      // the whole body of a 200 answer arrived
    HTTP_NOANSWER,  // no usable answer: no connection, no 200 status, a bad or endless redirect, a timeout before it
    HTTP_CUTSHORT,  // a 200 answer whose body stopped early: connection lost, stalled, shorter than announced
    HTTP_STOPPED,   // the receiver asked to stop
};

// Receives the body in pieces as they arrive; returning true stops the transfer (HTTP_STOPPED).
typedef std::function<bool(const uint8_t* data, size_t size)> HttpReceiver;

HttpSession* OpenHttpSession(const HttpSettings& settings);  // null when the library cannot start
void CloseHttpSession(HttpSession* session);                  // null is allowed
// GETs url into the receiver, giving up after deadlinems (0: no deadline); detail says what went wrong
// (status, library error) when not HTTP_DONE.
HttpOutcome HttpGet(HttpSession* session, const std::string& url, const HttpReceiver& receiver, std::string* detail,
                    int64_t deadlinems = 0);
