#include "patch_signer.h"

#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>

#include <cstdio>
#include <memory>
#include <stdexcept>

namespace operator_server {
namespace {

struct Free {
    void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
    void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

std::string signPatch(const std::string& privateKeyFile, std::string_view bytes) {
    std::unique_ptr<std::FILE, Free> file(std::fopen(privateKeyFile.c_str(), "rb"));
    if (!file) {
        throw std::runtime_error("cannot read " + privateKeyFile);
    }
    std::unique_ptr<EVP_PKEY, Free> key(PEM_read_PrivateKey(file.get(), nullptr, nullptr, nullptr));
    char curve[64] = "";
    if (!key || !EVP_PKEY_is_a(key.get(), "EC") ||
        !EVP_PKEY_get_group_name(key.get(), curve, sizeof curve, nullptr) ||
        std::string_view(curve) != "prime256v1") {
        ERR_clear_error();
        throw std::runtime_error(privateKeyFile + " holds no ECDSA P-256 private key");
    }
    std::unique_ptr<EVP_MD_CTX, Free> context(EVP_MD_CTX_new());
    std::string signature(static_cast<size_t>(EVP_PKEY_get_size(key.get())), '\0');
    size_t size = signature.size();
    if (!context ||
        EVP_DigestSignInit(context.get(), nullptr, EVP_sha256(), nullptr, key.get()) != 1 ||
        EVP_DigestSign(context.get(), reinterpret_cast<unsigned char*>(signature.data()), &size,
                       reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()) != 1) {
        ERR_clear_error();
        throw std::runtime_error("cannot sign with " + privateKeyFile);
    }
    signature.resize(size);
    return signature;
}

}  // namespace operator_server
