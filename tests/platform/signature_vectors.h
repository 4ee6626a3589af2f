#pragma once

#include <string>
#include <string_view>
#include <vector>

// Signatures of one small file, with the verdict each must get: the demo key's own
// signature in both its forms, and damaged or forged ones. `openssl dgst -sha256 -verify`
// gives the same verdicts (the Linux tests check that), except for the one signature
// longer than 72 bytes: the tool reads only as many bytes of a signature file as the
// longest signature of the key can have, and so never sees what follows them.
namespace signature_vectors {

inline constexpr std::string_view file =
    "xypatch 1.0.2: the demo game service's patch, signed with the demo key\n";
// The file with one bit flipped (0 -> 4 in the version).
inline constexpr std::string_view flippedFile =
    "xypatch 1.4.2: the demo game service's patch, signed with the demo key\n";

// A P-256 key of no operator, to check signatures of the demo key against.
inline constexpr std::string_view otherKey =
    "-----BEGIN PUBLIC KEY-----\n"
    "MFkwEwYHKoZIzj0CAQYIKoZIzj0DAQcDQgAEeYXlCkqUnh32Td6GESM6cFGICslW\n"
    "KFVGLi8sDFqWtkQ38teccBRs2bKA+XJb10LiOMXUfq0b+WcD6JjnLdVYqg==\n"
    "-----END PUBLIC KEY-----\n";

enum class Key { Demo, Other };

struct Vector {
    const char* what;
    std::string_view file;
    std::string_view signatureHex;
    Key key;
    bool wellFormed;  // strict DER of two numbers from 1 to n - 1
    bool valid;
};

// n, the order of the P-256 group, is
// ffffffff00000000ffffffffffffffffbce6faada7179e84f3b9cac2fc632551.
inline const std::vector<Vector> vectors = {
    {"as openssl wrote it, s above n / 2", file,
     "3046022100ddc46d32af6832e4a5aa49665bbfc77c03bc71fd87b9ca9b56303256a962faf8022100ca25a430b3e0d"
     "1804b71b1788aaab6ed3feb6668c0aeb6e1d8e7a31cc3c06724",
     Key::Demo, true, true},
    {"its other form, s replaced by n - s", file,
     "3045022100ddc46d32af6832e4a5aa49665bbfc77c03bc71fd87b9ca9b56303256a962faf8022035da5bce4c1f2e8"
     "0b48e4e87755549127cfb9444e668e7a31ad227a638a2be2d",
     Key::Demo, true, true},
    {"a signature whose s, as n - s, needs only 31 bytes", file,
     "3044022100b252153a610c32d34403986a814cf29e5dad8fa4bc4a3c78648c545db02baf16021f7f4821b5bdbdf49"
     "8527ed0b5ae9ce484155b6699d68c02fe935e79112e028d",
     Key::Demo, true, true},
    {"one bit of the file flipped", flippedFile,
     "3046022100ddc46d32af6832e4a5aa49665bbfc77c03bc71fd87b9ca9b56303256a962faf8022100ca25a430b3e0d"
     "1804b71b1788aaab6ed3feb6668c0aeb6e1d8e7a31cc3c06724",
     Key::Demo, true, false},
    {"one bit of s flipped", file,
     "3046022100ddc46d32af6832e4a5aa49665bbfc77c03bc71fd87b9ca9b56303256a962faf8022100ca25a430b3e0d"
     "1804b71b1788aaab6ed3feb6668c0aeb6e1d8e7a31cc3c06725",
     Key::Demo, true, false},
    {"checked with another key", file,
     "3046022100ddc46d32af6832e4a5aa49665bbfc77c03bc71fd87b9ca9b56303256a962faf8022100ca25a430b3e0d"
     "1804b71b1788aaab6ed3feb6668c0aeb6e1d8e7a31cc3c06724",
     Key::Other, true, false},
    {"the last byte cut off", file,
     "3046022100ddc46d32af6832e4a5aa49665bbfc77c03bc71fd87b9ca9b56303256a962faf8022100ca25a430b3e0d"
     "1804b71b1788aaab6ed3feb6668c0aeb6e1d8e7a31cc3c067",
     Key::Demo, false, false},
    {"a zero byte after the end", file,
     "3045022100ddc46d32af6832e4a5aa49665bbfc77c03bc71fd87b9ca9b56303256a962faf8022035da5bce4c1f2e8"
     "0b48e4e87755549127cfb9444e668e7a31ad227a638a2be2d00",
     Key::Demo, false, false},
    {"a zero byte after the end of the longest form", file,
     "3046022100ddc46d32af6832e4a5aa49665bbfc77c03bc71fd87b9ca9b56303256a962faf8022100ca25a430b3e0d"
     "1804b71b1788aaab6ed3feb6668c0aeb6e1d8e7a31cc3c0672400",
     Key::Demo, false, false},
    {"a zero byte after s, inside the sequence", file,
     "3046022100ddc46d32af6832e4a5aa49665bbfc77c03bc71fd87b9ca9b56303256a962faf8022035da5bce4c1f2e8"
     "0b48e4e87755549127cfb9444e668e7a31ad227a638a2be2d00",
     Key::Demo, false, false},
    {"r = 0", file,
     "3026020100022100ca25a430b3e0d1804b71b1788aaab6ed3feb6668c0aeb6e1d8e7a31cc3c06724", Key::Demo,
     false, false},
    {"s = 0", file,
     "3026022100ddc46d32af6832e4a5aa49665bbfc77c03bc71fd87b9ca9b56303256a962faf8020100", Key::Demo,
     false, false},
    {"r = n", file,
     "3046022100ffffffff00000000ffffffffffffffffbce6faada7179e84f3b9cac2fc632551022100ca25a430b3e0d"
     "1804b71b1788aaab6ed3feb6668c0aeb6e1d8e7a31cc3c06724",
     Key::Demo, false, false},
    {"s + n in place of s", file,
     "3046022100ddc46d32af6832e4a5aa49665bbfc77c03bc71fd87b9ca9b56303256a962faf8022101ca25a42fb3e0d"
     "1814b71b1788aaab6ecfcd2611667c65566cca16ddfc0238c75",
     Key::Demo, false, false},
    {"r without its leading zero, so negative", file,
     "30450220ddc46d32af6832e4a5aa49665bbfc77c03bc71fd87b9ca9b56303256a962faf8022100ca25a430b3e0d18"
     "04b71b1788aaab6ed3feb6668c0aeb6e1d8e7a31cc3c06724",
     Key::Demo, false, false},
    {"s with a needless leading zero", file,
     "3046022100ddc46d32af6832e4a5aa49665bbfc77c03bc71fd87b9ca9b56303256a962faf802210035da5bce4c1f2"
     "e80b48e4e87755549127cfb9444e668e7a31ad227a638a2be2d",
     Key::Demo, false, false},
    {"the sequence length in long form", file,
     "308145022100ddc46d32af6832e4a5aa49665bbfc77c03bc71fd87b9ca9b56303256a962faf8022035da5bce4c1f2"
     "e80b48e4e87755549127cfb9444e668e7a31ad227a638a2be2d",
     Key::Demo, false, false},
    {"r and s as 64 raw bytes", file,
     "ddc46d32af6832e4a5aa49665bbfc77c03bc71fd87b9ca9b56303256a962faf8ca25a430b3e0d1804b71b1788aaab"
     "6ed3feb6668c0aeb6e1d8e7a31cc3c06724",
     Key::Demo, false, false},
    {"no bytes at all", file, "", Key::Demo, false, false},
};

inline std::string fromHex(std::string_view hex) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes += static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16));
    }
    return bytes;
}

}  // namespace signature_vectors
