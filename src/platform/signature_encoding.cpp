#include "platform/signature_encoding.h"

#include <algorithm>
#include <cstdint>

namespace platform {
namespace {

constexpr std::string_view pemBegin = "-----BEGIN PUBLIC KEY-----";
constexpr std::string_view pemEnd = "-----END PUBLIC KEY-----";

// SEQUENCE { SEQUENCE { id-ecPublicKey, prime256v1 }, BIT STRING { 04 ... } }: everything
// of a P-256 SubjectPublicKeyInfo but the 64 bytes of its point.
constexpr unsigned char p256KeyPrefix[] = {0x30, 0x59, 0x30, 0x13, 0x06, 0x07, 0x2a, 0x86, 0x48,
                                           0xce, 0x3d, 0x02, 0x01, 0x06, 0x08, 0x2a, 0x86, 0x48,
                                           0xce, 0x3d, 0x03, 0x01, 0x07, 0x03, 0x42, 0x00, 0x04};

// n, the order of the P-256 group.
constexpr std::array<unsigned char, 32> p256Order = {
    0xff, 0xff, 0xff, 0xff, 0x00, 0x00, 0x00, 0x00, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff,
    0xbc, 0xe6, 0xfa, 0xad, 0xa7, 0x17, 0x9e, 0x84, 0xf3, 0xb9, 0xca, 0xc2, 0xfc, 0x63, 0x25, 0x51};

int base64Value(char c) {
    if (c >= 'A' && c <= 'Z') {
        return c - 'A';
    }
    if (c >= 'a' && c <= 'z') {
        return c - 'a' + 26;
    }
    if (c >= '0' && c <= '9') {
        return c - '0' + 52;
    }
    if (c == '+') {
        return 62;
    }
    if (c == '/') {
        return 63;
    }
    return -1;
}

bool isLineSpace(char c) {
    return c == '\r' || c == '\n' || c == ' ' || c == '\t';
}

// Base64 in lines: padding only at the very end, and no stray bits in it.
std::optional<std::string> decodeBase64(std::string_view text) {
    std::string symbols;
    for (char c : text) {
        if (!isLineSpace(c)) {
            symbols += c;
        }
    }
    if (symbols.empty() || symbols.size() % 4 != 0) {
        return std::nullopt;
    }
    std::size_t padding = symbols.size() - symbols.find_last_not_of('=') - 1;
    if (padding > 2) {
        return std::nullopt;
    }
    std::string bytes;
    std::uint32_t bits = 0;
    int count = 0;
    for (std::size_t i = 0; i < symbols.size() - padding; ++i) {
        int value = base64Value(symbols[i]);
        if (value < 0) {
            return std::nullopt;
        }
        bits = (bits << 6) | static_cast<std::uint32_t>(value);
        count += 6;
        if (count >= 8) {
            count -= 8;
            bytes += static_cast<char>((bits >> count) & 0xff);
        }
    }
    if ((bits & ((1u << count) - 1)) != 0) {
        return std::nullopt;
    }
    return bytes;
}

// One INTEGER of a signature at `at`, advanced past it; a number from 1 to n - 1.
std::optional<std::array<unsigned char, 32>> readInteger(std::string_view der, std::size_t& at) {
    if (der.size() - at < 2 || der[at] != 0x02) {
        return std::nullopt;
    }
    std::size_t length = static_cast<unsigned char>(der[at + 1]);
    if (length == 0 || length >= 0x80 || der.size() - at - 2 < length) {
        return std::nullopt;
    }
    std::string_view value = der.substr(at + 2, length);
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(value[i]); };
    if ((byte(0) & 0x80) != 0) {
        return std::nullopt;  // negative
    }
    if (length > 1 && byte(0) == 0 && (byte(1) & 0x80) == 0) {
        return std::nullopt;  // a leading zero the number does not need
    }
    if (byte(0) == 0) {
        value.remove_prefix(1);
    }
    if (value.size() > 32) {
        return std::nullopt;
    }
    std::array<unsigned char, 32> number{};
    std::copy(value.begin(), value.end(), number.end() - value.size());
    bool zero = std::all_of(number.begin(), number.end(), [](unsigned char b) { return b == 0; });
    if (zero || !std::lexicographical_compare(number.begin(), number.end(), p256Order.begin(),
                                              p256Order.end())) {
        return std::nullopt;
    }
    at += 2 + length;
    return number;
}

}  // namespace

std::optional<std::string> p256PublicKeyDer(std::string_view pem) {
    std::size_t begin = pem.find(pemBegin);
    if (begin == std::string_view::npos) {
        return std::nullopt;
    }
    begin += pemBegin.size();
    std::size_t end = pem.find(pemEnd, begin);
    if (end == std::string_view::npos) {
        return std::nullopt;
    }
    auto der = decodeBase64(pem.substr(begin, end - begin));
    constexpr std::size_t prefixSize = sizeof p256KeyPrefix;
    if (!der || der->size() != prefixSize + 64 ||
        !std::equal(p256KeyPrefix, p256KeyPrefix + prefixSize, der->begin(),
                    [](unsigned char a, char b) { return a == static_cast<unsigned char>(b); })) {
        return std::nullopt;
    }
    return der;
}

std::optional<P256Point> p256PublicPoint(std::string_view pem) {
    auto der = p256PublicKeyDer(pem);
    if (!der) {
        return std::nullopt;
    }
    P256Point point;
    std::copy(der->end() - 64, der->end(), point.begin());
    return point;
}

std::optional<P256Pair> p256SignaturePair(std::string_view der) {
    // The longest signature (two 33-byte integers) is 70 bytes inside its sequence, so the
    // sequence length always has the short form.
    if (der.size() < 2 || der[0] != 0x30 || static_cast<unsigned char>(der[1]) >= 0x80 ||
        static_cast<unsigned char>(der[1]) != der.size() - 2) {
        return std::nullopt;
    }
    std::size_t at = 2;
    auto r = readInteger(der, at);
    if (!r) {
        return std::nullopt;
    }
    auto s = readInteger(der, at);
    if (!s || at != der.size()) {
        return std::nullopt;
    }
    P256Pair pair;
    std::copy(r->begin(), r->end(), pair.begin());
    std::copy(s->begin(), s->end(), pair.begin() + 32);
    return pair;
}

}  // namespace platform
