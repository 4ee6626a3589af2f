#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

namespace operator_server {

struct Options {
    uint16_t port = 18080;
    int zonePortBase = 18100;  // zone k listens on base + k; 0 picks free ports
    std::optional<std::string> pageFile;
    std::optional<std::string> serverPageFile;
    std::optional<std::string> patchFile;
    bool utf8Pages = false;  // page files are UTF-8 and are served converted to GBK
    uint64_t patchSize = 2 * 1024 * 1024;
    std::string patchFileName = "xypatch.exe";
    uint64_t patchRate = 0;
    std::optional<std::string> signWith;  // private key file; the patch's signature is served
    bool badSignature = false;            // serve a signature of other bytes instead
    std::string currentVersion = "1.0.2";
    std::optional<std::string> pageVersion;  // defaults to currentVersion
    double exitAfter = 0;                    // seconds; 0 runs until SIGINT or SIGTERM
    bool quiet = false;
    bool help = false;
};

// Parses the command line (argv[0] excluded); a text on error.
std::variant<Options, std::string> parseOptions(int argc, const char* const* argv);

std::string helpText();

}  // namespace operator_server
