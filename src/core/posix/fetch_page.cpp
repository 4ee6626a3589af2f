#include "core/fetch_page.h"

#include <curl/curl.h>

#include <mutex>
#include <new>

#include "core/page_address.h"
#include "platform/memory.h"

namespace core {
namespace {

constexpr const char* userAgent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
constexpr long connectTimeoutSeconds = 30;
// A server that sends nothing for this long ends the read with what has arrived.
constexpr long stallSeconds = 60;
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

    PageReply fetch(const std::string& url) {
        if (handle_ == nullptr || headers_ == nullptr) {
            return {};
        }
        std::lock_guard lock(mutex_);
        Body body{handle_, {}};
        curl_easy_reset(handle_);
        configure(url, body);
        // The outcome does not matter: whatever part of the body arrived is the result.
        curl_easy_perform(handle_);
        long status = 0;
        curl_easy_getinfo(handle_, CURLINFO_RESPONSE_CODE, &status);
        return {static_cast<int>(status), std::move(body.bytes)};
    }

  private:
    struct Body {
        CURL* handle;
        std::string bytes;
        bool sized = false;
    };

    static size_t appendBody(char* data, size_t size, size_t count, void* target) {
        auto* body = static_cast<Body*>(target);
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
        constexpr curl_off_t reserveLimit = curl_off_t{256} << 20;
        curl_off_t announced = -1;
        if (curl_easy_getinfo(body.handle, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced) !=
                CURLE_OK ||
            announced <= 0 || announced > reserveLimit) {
            return;
        }
        try {
            body.bytes.reserve(static_cast<size_t>(announced));
            platform::adviseLargeBuffer(body.bytes.data(), body.bytes.capacity());
        } catch (const std::bad_alloc&) {
        }
    }

    void configure(const std::string& url, Body& body) {
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
        curl_easy_setopt(handle_, CURLOPT_CONNECTTIMEOUT, connectTimeoutSeconds);
        curl_easy_setopt(handle_, CURLOPT_LOW_SPEED_LIMIT, 1L);
        curl_easy_setopt(handle_, CURLOPT_LOW_SPEED_TIME, stallSeconds);
        curl_easy_setopt(handle_, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(handle_, CURLOPT_WRITEFUNCTION, &Client::appendBody);
        curl_easy_setopt(handle_, CURLOPT_WRITEDATA, &body);
    }

    CURL* handle_ = nullptr;
    curl_slist* headers_ = nullptr;
    std::mutex mutex_;
};

}  // namespace

PageReply fetchPageReply(const std::string& address) {
    if (address.empty()) {
        return {};
    }
    auto url = canonicalPageAddress(address);
    if (!url) {
        return {};
    }
    return Client::instance().fetch(*url);
}

}  // namespace core
