#include "options.h"

#include <charconv>
#include <cmath>
#include <string_view>

namespace operator_server {
namespace {

std::optional<uint64_t> parseSize(std::string_view text) {
    uint64_t unit = 1;
    if (!text.empty()) {
        switch (text.back()) {
            case 'K':
            case 'k':
                unit = 1024;
                break;
            case 'M':
            case 'm':
                unit = 1024 * 1024;
                break;
            case 'G':
            case 'g':
                unit = 1024 * 1024 * 1024;
                break;
        }
        if (unit != 1) {
            text.remove_suffix(1);
        }
    }
    uint64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        value > UINT64_MAX / unit) {
        return std::nullopt;
    }
    return value * unit;
}

std::optional<long> parseInteger(std::string_view text, long low, long high) {
    long value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < low ||
        value > high) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

std::variant<Options, std::string> parseOptions(int argc, const char* const* argv) {
    Options options;
    for (int i = 0; i < argc; ++i) {
        std::string_view name = argv[i];
        if (name == "--help" || name == "-h") {
            options.help = true;
            continue;
        }
        if (name == "--utf8-pages") {
            options.utf8Pages = true;
            continue;
        }
        if (name == "--quiet") {
            options.quiet = true;
            continue;
        }
        if (name == "--bad-signature") {
            options.badSignature = true;
            continue;
        }
        Mistakes& mistakes = options.mistakes;
        if (bool* flag = name == "--utf8-page"        ? &mistakes.utf8Page
                         : name == "--no-marker"      ? &mistakes.noMarker
                         : name == "--no-list-header" ? &mistakes.noListHeader
                         : name == "--no-ranges"      ? &mistakes.noRanges
                         : name == "--no-patch-size"  ? &mistakes.noPatchSize
                         : name == "--redirect-loop"  ? &mistakes.redirectLoop
                                                      : nullptr) {
            *flag = true;
            continue;
        }
        if (i + 1 >= argc) {
            return "unknown option or missing value: " + std::string(name);
        }
        std::string_view value = argv[++i];
        auto bad = [&] { return "bad value for " + std::string(name) + ": " + std::string(value); };
        if (name == "--port") {
            auto port = parseInteger(value, 0, 65535);
            if (!port)
                return bad();
            options.port = static_cast<uint16_t>(*port);
        } else if (name == "--zone-port-base") {
            auto base = parseInteger(value, 0, 65530);
            if (!base)
                return bad();
            options.zonePortBase = static_cast<int>(*base);
        } else if (name == "--page-file") {
            options.pageFile = std::string(value);
        } else if (name == "--server-page-file") {
            options.serverPageFile = std::string(value);
        } else if (name == "--patch-file") {
            options.patchFile = std::string(value);
        } else if (name == "--patch-size") {
            auto size = parseSize(value);
            if (!size || *size > (uint64_t{1} << 31) - 1)
                return bad();
            options.patchSize = *size;
        } else if (name == "--patch-name") {
            if (value.empty() || value.find_first_of("/ ") != std::string_view::npos) {
                return bad();
            }
            options.patchFileName = std::string(value);
        } else if (name == "--patch-rate") {
            auto rate = parseSize(value);
            if (!rate)
                return bad();
            options.patchRate = *rate;
        } else if (name == "--sign-with") {
            options.signWith = std::string(value);
        } else if (name == "--current-version") {
            options.currentVersion = std::string(value);
        } else if (name == "--page-version") {
            options.pageVersion = std::string(value);
        } else if (name == "--zone-down" || name == "--zone-silent" || name == "--bad-port") {
            auto zone = parseInteger(value, 1, 5);
            if (!zone)
                return bad();
            (name == "--zone-down"     ? mistakes.zonesDown
             : name == "--zone-silent" ? mistakes.zonesSilent
                                       : mistakes.badPorts)
                .insert(static_cast<int>(*zone));
        } else if (name == "--missing-key") {
            if (value.empty())
                return bad();
            mistakes.missingKeys.insert(std::string(value));
        } else if (name == "--patch-status") {
            auto status = parseInteger(value, 100, 599);
            if (!status || *status == 200 || *status == 206)
                return bad();
            mistakes.patchStatus = static_cast<int>(*status);
        } else if (name == "--exit-after") {
            double seconds = 0;
            auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), seconds);
            if (error != std::errc() || end != value.data() + value.size() ||
                !std::isfinite(seconds) || seconds < 0) {
                return bad();
            }
            options.exitAfter = seconds;
        } else {
            return "unknown option: " + std::string(name);
        }
    }
    if (options.badSignature && !options.signWith) {
        return "--bad-signature needs --sign-with";
    }
    if (options.pageFile && options.mistakes.onPage()) {
        return "the page mistakes change the built-in page; a --page-file is served as it is";
    }
    return options;
}

std::string helpText() {
    return R"(operator-server: the demo operator of the launcher, on 127.0.0.1 only.

It plays the operator's side of a game service so the launcher can be tried without one:
  http://127.0.0.1:PORT/gg.html            the configuration page (GBK)
  http://127.0.0.1:PORT/server.html        the server list page (holds [Header])
  http://127.0.0.1:PORT/patch/PATCH-NAME   the patch file (Range requests honoured)
  http://127.0.0.1:PORT/patch/PATCH-NAME.sig   its signature, with --sign-with
  127.0.0.1:BASE+1 ... BASE+5              the account servers of zones 1 to 5

Each zone keeps its accounts in memory and starts with the account demo01 / 123456.

Usage: operator-server [options]
  --port N               web server port (default 18080; 0 picks a free port)
  --zone-port-base N     zone k listens on N+k (default 18100; 0 picks free ports)
  --page-file FILE       serve FILE as /gg.html instead of the built-in page
  --server-page-file F   serve F as /server.html instead of the built-in page
  --utf8-pages           the page files are UTF-8; convert them to GBK when serving
  --patch-file FILE      serve FILE as the patch
  --patch-size N         size of the built-in patch, suffix K, M or G allowed (default 2M)
  --patch-name NAME      patch file name on the page and in the path (default xypatch.exe)
  --patch-rate N         limit each patch connection to N bytes/s (K, M allowed; default none)
  --sign-with KEY        sign the patch with the ECDSA P-256 private key in the PEM file KEY
                         and serve the signature beside it (PATCH-NAME.sig), for launchers
                         built with the matching public key; tools/demo-patch-key holds the
                         demo key pair
  --bad-signature        with --sign-with: serve a signature of other bytes, which such a
                         launcher must refuse
  --current-version V    version the account servers call current (default 1.0.2)
  --page-version V       版本号码 on the built-in page (default: the current version);
                         set it older to see the launcher offer the patch
  --exit-after SECONDS   stop by itself after SECONDS (for scripts and tests)

Mistakes, made on purpose to see `launcher --check` find them (the page mistakes change
the built-in page; N is a zone from 1 to 5, and the zone options may be repeated):
  --utf8-page            serve /gg.html saved as UTF-8 instead of GBK
  --no-marker            leave the [选择项] section off /gg.html
  --missing-key KEY      leave KEY (as written on the page, e.g. 四区端口) off /gg.html
  --bad-port N           write zone N's port on /gg.html with a stray letter (x18104)
  --zone-down N          zone N's account server does not listen
  --zone-silent N        zone N's account server accepts and never answers
  --no-list-header       serve /server.html without its [Header] line
  --no-ranges            answer a Range request for the patch with the whole file
  --no-patch-size        answer Range requests for the patch with an unknown total ("/*")
  --patch-status CODE    answer requests for the patch with this HTTP status
  --redirect-loop        answer requests for the patch with a redirect to itself
  --quiet                do not log requests
  --help                 this text

The built-in page points the patch site and all five zones at this server's own ports.
A page given with --page-file is served byte for byte: its zone addresses and ports are
the operator's to set. Stop the server with Ctrl-C (SIGINT) or SIGTERM.
On start it prints one line per listening service, e.g. "http 127.0.0.1:18080".
)";
}

}  // namespace operator_server
