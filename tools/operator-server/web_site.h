#pragma once

#include <atomic>
#include <cstdint>
#include <string>

namespace operator_server {

// What the operator's web server publishes; all bodies are sent byte for byte.
struct WebSite {
    std::string configPage;  // "/gg.html"
    std::string serverPage;  // "/server.html"
    std::string patchPath;   // full path of the patch, e.g. "/patch/xypatch.exe"
    std::string patch;
    std::string patchSignature;  // served at patchPath + ".sig" unless empty
    uint64_t patchRate = 0;      // bytes per second per connection for the patch; 0: no limit
    // Mistakes in serving the patch (see Mistakes in options.h).
    bool ignoreRanges = false;
    bool hidePatchSize = false;
    int patchStatus = 0;
    bool redirectLoop = false;
};

// Serves HTTP/1.0 and HTTP/1.1 requests (GET and HEAD, Range honoured, keep-alive unless
// the client asks for close) on one connection until it ends or stopping is set.
void serveWebConnection(int fd, const WebSite& site, const std::atomic<bool>& stopping);

}  // namespace operator_server
