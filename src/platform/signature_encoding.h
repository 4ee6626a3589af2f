#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The encodings around an ECDSA P-256 signature check, read strictly and the same way on
// every system, so that what one build accepts the other accepts too.

// The 64 bytes of a P-256 public point, X then Y, and of a signature, r then s: each number
// big-endian in 32 bytes.
using P256Point = std::array<unsigned char, 64>;
using P256Pair = std::array<unsigned char, 64>;

// The DER SubjectPublicKeyInfo inside a PEM text of the form `openssl ec -pubout` writes
// ("-----BEGIN PUBLIC KEY-----", base64 lines, "-----END PUBLIC KEY-----"); nullopt unless it
// is a P-256 key with an uncompressed point.
std::optional<std::string> p256PublicKeyDer(std::string_view pem);

// The point of such a key.
std::optional<P256Point> p256PublicPoint(std::string_view pem);

// r and s of a signature in DER, a SEQUENCE of two INTEGERs, as `openssl dgst -sign` writes
// it. Nullopt for anything not in strict DER (long-form or wrong lengths, bytes after the
// end, integers with needless leading zeros or negative) and for r or s outside 1 to n - 1,
// n being the order of the curve.
std::optional<P256Pair> p256SignaturePair(std::string_view der);

}  // namespace platform
