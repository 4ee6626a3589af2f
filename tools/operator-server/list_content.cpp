#include "list_content.h"

namespace operator_server {
namespace {

void appendInt32(std::string& out, int32_t value) {
    auto u = static_cast<uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) {
        out += static_cast<char>((u >> shift) & 0xFF);
    }
}

void appendRecord(std::string& out, bool startsRow, int32_t rowValue, const std::string& cell,
                  const std::string& tip) {
    out += static_cast<char>(startsRow ? 0 : 1);
    appendInt32(out, 0);  // image
    appendInt32(out, 0);  // state image
    appendInt32(out, 0);  // indent
    appendInt32(out, startsRow ? rowValue : 0);
    // A zero byte inside a text would end it early and shift every later record.
    out += cell.substr(0, cell.find('\0'));
    out += '\0';
    out += tip.substr(0, tip.find('\0'));
    out += '\0';
}

}  // namespace

std::string encodeListContent(const std::vector<BoardRow>& rows) {
    std::string out;
    for (const auto& row : rows) {
        for (size_t column = 0; column < row.cells.size(); ++column) {
            bool startsRow = column == 0;
            appendRecord(out, startsRow, row.value, row.cells[column],
                         startsRow ? row.tip : std::string());
        }
    }
    return out;
}

}  // namespace operator_server
