#include "ui/fltk/text_wrap.h"

namespace ui::fltk {
namespace {

size_t charLength(unsigned char lead) {
    if (lead < 0x80) {
        return 1;
    }
    if ((lead & 0xE0) == 0xC0) {
        return 2;
    }
    if ((lead & 0xF0) == 0xE0) {
        return 3;
    }
    if ((lead & 0xF8) == 0xF0) {
        return 4;
    }
    return 1;
}

// Closing punctuation never starts a line: it stays with the character before it.
bool closesLine(std::string_view ch) {
    static constexpr std::string_view closing[] = {"，", "。", "：", "；", "！", "？",
                                                   "、", "）", "」", "』", "》", ",",
                                                   ".",  ":",  ";",  "!",  "?",  ")"};
    for (auto c : closing) {
        if (ch == c) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::vector<std::string> wrapText(std::string_view text, int maxWidth,
                                  const std::function<int(std::string_view)>& widthOf) {
    std::vector<std::string> lines;
    std::string line;
    // Where the current line may break: just after its last space, or before a wide
    // (non-ASCII) character.
    size_t breakAt = std::string::npos;
    size_t i = 0;
    auto finish = [&](std::string rest) {
        while (!line.empty() && line.back() == ' ') {
            line.pop_back();
        }
        lines.push_back(std::move(line));
        line = std::move(rest);
        breakAt = std::string::npos;
    };
    while (i < text.size()) {
        size_t len = std::min(charLength(static_cast<unsigned char>(text[i])), text.size() - i);
        std::string_view ch = text.substr(i, len);
        i += len;
        if (ch == "\r") {
            continue;
        }
        if (ch == "\n") {
            finish("");
            continue;
        }
        bool wide = len > 1;
        if (wide && !line.empty() && !closesLine(ch)) {
            breakAt = line.size();
        }
        std::string candidate = line + std::string(ch);
        if (!line.empty() && widthOf(candidate) > maxWidth && ch != " " && !closesLine(ch)) {
            if (breakAt != std::string::npos && breakAt > 0) {
                std::string rest = line.substr(breakAt);
                line.resize(breakAt);
                size_t start = rest.find_first_not_of(' ');
                finish(start == std::string::npos ? "" : rest.substr(start));
            } else {
                finish("");
            }
            line += ch;
        } else {
            line = std::move(candidate);
        }
        if (ch == " ") {
            breakAt = line.size();
        }
    }
    if (!line.empty() || lines.empty()) {
        lines.push_back(std::move(line));
    }
    return lines;
}

}  // namespace ui::fltk
