// A signature beside a patch, or a key, from anywhere: both are read strictly, so whatever
// signature is accepted is the one DER form of its two numbers, byte for byte, with both
// numbers from 1 to n - 1; and whatever key is accepted is a whole P-256 key.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/signature_encoding.h"

namespace {

// n, the order of the P-256 group.
constexpr std::array<unsigned char, 32> order = {
    0xff, 0xff, 0xff, 0xff, 0x00, 0x00, 0x00, 0x00, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff,
    0xbc, 0xe6, 0xfa, 0xad, 0xa7, 0x17, 0x9e, 0x84, 0xf3, 0xb9, 0xca, 0xc2, 0xfc, 0x63, 0x25, 0x51};

// The DER INTEGER of a 32-byte big-endian number: no leading zeros, one zero byte in front
// when the top bit is set.
std::string integer(const unsigned char* number) {
    const unsigned char* first =
        std::find_if(number, number + 32, [](unsigned char b) { return b != 0; });
    std::string bytes(first, number + 32);
    if (bytes.empty() || (static_cast<unsigned char>(bytes[0]) & 0x80) != 0) {
        bytes.insert(bytes.begin(), '\0');
    }
    return std::string{'\x02', static_cast<char>(bytes.size())} + bytes;
}

bool inRange(const unsigned char* number) {
    bool zero = std::all_of(number, number + 32, [](unsigned char b) { return b == 0; });
    return !zero && std::lexicographical_compare(number, number + 32, order.begin(), order.end());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string der(reinterpret_cast<const char*>(data), size);
    if (auto pair = platform::p256SignaturePair(der)) {
        std::string body = integer(pair->data()) + integer(pair->data() + 32);
        std::string canonical = std::string{'\x30', static_cast<char>(body.size())} + body;
        if (canonical != der || !inRange(pair->data()) || !inRange(pair->data() + 32)) {
            __builtin_trap();
        }
    }
    // The same bytes as the text of a key file.
    auto key = platform::p256PublicKeyDer(der);
    auto point = platform::p256PublicPoint(der);
    if (key.has_value() != point.has_value() ||
        (key &&
         (key->size() != 91 || key->substr(27) != std::string(point->begin(), point->end())))) {
        __builtin_trap();
    }
    return 0;
}
