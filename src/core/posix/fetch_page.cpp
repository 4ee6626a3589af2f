#include "core/fetch_page.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstdint>
#include <mutex>
#include <new>

#include "core/page_address.h"
#include "platform/memory.h"

namespace core {
namespace {

constexpr const char* userAgent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
constexpr long readBufferBytes = 102400;
constexpr long maxRedirects = 10;

// The one client handle of the process, opened on the first fetch and kept to the end,
// so connections and name lookups can be reused between fetches.
class Client {
  public:
    Client() {
        if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) {
            return;
        }
        handle_ = curl_easy_init();
        for (const char* line : {"Accept: */*", "Pragma: no-cache", "Cache-Control: no-cache"}) {
            headers_ = curl_slist_append(headers_, line);
        }
    }
    ~Client() {
        curl_slist_free_all(headers_);
        if (handle_ != nullptr) {
            curl_easy_cleanup(handle_);
        }
    }

    static Client& instance() {
        static Client client;
        return client;
    }

    std::string fetch(const std::string& url, const PageLimits& limits) {
        if (handle_ == nullptr || headers_ == nullptr) {
            return {};
        }
        std::lock_guard lock(mutex_);
        Body body{handle_, limits.largestPage, {}};
        curl_easy_reset(handle_);
        configure(url, limits, body);
        CURLcode outcome = curl_easy_perform(handle_);
        // A page that is too large, or not complete in time, is no page at all; a
        // connection that broke otherwise leaves what arrived before the break.
        if (body.tooLarge || outcome == CURLE_FILESIZE_EXCEEDED ||
            outcome == CURLE_OPERATION_TIMEDOUT) {
            return {};
        }
        return std::move(body.bytes);
    }

  private:
    struct Body {
        CURL* handle;
        std::size_t largest;
        std::string bytes;
        bool sized = false;
        bool tooLarge = false;
    };

    static size_t appendBody(char* data, size_t size, size_t count, void* target) {
        auto* body = static_cast<Body*>(target);
        if (size * count > body->largest - body->bytes.size()) {
            body->tooLarge = true;
            return 0;
        }
        try {
            if (!body->sized) {
                body->sized = true;
                reserveAnnounced(*body);
            }
            body->bytes.append(data, size * count);
        } catch (...) {
            return 0;  // out of memory: stop reading, keep what is there
        }
        return size * count;
    }

    // Growing a large body step by step would copy it again and again. The announced
    // length is only a hint: a body may be shorter or longer, and a length that cannot be
    // reserved just leaves the body to grow as it arrives.
    static void reserveAnnounced(Body& body) {
        curl_off_t announced = -1;
        if (curl_easy_getinfo(body.handle, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced) !=
                CURLE_OK ||
            announced <= 0 || static_cast<std::size_t>(announced) > body.largest) {
            return;
        }
        try {
            body.bytes.reserve(static_cast<size_t>(announced));
            platform::adviseLargeBuffer(body.bytes.data(), body.bytes.capacity());
        } catch (const std::bad_alloc&) {
        }
    }

    void configure(const std::string& url, const PageLimits& limits, Body& body) {
        curl_easy_setopt(handle_, CURLOPT_URL, url.c_str());
        // The address is already canonical; curl must not resolve or rewrite it again.
        curl_easy_setopt(handle_, CURLOPT_PATH_AS_IS, 1L);
        curl_easy_setopt(handle_, CURLOPT_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(handle_, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(handle_, CURLOPT_FOLLOWLOCATION, 1L);
        curl_easy_setopt(handle_, CURLOPT_MAXREDIRS, maxRedirects);
        curl_easy_setopt(handle_, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_0);
        curl_easy_setopt(handle_, CURLOPT_USERAGENT, userAgent);
        curl_easy_setopt(handle_, CURLOPT_HTTPHEADER, headers_);
        curl_easy_setopt(handle_, CURLOPT_BUFFERSIZE, readBufferBytes);
        // One deadline for the whole fetch, name lookup, connect, redirects and body
        // included: a server that drips its page slowly cannot hold the launcher.
        curl_easy_setopt(handle_, CURLOPT_TIMEOUT_MS,
                         static_cast<long>(std::max<std::int64_t>(1, limits.deadline.count())));
        // A length announced beyond the limit fails before any of the body is read.
        curl_easy_setopt(handle_, CURLOPT_MAXFILESIZE_LARGE,
                         static_cast<curl_off_t>(limits.largestPage));
        curl_easy_setopt(handle_, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(handle_, CURLOPT_WRITEFUNCTION, &Client::appendBody);
        curl_easy_setopt(handle_, CURLOPT_WRITEDATA, &body);
    }

    CURL* handle_ = nullptr;
    curl_slist* headers_ = nullptr;
    std::mutex mutex_;
};

}  // namespace

std::string fetchPageWithin(const std::string& address, const PageLimits& limits) {
    if (address.empty()) {
        return {};
    }
    auto url = canonicalPageAddress(address);
    if (!url) {
        return {};
    }
    return Client::instance().fetch(*url, limits);
}

}  // namespace core
