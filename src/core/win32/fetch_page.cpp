#include "core/fetch_page.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

namespace core {
namespace {

constexpr char userAgent[] = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
constexpr DWORD largestChunk = 102400;
constexpr DWORD chunkWithoutLength = 10240;

// Closes a WinINet handle when the fetch leaves its scope, however it leaves.
class Handle {
  public:
    explicit Handle(HINTERNET handle) : handle_(handle) {}
    ~Handle() {
        if (handle_) {
            InternetCloseHandle(handle_);
        }
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    operator HINTERNET() const { return handle_; }

  private:
    HINTERNET handle_;
};

using Clock = std::chrono::steady_clock;

// Owns the request handle and closes it exactly once: at the deadline, from a watchdog
// thread, if the fetch is still running then (closing a handle is how WinINet cancels a
// call blocked on it in another thread), or else when the fetch ends.
class RequestWithDeadline {
  public:
    RequestWithDeadline(HINTERNET request, Clock::time_point deadline)
        : request_(request), deadline_(deadline) {
        if (request_) {
            watchdog_ = std::thread([this] { watch(); });
        }
    }
    ~RequestWithDeadline() {
        {
            std::lock_guard lock(mutex_);
            finished_ = true;
        }
        woken_.notify_all();
        if (watchdog_.joinable()) {
            watchdog_.join();
        }
        if (request_ && !expired_) {
            InternetCloseHandle(request_);
        }
    }
    RequestWithDeadline(const RequestWithDeadline&) = delete;
    RequestWithDeadline& operator=(const RequestWithDeadline&) = delete;

    operator HINTERNET() const { return request_; }

    // Whether the deadline has passed; after that every call on the request fails.
    bool expired() {
        std::lock_guard lock(mutex_);
        return expired_ || Clock::now() >= deadline_;
    }

    // WinINet times out each step on its own; each step gets only what is left of the
    // deadline, so a silent server ends the step in time even where closing the handle
    // does not cancel it. False when nothing is left.
    bool limitNextStep() {
        if (expired()) {
            return false;
        }
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - Clock::now());
        DWORD milliseconds = static_cast<DWORD>(std::clamp<long long>(left.count(), 1, 0x7FFFFFFF));
        for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                             INTERNET_OPTION_RECEIVE_TIMEOUT}) {
            InternetSetOptionA(request_, option, &milliseconds, sizeof milliseconds);
        }
        return true;
    }

  private:
    void watch() {
        {
            std::unique_lock lock(mutex_);
            if (woken_.wait_until(lock, deadline_, [this] { return finished_; })) {
                return;
            }
            expired_ = true;
        }
        InternetCloseHandle(request_);
    }

    HINTERNET request_;
    Clock::time_point deadline_;
    std::mutex mutex_;
    std::condition_variable woken_;
    bool finished_ = false;
    bool expired_ = false;
    std::thread watchdog_;
};

// The one client handle of the process, opened for direct connections on the first fetch
// that succeeds in opening it, and kept open to the end. Fetches run side by side.
HINTERNET client() {
    static std::mutex opening;
    static HINTERNET handle = nullptr;
    std::lock_guard lock(opening);
    if (!handle) {
        handle = InternetOpenA(userAgent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    }
    return handle;
}

// Each request goes through whatever proxy the system is set up with, with no proxy
// account of the launcher's own.
void useSystemProxy(HINTERNET handle) {
    INTERNET_PROXY_INFO proxy{};
    proxy.dwAccessType = INTERNET_OPEN_TYPE_PRECONFIG;
    InternetSetOptionA(handle, INTERNET_OPTION_PROXY, &proxy, sizeof proxy);
    char empty[] = "";
    InternetSetOptionA(handle, INTERNET_OPTION_PROXY_USERNAME, empty, 0);
    InternetSetOptionA(handle, INTERNET_OPTION_PROXY_PASSWORD, empty, 0);
}

// Dot segments resolved, no character escaped and none decoded; nothing when the
// address is not one.
bool canonicalize(const std::string& address, std::string& canonical) {
    DWORD length = static_cast<DWORD>(address.size() * 2 + 64);
    for (int attempt = 0; attempt < 2; ++attempt) {
        canonical.assign(length + 1, '\0');
        if (InternetCanonicalizeUrlA(address.c_str(), canonical.data(), &length, ICU_NO_ENCODE)) {
            canonical.resize(length);
            return true;
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
            return false;
        }
    }
    return false;
}

std::string part(const char* text, DWORD length) {
    return text && length > 0 ? std::string(text, length) : std::string();
}

std::optional<DWORD> announcedLength(HINTERNET request) {
    DWORD announced = 0;
    DWORD size = sizeof announced;
    if (HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &announced,
                       &size, nullptr)) {
        return announced;
    }
    return std::nullopt;
}

int statusOf(HINTERNET request) {
    DWORD status = 0;
    DWORD size = sizeof status;
    if (HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size,
                       nullptr)) {
        return static_cast<int>(status);
    }
    return 0;
}

DWORD chunkSize(std::optional<DWORD> announced) {
    if (announced && *announced > 0) {
        return std::min(*announced, largestChunk - 1) + 1;
    }
    return chunkWithoutLength;
}

using Outcome = PageReply::Outcome;

// The whole fetch on the calling thread, ending at the deadline wherever WinINet lets it.
PageReply fetchUntil(const std::string& address, const PageLimits& limits,
                     Clock::time_point deadline) {
    PageReply reply;
    if (address.empty()) {
        return reply;
    }
    std::string canonical;
    if (!canonicalize(address.substr(0, address.find('#')), canonical)) {
        return reply;
    }
    // Null pointers with non-zero lengths: the parts are handed back as pieces of the
    // address itself, whatever their length.
    URL_COMPONENTSA parts{};
    parts.dwStructSize = sizeof parts;
    parts.dwSchemeLength = parts.dwHostNameLength = parts.dwUserNameLength = 1;
    parts.dwPasswordLength = parts.dwUrlPathLength = parts.dwExtraInfoLength = 1;
    if (!InternetCrackUrlA(canonical.c_str(), static_cast<DWORD>(canonical.size()), 0, &parts)) {
        return reply;
    }
    // Always from the origin server, never from or into the local cache.
    DWORD flags =
        INTERNET_FLAG_RELOAD | INTERNET_FLAG_PRAGMA_NOCACHE | INTERNET_FLAG_NO_CACHE_WRITE;
    if (parts.nScheme == INTERNET_SCHEME_HTTPS) {
        flags |= INTERNET_FLAG_SECURE;
    } else if (parts.nScheme != INTERNET_SCHEME_HTTP) {
        return reply;
    }
    std::string host = part(parts.lpszHostName, parts.dwHostNameLength);
    std::string user = part(parts.lpszUserName, parts.dwUserNameLength);
    std::string password = part(parts.lpszPassword, parts.dwPasswordLength);
    std::string object = part(parts.lpszUrlPath, parts.dwUrlPathLength) +
                         part(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    object = object.substr(0, object.find('#'));

    HINTERNET session = client();
    if (!session) {
        return reply;
    }
    useSystemProxy(session);
    Handle connection(InternetConnectA(
        session, host.c_str(), parts.nPort, user.empty() ? nullptr : user.c_str(),
        password.empty() ? nullptr : password.c_str(), INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) {
        return reply;
    }
    const char* acceptTypes[] = {"*/*", nullptr};
    RequestWithDeadline request(HttpOpenRequestA(connection, "GET", object.c_str(), "HTTP/1.0",
                                                 nullptr, acceptTypes, flags, 0),
                                deadline);
    if (!request || !request.limitNextStep()) {
        return reply;
    }
    static const char extraHeaders[] = "Accept: */*\r\n\r\n";
    if (!HttpSendRequestA(request, extraHeaders, sizeof extraHeaders - 1, nullptr, 0)) {
        if (request.expired()) {
            reply.outcome = Outcome::TimedOut;
        }
        return reply;
    }
    reply.status = statusOf(request);
    std::optional<DWORD> announced = announcedLength(request);
    if (announced && *announced > limits.largestPage) {
        reply.outcome = Outcome::TooLarge;
        return reply;
    }

    // The status is never looked at: an error page's body is returned like any other.
    // Only what has arrived is read each time, so the deadline is looked at between
    // reads however slowly the body comes.
    std::string chunk(chunkSize(announced), '\0');
    for (;;) {
        DWORD available = 0;
        DWORD got = 0;
        bool read = request.limitNextStep() &&
                    InternetQueryDataAvailable(request, &available, 0, 0) &&
                    (available == 0 ||
                     InternetReadFile(request, chunk.data(),
                                      std::min(available, static_cast<DWORD>(chunk.size())), &got));
        if (request.expired()) {
            reply.outcome = Outcome::TimedOut;
            reply.body.clear();
            return reply;
        }
        if (!read) {
            reply.outcome = Outcome::Broken;
            return reply;
        }
        if (got == 0) {
            reply.outcome = Outcome::Complete;
            return reply;
        }
        if (got > limits.largestPage - reply.body.size()) {
            reply.outcome = Outcome::TooLarge;
            reply.body.clear();
            return reply;
        }
        reply.body.append(chunk.data(), got);
    }
}

// A fetch on a thread of its own, which its caller stops waiting for at the deadline.
struct Fetch {
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
    PageReply reply;
};

}  // namespace

// WinINet limits each receive on its own, restarting the limit with every byte that comes,
// and under Wine closing the handle does not end a receive: a server sending a byte now and
// then would hold a fetch far past its deadline. The fetch therefore runs on a thread of its
// own, and at the deadline its caller is answered without it; the thread ends by itself
// when WinINet lets it.
PageReply fetchPageReply(const std::string& address, const PageLimits& limits) {
    Clock::time_point deadline = Clock::now() + limits.deadline;
    auto fetch = std::make_shared<Fetch>();
    try {
        std::thread([fetch, address, limits, deadline] {
            PageReply reply = fetchUntil(address, limits, deadline);
            std::lock_guard lock(fetch->mutex);
            fetch->reply = std::move(reply);
            fetch->done = true;
            fetch->ended.notify_all();
        }).detach();
    } catch (const std::system_error&) {
        return fetchUntil(address, limits, deadline);
    }
    std::unique_lock lock(fetch->mutex);
    if (!fetch->ended.wait_until(lock, deadline, [&fetch] { return fetch->done; })) {
        PageReply late;
        late.outcome = Outcome::TimedOut;
        return late;
    }
    return std::move(fetch->reply);
}

std::string fetchPageWithin(const std::string& address, const PageLimits& limits) {
    return fetchPageReply(address, limits).body;
}

}  // namespace core
