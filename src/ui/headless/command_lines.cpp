#include "ui/headless/command_lines.h"

namespace ui {

std::vector<CommandLines::Line> CommandLines::add(std::string_view chunk) {
    std::vector<Line> lines;
    for (;;) {
        std::size_t newline = chunk.find('\n');
        take(chunk.substr(0, newline));
        if (newline == std::string_view::npos) {
            return lines;
        }
        lines.push_back(finish());
        chunk.remove_prefix(newline + 1);
    }
}

std::vector<CommandLines::Line> CommandLines::end() {
    if (partial_.empty() && !tooLong_) {
        return {};
    }
    return {finish()};
}

void CommandLines::take(std::string_view piece) {
    if (tooLong_) {
        return;
    }
    // One byte more than the limit may be the "\r" of a Windows line end.
    if (partial_.size() + piece.size() > maxLength + 1) {
        tooLong_ = true;
        partial_.clear();
        partial_.shrink_to_fit();
        return;
    }
    partial_.append(piece);
}

CommandLines::Line CommandLines::finish() {
    Line line;
    // Windows tools end their lines in "\r\n": the "\r" belongs to the line end.
    if (!partial_.empty() && partial_.back() == '\r') {
        partial_.pop_back();
    }
    if (tooLong_ || partial_.size() > maxLength) {
        line.problem = "a command line longer than 1 MiB was skipped";
    } else if (!isUtf8(partial_)) {
        line.problem = "a command line that is not UTF-8 was skipped";
    } else {
        line.text = std::move(partial_);
    }
    partial_.clear();
    tooLong_ = false;
    return line;
}

bool isUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        auto byte = [&](std::size_t at) { return static_cast<unsigned char>(bytes[at]); };
        unsigned char lead = byte(i);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        std::size_t length;
        char32_t code;
        char32_t lowest;
        if ((lead & 0xE0) == 0xC0) {
            length = 2, code = lead & 0x1F, lowest = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3, code = lead & 0x0F, lowest = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4, code = lead & 0x07, lowest = 0x10000;
        } else {
            return false;
        }
        if (bytes.size() - i < length) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            if ((byte(i + k) & 0xC0) != 0x80) {
                return false;
            }
            code = (code << 6) | (byte(i + k) & 0x3F);
        }
        if (code < lowest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            return false;
        }
        i += length;
    }
    return true;
}

}  // namespace ui
