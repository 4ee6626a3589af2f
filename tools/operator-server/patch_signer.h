#pragma once

#include <string>
#include <string_view>

namespace operator_server {

// What `openssl dgst -sha256 -sign KEY` makes of bytes: an ECDSA P-256 signature over their
// SHA-256, in DER. Throws std::runtime_error when the key file cannot be read or holds no
// P-256 private key.
std::string signPatch(const std::string& privateKeyFile, std::string_view bytes);

}  // namespace operator_server
