#include "account/list_content.h"

#include <cstdint>
#include <cstring>

namespace account {
namespace {

constexpr std::size_t headerSize = 17;

std::uint32_t readLittleEndian(const char* p) {
    auto b = reinterpret_cast<const unsigned char*>(p);
    return std::uint32_t{b[0]} | std::uint32_t{b[1]} << 8 | std::uint32_t{b[2]} << 16 |
           std::uint32_t{b[3]} << 24;
}

// The zero-terminated text at pos, or nothing when the content ends first.
bool readText(std::string_view content, std::size_t& pos, std::string_view& text) {
    const void* end = std::memchr(content.data() + pos, '\0', content.size() - pos);
    if (end == nullptr) {
        return false;
    }
    std::size_t length = static_cast<const char*>(end) - (content.data() + pos);
    text = content.substr(pos, length);
    pos += length + 1;
    return true;
}

}  // namespace

std::vector<ui::ListRow> parseListContent(std::string_view content) {
    std::vector<ui::ListRow> rows;
    std::size_t pos = 0;
    while (content.size() - pos >= headerSize) {
        const char* header = content.data() + pos;
        std::size_t next = pos + headerSize;
        std::string_view cell, tip;
        if (!readText(content, next, cell) || !readText(content, next, tip)) {
            break;
        }
        pos = next;
        if (header[0] == 0) {
            ui::ListRow& row = rows.emplace_back();
            row.cells.emplace_back(cell);
            row.tip = tip;
            row.indent = static_cast<std::int32_t>(readLittleEndian(header + 9));
            row.value = readLittleEndian(header + 13);
        } else if (!rows.empty()) {
            rows.back().cells.emplace_back(cell);
        }
    }
    return rows;
}

}  // namespace account
