#include "platform/signature.h"

#include <windows.h>

#include <bcrypt.h>

#include <algorithm>
#include <vector>

#include "platform/signature_encoding.h"

namespace platform {
namespace {

bool succeeded(NTSTATUS status) {
    return status >= 0;
}

}  // namespace

struct SignatureCheck::State {
    BCRYPT_ALG_HANDLE ecdsa = nullptr;
    BCRYPT_ALG_HANDLE sha256 = nullptr;
    BCRYPT_KEY_HANDLE key = nullptr;
    BCRYPT_HASH_HANDLE hash = nullptr;
    bool usable = false;

    ~State() {
        if (hash) {
            BCryptDestroyHash(hash);
        }
        if (key) {
            BCryptDestroyKey(key);
        }
        if (sha256) {
            BCryptCloseAlgorithmProvider(sha256, 0);
        }
        if (ecdsa) {
            BCryptCloseAlgorithmProvider(ecdsa, 0);
        }
    }
};

SignatureCheck::SignatureCheck(std::string_view publicKeyPem) : state_(std::make_unique<State>()) {
    auto point = p256PublicPoint(publicKeyPem);
    if (!point) {
        return;
    }
    // CNG takes the key as its own blob: a small header, then X and Y.
    std::vector<unsigned char> blob(sizeof(BCRYPT_ECCKEY_BLOB) + point->size());
    BCRYPT_ECCKEY_BLOB header{BCRYPT_ECDSA_PUBLIC_P256_MAGIC, 32};
    std::copy_n(reinterpret_cast<const unsigned char*>(&header), sizeof header, blob.begin());
    std::copy(point->begin(), point->end(), blob.begin() + sizeof header);

    State& s = *state_;
    s.usable =
        succeeded(BCryptOpenAlgorithmProvider(&s.ecdsa, BCRYPT_ECDSA_P256_ALGORITHM, nullptr, 0)) &&
        succeeded(BCryptImportKeyPair(s.ecdsa, nullptr, BCRYPT_ECCPUBLIC_BLOB, &s.key, blob.data(),
                                      static_cast<ULONG>(blob.size()), 0)) &&
        succeeded(BCryptOpenAlgorithmProvider(&s.sha256, BCRYPT_SHA256_ALGORITHM, nullptr, 0)) &&
        succeeded(BCryptCreateHash(s.sha256, &s.hash, nullptr, 0, nullptr, 0, 0));
}

SignatureCheck::~SignatureCheck() = default;

bool SignatureCheck::usable() const {
    return state_->usable;
}

void SignatureCheck::add(std::string_view bytes) {
    while (state_->usable && !bytes.empty()) {
        ULONG piece = static_cast<ULONG>(std::min<std::size_t>(bytes.size(), 1u << 30));
        auto* data = reinterpret_cast<PUCHAR>(const_cast<char*>(bytes.data()));
        if (!succeeded(BCryptHashData(state_->hash, data, piece, 0))) {
            state_->usable = false;
        }
        bytes.remove_prefix(piece);
    }
}

bool SignatureCheck::matches(std::string_view signature) {
    if (!state_->usable) {
        return false;
    }
    state_->usable = false;
    // CNG wants r and s as two 32-byte numbers, not DER.
    auto pair = p256SignaturePair(signature);
    unsigned char digest[32];
    return pair && succeeded(BCryptFinishHash(state_->hash, digest, sizeof digest, 0)) &&
           succeeded(BCryptVerifySignature(state_->key, nullptr, digest, sizeof digest,
                                           pair->data(), static_cast<ULONG>(pair->size()), 0));
}

}  // namespace platform
