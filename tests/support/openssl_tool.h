#pragma once

#include <string>
#include <string_view>

namespace testing_support {

// The openssl command-line tool, run as docs/operator.md tells operators to run it.

// `openssl dgst -sha256 -sign KEY`: the signature of bytes with the private key in a PEM
// file (DEMO_PATCH_KEY is the demo operator's). Throws when the tool fails.
std::string opensslSign(const std::string& privateKeyFile, std::string_view bytes);
// `openssl dgst -sha256 -verify`: whether the tool accepts a signature of bytes with the
// public key given as PEM text.
bool opensslVerifies(std::string_view publicKeyPem, std::string_view bytes,
                     std::string_view signature);

}  // namespace testing_support
