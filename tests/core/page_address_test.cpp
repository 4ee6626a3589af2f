#include "core/page_address.h"

#include <gtest/gtest.h>

namespace {

using core::canonicalPageAddress;

TEST(PageAddress, FragmentIsCutAndDotSegmentsResolvedWithoutTouchingOtherBytes) {
    struct Case {
        const char* address;
        const char* expected;
    };
    const Case cases[] = {
        {"http://host/gg.html#top", "http://host/gg.html"},
        {"http://host/gg.html#a#b", "http://host/gg.html"},
        {"HTTP://host/a/./b/../gg.html", "http://host/a/gg.html"},
        {"http://host/../../gg.html", "http://host/gg.html"},
        {"http://host/a/b/..", "http://host/a/"},
        {"http://host/a/.", "http://host/a/"},
        {"http://host/a//b/./", "http://host/a//b/"},
        {"http://host/%2e%2e/a%20b c", "http://host/%2e%2e/a%20b c"},
        {"http://host/x/../p?q=../..&r=./", "http://host/p?q=../..&r=./"},
        {"http://host/\xB9\xAB/../\xB8\xE6.html", "http://host/\xB8\xE6.html"},
        {"http://host", "http://host/"},
        {"http://host?q=1", "http://host/?q=1"},
        {"https://user:pw@host:8443/s", "https://user:pw@host:8443/s"},
        {"http://[::1]:80/x", "http://[::1]:80/x"},
        {"http://host:/x", "http://host:/x"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(canonicalPageAddress(c.address), std::optional<std::string>(c.expected))
            << c.address;
    }
}

TEST(PageAddress, AnythingButAnHttpAddressWithAHostIsRefused) {
    for (const char* address :
         {"", "gg.html", "/gg.html", "ftp://host/gg.html", "file:///etc/passwd", "http:///gg.html",
          "http://user@/x", "http://host:0/", "http://host:65536/", "http://host:8o/",
          "#http://host/", "httpx://host/"}) {
        EXPECT_EQ(canonicalPageAddress(address), std::nullopt) << address;
    }
}

}  // namespace
