#include "core/fetch_page.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>

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

// The one client handle of the process, opened for direct connections on the first fetch
// that succeeds in opening it, and kept open to the end.
HINTERNET client() {
    static HINTERNET handle = nullptr;
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

DWORD chunkSize(HINTERNET request) {
    DWORD announced = 0;
    DWORD size = sizeof announced;
    if (HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &announced,
                       &size, nullptr) &&
        announced > 0) {
        return std::min(announced, largestChunk - 1) + 1;
    }
    return chunkWithoutLength;
}

}  // namespace

PageReply fetchPageReply(const std::string& address) {
    if (address.empty()) {
        return {};
    }
    std::string canonical;
    if (!canonicalize(address.substr(0, address.find('#')), canonical)) {
        return {};
    }
    // Null pointers with non-zero lengths: the parts are handed back as pieces of the
    // address itself, whatever their length.
    URL_COMPONENTSA parts{};
    parts.dwStructSize = sizeof parts;
    parts.dwSchemeLength = parts.dwHostNameLength = parts.dwUserNameLength = 1;
    parts.dwPasswordLength = parts.dwUrlPathLength = parts.dwExtraInfoLength = 1;
    if (!InternetCrackUrlA(canonical.c_str(), static_cast<DWORD>(canonical.size()), 0, &parts)) {
        return {};
    }
    // Always from the origin server, never from or into the local cache.
    DWORD flags =
        INTERNET_FLAG_RELOAD | INTERNET_FLAG_PRAGMA_NOCACHE | INTERNET_FLAG_NO_CACHE_WRITE;
    if (parts.nScheme == INTERNET_SCHEME_HTTPS) {
        flags |= INTERNET_FLAG_SECURE;
    } else if (parts.nScheme != INTERNET_SCHEME_HTTP) {
        return {};
    }
    std::string host = part(parts.lpszHostName, parts.dwHostNameLength);
    std::string user = part(parts.lpszUserName, parts.dwUserNameLength);
    std::string password = part(parts.lpszPassword, parts.dwPasswordLength);
    std::string object = part(parts.lpszUrlPath, parts.dwUrlPathLength) +
                         part(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    object = object.substr(0, object.find('#'));

    HINTERNET session = client();
    if (!session) {
        return {};
    }
    useSystemProxy(session);
    Handle connection(InternetConnectA(
        session, host.c_str(), parts.nPort, user.empty() ? nullptr : user.c_str(),
        password.empty() ? nullptr : password.c_str(), INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) {
        return {};
    }
    const char* acceptTypes[] = {"*/*", nullptr};
    Handle request(HttpOpenRequestA(connection, "GET", object.c_str(), "HTTP/1.0", nullptr,
                                    acceptTypes, flags, 0));
    if (!request) {
        return {};
    }
    static const char extraHeaders[] = "Accept: */*\r\n\r\n";
    if (!HttpSendRequestA(request, extraHeaders, sizeof extraHeaders - 1, nullptr, 0)) {
        return {};
    }

    // An error page's body is returned like any other; the status goes beside it.
    PageReply reply;
    DWORD status = 0;
    DWORD statusSize = sizeof status;
    if (HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                       &statusSize, nullptr)) {
        reply.status = static_cast<int>(status);
    }
    std::string chunk(chunkSize(request), '\0');
    DWORD got = 0;
    while (InternetReadFile(request, chunk.data(), static_cast<DWORD>(chunk.size()), &got) &&
           got > 0) {
        reply.body.append(chunk.data(), got);
    }
    return reply;
}

}  // namespace core
