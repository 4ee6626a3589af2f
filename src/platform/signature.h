#pragma once

#include <memory>
#include <string_view>

namespace platform {

// Checks an ECDSA P-256 signature over the SHA-256 of bytes that arrive in pieces, with the
// system's own cryptography (libcrypto on Linux, CNG on Windows). The bytes may be
// hundreds of megabytes: they are hashed as they come, never held.
class SignatureCheck {
  public:
    // publicKeyPem: the PEM text `openssl ec -pubout` writes for a P-256 key. Any other
    // key makes a check that accepts nothing.
    explicit SignatureCheck(std::string_view publicKeyPem);
    ~SignatureCheck();
    SignatureCheck(const SignatureCheck&) = delete;
    SignatureCheck& operator=(const SignatureCheck&) = delete;

    // Whether the key could be taken into use.
    bool usable() const;
    void add(std::string_view bytes);
    // Whether `signature`, in strict DER (see p256SignaturePair), signs everything added.
    // The check is used up by it: a second call answers false.
    bool matches(std::string_view signature);

  private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace platform
