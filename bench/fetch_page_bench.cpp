// fetchPage against the curl command line on the same loopback server and body: prints
// the median time of each and their speed ratio (fetchPage's speed over curl's).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/fetch_page.h"
#include "support/http_test_server.h"

namespace {

using Clock = std::chrono::steady_clock;

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

template <typename Run>
double millisecondsOf(Run run) {
    auto start = Clock::now();
    run();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    std::size_t mebibytes = argc > 1 ? std::stoul(argv[1]) : 64;
    int runs = argc > 2 ? std::stoi(argv[2]) : 5;
    for (const char* name : {"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY"}) {
        ::unsetenv(name);
    }

    std::string body(mebibytes << 20, '\0');
    for (std::size_t i = 0; i < body.size(); ++i) {
        body[i] = static_cast<char>(i * 131 + (i >> 12));
    }
    testing_support::HttpTestServer server;
    server.serve("/big", {testing_support::HttpTestServer::response(200, body)});
    std::string url = server.url("/big");
    std::string curl = "curl -s --noproxy '*' -o /dev/null '" + url + "'";

    std::vector<double> fetchTimes, curlTimes;
    for (int run = 0; run <= runs; ++run) {  // run 0 warms up both
        std::string result;
        double fetchTime = millisecondsOf([&] { result = core::fetchPage(url); });
        if (result != body) {
            std::fprintf(stderr, "fetchPage returned %zu bytes, not the body\n", result.size());
            return 1;
        }
        int status = 0;
        double curlTime = millisecondsOf([&] { status = std::system(curl.c_str()); });
        if (status != 0) {
            std::fprintf(stderr, "curl failed (%d)\n", status);
            return 1;
        }
        if (run > 0) {
            fetchTimes.push_back(fetchTime);
            curlTimes.push_back(curlTime);
        }
    }

    double fetchMs = median(fetchTimes), curlMs = median(curlTimes);
    double mib = static_cast<double>(mebibytes);
    std::printf("body: %zu MiB, median of %d runs\n", mebibytes, runs);
    std::printf("fetchPage: %8.1f ms  %7.1f MiB/s\n", fetchMs, mib * 1000 / fetchMs);
    std::printf("curl:      %8.1f ms  %7.1f MiB/s\n", curlMs, mib * 1000 / curlMs);
    std::printf("ratio (fetchPage speed / curl speed): %.2f\n", curlMs / fetchMs);
    return 0;
}
