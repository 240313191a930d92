// HTTP through libcurl's easy interface: one handle per session, so its connection is reused.
#include "platform/http.h"

#include <curl/curl.h>

#include <mutex>

struct HttpSession {
    CURL* curl;
    const std::atomic<bool>* cancel;
};

namespace {

std::once_flag curlstarted;
bool curlfailed = false;

struct Transfer {
    CURL* curl;
    const HttpReceiver* receiver;
    bool checked;       // the status was looked at with the first piece of the body
    bool badstatus;
    bool stopped;
};

size_t ReceiveBody(char* data, size_t size, size_t count, void* context)
{
    Transfer* const t = static_cast<Transfer*>(context);
    const size_t bytes = size * count;
    if (!t->checked) {
        // An error page must never reach the receiver as if it were the file.
        long status = 0;
        curl_easy_getinfo(t->curl, CURLINFO_RESPONSE_CODE, &status);
        t->checked = true;
        t->badstatus = status != 200;
    }
    if (t->badstatus)
        return 0;
    // Nothing may be thrown through the library's C frames: a throwing receiver stops the transfer.
    bool stop = true;
    try {
        stop = bytes > 0 && (*t->receiver)(reinterpret_cast<const uint8_t*>(data), bytes);
    } catch (...) {
    }
    if (stop) {
        t->stopped = true;
        return 0;
    }
    return bytes;
}

// Called about once a second even while nothing arrives: a cancel stops a stalled transfer too.
int CheckCancel(void* context, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    const std::atomic<bool>* const cancel = static_cast<const std::atomic<bool>*>(context);
    return cancel && cancel->load() ? 1 : 0;
}

} // namespace

HttpSession* OpenHttpSession(const HttpSettings& settings)
{
    // Once per process, and never undone: other threads may still hold sessions at exit.
    std::call_once(curlstarted, [] { curlfailed = curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK; });
    if (curlfailed)
        return nullptr;
    CURL* const curl = curl_easy_init();
    if (!curl)
        return nullptr;
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);   // no SIGALRM in a worker thread
    curl_easy_setopt(curl, CURLOPT_USERAGENT, settings.useragent.c_str());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, (long)settings.maxredirects);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, (long)settings.connecttimeoutms);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, (long)settings.lowspeedbytes);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, (long)settings.lowspeedseconds);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, ReceiveBody);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, CheckCancel);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, settings.cancel);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    return new HttpSession{curl, settings.cancel};
}

void CloseHttpSession(HttpSession* session)
{
    if (!session)
        return;
    curl_easy_cleanup(session->curl);
    delete session;
}

HttpOutcome HttpGet(HttpSession* session, const std::string& url, const HttpReceiver& receiver, std::string* detail,
                    int64_t deadlinems)
{
    std::string ignored;
    if (!detail)
        detail = &ignored;
    detail->clear();
    if (!session) {
        *detail = "no session";
        return HTTP_NOANSWER;
    }
    CURL* const curl = session->curl;
    Transfer t{curl, &receiver, false, false, false};
    char error[CURL_ERROR_SIZE] = "";
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &t);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, error);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, (long)(deadlinems > 0 ? deadlinems : 0));
    const CURLcode code = curl_easy_perform(curl);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, nullptr);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, nullptr);

    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    if (t.stopped || code == CURLE_ABORTED_BY_CALLBACK) {
        *detail = code == CURLE_ABORTED_BY_CALLBACK ? "cancelled" : "stopped by the receiver";
        return HTTP_STOPPED;
    }
    if (status != 200) {
        *detail = "status " + std::to_string(status);
        if (code != CURLE_OK && !t.badstatus)
            *detail += ": " + std::string(error[0] ? error : curl_easy_strerror(code));
        return HTTP_NOANSWER;
    }
    if (code != CURLE_OK) {
        *detail = error[0] ? error : curl_easy_strerror(code);
        return HTTP_CUTSHORT;
    }
    return HTTP_DONE;
}
