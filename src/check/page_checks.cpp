#include "check/page_checks.h"

#include <algorithm>
#include <cstdio>

#include "account/port.h"
#include "check/detail_text.h"
#include "core/fetch_page.h"
#include "core/gbk_text.h"
#include "game/launch.h"
#include "platform/encoding.h"
#include "platform/utf8_text.h"

namespace check {
namespace {

using Clock = std::chrono::steady_clock;
using Holds = core::ConfigKey::Holds;

struct Fetched {
    std::string address;
    core::PageReply reply;
    std::chrono::milliseconds took{0};

    bool complete() const { return reply.outcome == core::PageReply::Outcome::Complete; }
};

Fetched fetch(const std::string& address) {
    core::PageLimits limits;
    limits.deadline = pageDeadline;
    auto started = Clock::now();
    Fetched fetched{address, core::fetchPageReply(address, limits)};
    fetched.took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - started);
    return fetched;
}

std::string sizeAndTime(const Fetched& fetched) {
    return std::to_string(fetched.reply.body.size()) + " bytes, " +
           std::to_string(fetched.took.count()) + " ms";
}

// Why a fetch brought no whole answer, in the words of what the launcher then does.
std::string whyNoAnswer(const Fetched& fetched) {
    using Outcome = core::PageReply::Outcome;
    switch (fetched.reply.outcome) {
        case Outcome::Complete:
            break;
        case Outcome::NoAnswer:
            return "no answer from " + fetched.address + " (" +
                   std::to_string(fetched.took.count()) + " ms)";
        case Outcome::TimedOut:
            return "no complete answer from " + fetched.address + " within " +
                   std::to_string(pageDeadline.count()) + " s";
        case Outcome::TooLarge:
            return fetched.address + " sends more than " +
                   std::to_string(core::PageLimits{}.largestPage >> 20) +
                   " MiB, which the launcher does not take for a page";
        case Outcome::Broken:
            return fetched.address + ": the connection broke after " +
                   std::to_string(fetched.reply.body.size()) + " bytes";
    }
    return {};
}

// Where a marker stands beyond the first zero byte, which ends the text a start reads.
std::string afterZeroByte(std::string_view bytes, std::string_view marker) {
    std::size_t zero = bytes.find('\0');
    if (zero == std::string_view::npos ||
        core::findInGbkText(bytes.substr(zero + 1), marker) == std::string_view::npos) {
        return {};
    }
    return "; it comes after a zero byte (byte " + std::to_string(zero) + "), where the text ends";
}

std::optional<std::size_t> firstNonGbkByte(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            ++i;
            continue;
        }
        if (core::isGbkLeadByte(byte) && i + 1 < text.size()) {
            auto trail = static_cast<unsigned char>(text[i + 1]);
            if (trail >= 0x40 && trail <= 0xFE && trail != 0x7F) {
                i += 2;
                continue;
            }
        }
        return i;
    }
    return std::nullopt;
}

bool isUtf8WithCharactersBeyondAscii(std::string_view text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) >= 0x80; }) &&
           platform::wellFormedUtf8(text) == text;
}

}  // namespace

CheckResult checkMarker(std::string_view page) {
    if (core::hasPageMarker(core::textOf(page))) {
        return passed("marker", gbk("[选择项]") + " found");
    }
    static const std::string marker = gbk("[选择项]");
    std::string detail = "no " + marker + " in the page";
    if (page.find("[选择项]") != std::string_view::npos) {
        detail += "; it is there in UTF-8 (see encoding)";
    }
    return failed("marker", detail + afterZeroByte(page, marker));
}

CheckResult checkEncoding(std::string_view page) {
    const std::string advice = ": save it as GBK (code page 936)";
    if (page.starts_with("\xEF\xBB\xBF")) {
        return failed("encoding", "saved as UTF-8, with a byte-order mark" + advice);
    }
    if (page.starts_with("\xFF\xFE") || page.starts_with("\xFE\xFF")) {
        return failed("encoding", "saved as UTF-16" + advice);
    }
    if (isUtf8WithCharactersBeyondAscii(page)) {
        return failed("encoding", "saved as UTF-8" + advice);
    }
    if (auto at = firstNonGbkByte(page)) {
        char byte[8];
        std::snprintf(byte, sizeof byte, "0x%02X", static_cast<unsigned char>(page[*at]));
        auto line = std::count(page.begin(), page.begin() + static_cast<std::ptrdiff_t>(*at), '\n');
        return failed("encoding", "not GBK: byte " + std::string(byte) + " at offset " +
                                      std::to_string(*at) + " (line " + std::to_string(line + 1) +
                                      ") begins no GBK character");
    }
    return passed("encoding", "GBK");
}

CheckResult checkValues(std::string_view page, core::ConfigValues& problems) {
    const std::vector<core::ConfigKey>& keys = core::configKeys();
    std::vector<std::optional<std::string>> entries = core::readConfigEntries(page);
    std::vector<std::string> missing, empty, notPorts;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const core::ConfigKey& key = keys[i];
        const std::optional<std::string>& value = entries[i];
        std::string problem;
        if (!value) {
            missing.push_back(key.key);
            problem = key.key + " missing";
        } else if (value->empty() && key.holds != Holds::Text) {
            empty.push_back(key.key);
            problem = key.key + " empty";
        } else if (key.holds == Holds::Port && !account::portNumber(*value)) {
            notPorts.push_back(key.key + "=" + quoted(*value));
            problem = key.key + " not a port";
        }
        key.field(problems) = problem;
    }
    if (missing.empty() && empty.empty() && notPorts.empty()) {
        return passed("values", "all " + std::to_string(keys.size()) + " values present");
    }
    std::vector<std::string> parts;
    if (!missing.empty()) {
        parts.push_back("missing: " + joined(missing, ", "));
    }
    if (!empty.empty()) {
        parts.push_back("empty: " + joined(empty, ", "));
    }
    if (!notPorts.empty()) {
        parts.push_back("not a port from 1 to 65535: " + joined(notPorts, ", "));
    }
    return failed("values", joined(parts, "; "));
}

PageFindings checkConfigPage(const std::string& operatorHost) {
    PageFindings findings;
    Fetched fetched = fetch(core::configPageAddress(operatorHost));
    const std::string& page = fetched.reply.body;
    if (!fetched.complete()) {
        findings.results.push_back(failed("page", whyNoAnswer(fetched)));
    } else if (fetched.reply.status != 200) {
        findings.results.push_back(failed("page", "HTTP " + std::to_string(fetched.reply.status) +
                                                      " from " + fetched.address + " (" +
                                                      sizeAndTime(fetched) + ")"));
    } else {
        findings.results.push_back(passed("page", "HTTP 200, " + sizeAndTime(fetched)));
    }
    if (!findings.results.back().ok) {
        findings.noValuesBecause = "no page (see page)";
        for (const char* name : {"marker", "encoding", "values"}) {
            findings.results.push_back(notChecked(name, findings.noValuesBecause));
        }
        return findings;
    }

    CheckResult marker = checkMarker(page);
    CheckResult encoding = checkEncoding(page);
    findings.results.push_back(marker);
    findings.results.push_back(encoding);
    if (!marker.ok || !encoding.ok) {
        // Without its marker a start ignores the page; a page in another encoding has none
        // of the keys a start looks for.
        std::vector<std::string> see;
        for (const CheckResult* result : {&marker, &encoding}) {
            if (!result->ok) {
                see.push_back(result->name);
            }
        }
        findings.noValuesBecause =
            "a start would not read this page (see " + joined(see, ", ") + ")";
        findings.results.push_back(notChecked("values", findings.noValuesBecause));
        return findings;
    }
    CheckResult values = checkValues(page, findings.problems);
    findings.results.push_back(values);
    findings.values = core::readConfigValues(page);
    return findings;
}

CheckResult checkServerList(const std::string& operatorHost) {
    Fetched fetched = fetch(game::serverPageAddress(operatorHost));
    if (!fetched.complete()) {
        return failed("serverList", whyNoAnswer(fetched));
    }
    const std::string& page = fetched.reply.body;
    std::string status = "HTTP " + std::to_string(fetched.reply.status);
    if (fetched.reply.status != 200) {
        return failed("serverList",
                      status + " from " + fetched.address + " (" + sizeAndTime(fetched) + ")");
    }
    if (!game::isServerList(core::textOf(page))) {
        return failed("serverList", "no [Header] in " + fetched.address + " (" + status + ", " +
                                        sizeAndTime(fetched) + ")" +
                                        afterZeroByte(page, "[Header]"));
    }
    return passed("serverList", status + ", " + sizeAndTime(fetched) + ", [Header] found");
}

}  // namespace check
