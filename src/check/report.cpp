#include "check/report.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "check/detail_text.h"
#include "platform/encoding.h"

namespace check {
namespace {

// A terminal would act on control characters from a server's page (colours, a cleared
// screen, a moved cursor); they are shown as escapes instead.
std::string printable(std::string_view utf8) {
    std::string shown;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        auto byte = static_cast<unsigned char>(utf8[i]);
        bool c1 = byte == 0xC2 && i + 1 < utf8.size() &&
                  static_cast<unsigned char>(utf8[i + 1]) >= 0x80 &&
                  static_cast<unsigned char>(utf8[i + 1]) <= 0x9F;
        if (byte < 0x20 || byte == 0x7F || c1) {
            unsigned code = c1 ? static_cast<unsigned char>(utf8[++i]) : byte;
            const char* digits = "0123456789ABCDEF";
            shown += "\\x";
            shown += digits[code >> 4];
            shown += digits[code & 0xF];
        } else {
            shown += utf8[i];
        }
    }
    return shown;
}

}  // namespace

Report::Report(ReportFormat format, const std::vector<std::string>& names, Write write)
    : format_(format), write_(std::move(write)) {
    for (const std::string& name : names) {
        nameWidth_ = std::max(nameWidth_, name.size());
    }
}

void Report::add(const CheckResult& result) {
    ++count_;
    if (!result.ok) {
        failures_.push_back(result.name);
    }
    std::string detail = platform::gbkToUtf8(result.detail);
    if (format_ == ReportFormat::Json) {
        nlohmann::ordered_json line = {
            {"check", result.name}, {"ok", result.ok}, {"detail", detail}};
        write_(line.dump() + "\n");
        return;
    }
    std::string name = result.name;
    name.resize(std::max(nameWidth_, name.size()), ' ');
    write_(std::string(result.ok ? "ok  " : "FAIL") + "  " + name + "  " + printable(detail) +
           "\n");
}

void Report::finish() {
    if (format_ == ReportFormat::Json) {
        return;
    }
    if (failures_.empty()) {
        write_("all " + std::to_string(count_) + " checks passed\n");
        return;
    }
    write_(std::to_string(failures_.size()) + " of " + std::to_string(count_) +
           " checks failed: " + joined(failures_, ", ") + "\n");
}

}  // namespace check
