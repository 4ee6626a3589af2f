// Port texts from the configuration page: any bytes convert, and the wire port is never
// below 1 unless the number wrapped onto 0.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "account/port.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    int number = account::portFromText(std::string_view(reinterpret_cast<const char*>(data), size));
    std::uint16_t wire = account::wirePort(number);
    if (number < 1 && wire != 1) {
        __builtin_trap();
    }
    if (number >= 1 && wire != static_cast<std::uint16_t>(number & 0xFFFF)) {
        __builtin_trap();
    }
    return 0;
}
