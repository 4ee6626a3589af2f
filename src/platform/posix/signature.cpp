#include "platform/signature.h"

#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/x509.h>

#include "platform/signature_encoding.h"

namespace platform {

struct SignatureCheck::State {
    EVP_PKEY* key = nullptr;
    EVP_MD_CTX* context = nullptr;
    bool usable = false;

    ~State() {
        EVP_MD_CTX_free(context);
        EVP_PKEY_free(key);
        // Failures leave entries in this thread's error queue; nobody reads them.
        ERR_clear_error();
    }
};

SignatureCheck::SignatureCheck(std::string_view publicKeyPem) : state_(std::make_unique<State>()) {
    auto der = p256PublicKeyDer(publicKeyPem);
    if (!der) {
        return;
    }
    auto* bytes = reinterpret_cast<const unsigned char*>(der->data());
    state_->key = d2i_PUBKEY(nullptr, &bytes, static_cast<long>(der->size()));
    state_->context = EVP_MD_CTX_new();
    state_->usable =
        state_->key && state_->context &&
        EVP_DigestVerifyInit(state_->context, nullptr, EVP_sha256(), nullptr, state_->key) == 1;
}

SignatureCheck::~SignatureCheck() = default;

bool SignatureCheck::usable() const {
    return state_->usable;
}

void SignatureCheck::add(std::string_view bytes) {
    if (state_->usable &&
        EVP_DigestVerifyUpdate(state_->context, bytes.data(), bytes.size()) != 1) {
        state_->usable = false;
    }
}

bool SignatureCheck::matches(std::string_view signature) {
    if (!state_->usable) {
        return false;
    }
    state_->usable = false;
    // libcrypto reads DER as strictly, but the Windows build's own reading decides there,
    // so both builds decide by the same rules.
    return p256SignaturePair(signature) &&
           EVP_DigestVerifyFinal(state_->context,
                                 reinterpret_cast<const unsigned char*>(signature.data()),
                                 signature.size()) == 1;
}

}  // namespace platform
