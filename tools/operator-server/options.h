#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <variant>

namespace operator_server {

// Mistakes operators make, made on purpose so that `launcher --check` can be seen to find
// each. The page mistakes change the built-in page only.
struct Mistakes {
    bool utf8Page = false;              // /gg.html saved as UTF-8
    bool noMarker = false;              // /gg.html without its [选择项] section
    std::set<std::string> missingKeys;  // keys (UTF-8) left off /gg.html
    std::set<int> badPorts;             // zones whose port on /gg.html is no number
    std::set<int> zonesDown;            // zones whose account server does not listen
    std::set<int> zonesSilent;          // zones that accept and never answer
    bool noListHeader = false;          // /server.html without [Header]
    bool noRanges = false;              // the patch answered whole to a Range
    bool noPatchSize = false;           // ranges of the patch with an unknown total ("/*")
    int patchStatus = 0;                // the patch answered with this status; 0: served
    bool redirectLoop = false;          // the patch redirects to itself

    bool onPage() const {
        return utf8Page || noMarker || !missingKeys.empty() || !badPorts.empty();
    }
};

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
    Mistakes mistakes;
    bool quiet = false;
    bool help = false;
};

// Parses the command line (argv[0] excluded); a text on error.
std::variant<Options, std::string> parseOptions(int argc, const char* const* argv);

std::string helpText();

}  // namespace operator_server
