// The launcher must accept exactly the signatures the openssl tool accepts, which is what
// operators check their signatures with: the tool itself decides here.
#include <gtest/gtest.h>

#include <random>

#include "app/patch_key.h"
#include "platform/signature.h"
#include "platform/signature_vectors.h"
#include "support/openssl_tool.h"

namespace {

using namespace signature_vectors;

// The tool reads no more of a signature file than the longest signature of the key.
constexpr std::size_t longestSignature = 72;

bool launcherAccepts(std::string_view key, std::string_view bytes, std::string_view signature) {
    platform::SignatureCheck check(key);
    check.add(bytes);
    return check.matches(signature);
}

TEST(SignatureCheckAgainstOpenssl, TheVectorsCarryTheToolsVerdicts) {
    for (const Vector& v : vectors) {
        std::string signature = fromHex(v.signatureHex);
        if (signature.size() > longestSignature) {
            continue;
        }
        SCOPED_TRACE(v.what);
        std::string_view key = v.key == Key::Demo ? app::builtInPatchKey() : otherKey;
        EXPECT_EQ(testing_support::opensslVerifies(key, v.file, signature), v.valid);
    }
}

TEST(SignatureCheckAgainstOpenssl, DamagedSignaturesGetTheToolsVerdict) {
    std::mt19937 random(15);
    auto below = [&](std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
    };
    int accepted = 0;
    for (int round = 0; round < 100; ++round) {
        // Both good forms: 72 bytes (both numbers padded) and 71.
        std::string signature = fromHex(vectors[round % 2].signatureHex);
        std::string kind;
        switch (round % 5) {
            case 0:
                kind = "one bit flipped";
                signature[below(signature.size())] ^= static_cast<char>(1 << below(8));
                break;
            case 1:
                kind = "one byte dropped";
                signature.erase(below(signature.size()), 1);
                break;
            case 2:
                kind = "one byte inserted";
                signature.insert(below(signature.size() + 1), 1, static_cast<char>(below(256)));
                break;
            case 3: {
                kind = "a length or tag byte changed";
                std::size_t at = std::vector<std::size_t>{0, 1, 2, 3, 4, 37, 38}[below(7)];
                at = std::min(at, signature.size() - 1);
                signature[at] = static_cast<char>(signature[at] + (below(2) ? 1 : -1));
                break;
            }
            default:
                kind = "left alone";
                break;
        }
        SCOPED_TRACE(kind + ", round " + std::to_string(round));
        bool ours = launcherAccepts(app::builtInPatchKey(), file, signature);
        accepted += ours;
        if (signature.size() > longestSignature) {
            EXPECT_FALSE(ours) << "bytes after the end are never accepted";
        } else {
            EXPECT_EQ(ours,
                      testing_support::opensslVerifies(app::builtInPatchKey(), file, signature));
        }
    }
    EXPECT_GE(accepted, 20) << "the untouched signatures were accepted";
}

TEST(SignatureCheckAgainstOpenssl, TheToolsOwnSignaturesOfALargeFileAreAccepted) {
    // Larger than a piece of any reader, and of an odd size.
    std::string bytes(3 * 1024 * 1024 + 17, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>(i * 131 + (i >> 9));
    }
    std::string signature = testing_support::opensslSign(DEMO_PATCH_KEY, bytes);
    platform::SignatureCheck check(app::builtInPatchKey());
    for (std::size_t at = 0; at < bytes.size(); at += 65536) {
        check.add(std::string_view(bytes).substr(at, 65536));
    }
    EXPECT_TRUE(check.matches(signature));
    bytes[bytes.size() / 2] ^= 1;
    EXPECT_FALSE(launcherAccepts(app::builtInPatchKey(), bytes, signature));
}

}  // namespace
