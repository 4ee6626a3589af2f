#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace testing_support {

// One cell record of a board's list content, as an account server writes it.
inline std::string cellRecord(std::uint8_t flag, std::string_view cell, std::string_view tip = {},
                              std::int32_t indent = 0, std::uint32_t value = 0,
                              std::int32_t image = -1) {
    std::string record(1, static_cast<char>(flag));
    auto put = [&record](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            record += static_cast<char>((v >> (8 * i)) & 0xFF);
        }
    };
    put(static_cast<std::uint32_t>(image));
    put(static_cast<std::uint32_t>(image));
    put(static_cast<std::uint32_t>(indent));
    put(value);
    record += cell;
    record += '\0';
    record += tip;
    record += '\0';
    return record;
}

}  // namespace testing_support
