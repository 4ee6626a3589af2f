#include "platform/signature.h"

#include <gtest/gtest.h>

#include "app/patch_key.h"
#include "platform/signature_encoding.h"
#include "platform/signature_vectors.h"

namespace {

using namespace signature_vectors;

std::string_view keyOf(Key key) {
    return key == Key::Demo ? app::builtInPatchKey() : otherKey;
}

std::string goodSignature() {
    return fromHex(vectors.front().signatureHex);
}

bool verify(std::string_view key, std::string_view bytes, std::string_view signature) {
    platform::SignatureCheck check(key);
    check.add(bytes);
    return check.matches(signature);
}

TEST(SignatureCheck, EveryVectorGetsItsVerdict) {
    for (const Vector& v : vectors) {
        SCOPED_TRACE(v.what);
        EXPECT_EQ(verify(keyOf(v.key), v.file, fromHex(v.signatureHex)), v.valid);
        // Our own reading alone decides the form, on every system.
        EXPECT_EQ(platform::p256SignaturePair(fromHex(v.signatureHex)).has_value(), v.wellFormed);
    }
}

TEST(SignatureCheck, BytesMayArriveInAnyPiecesAndTheAnswerIsGivenOnce) {
    platform::SignatureCheck check(app::builtInPatchKey());
    ASSERT_TRUE(check.usable());
    check.add({});
    for (char c : file) {
        check.add(std::string_view(&c, 1));
    }
    EXPECT_TRUE(check.matches(goodSignature()));
    EXPECT_FALSE(check.matches(goodSignature())) << "a check is used up by its answer";

    platform::SignatureCheck halves(app::builtInPatchKey());
    halves.add(file.substr(0, 20));
    halves.add(file.substr(20));
    EXPECT_TRUE(halves.matches(goodSignature()));

    platform::SignatureCheck nothingAdded(app::builtInPatchKey());
    EXPECT_FALSE(nothingAdded.matches(goodSignature()));
}

TEST(SignatureCheck, AnythingButAP256PublicKeyAcceptsNothing) {
    const std::string p384 =
        "-----BEGIN PUBLIC KEY-----\n"
        "MHYwEAYHKoZIzj0CAQYFK4EEACIDYgAEBhBzLTCa4lw/p8YVmTg8QId9r9FWndeh\n"
        "MAIvPDO+Rh3b1npGS5il6zrXvlep947DGiGSSuasrnYG7LZoIjzmqzA3ciJlM3r8\n"
        "AN+Qysm1lkkJtZudi5+iz8fLF6YrSXFT\n"
        "-----END PUBLIC KEY-----\n";
    const std::string compressedPoint =
        "-----BEGIN PUBLIC KEY-----\n"
        "MDkwEwYHKoZIzj0CAQYIKoZIzj0DAQcDIgADsV6nEGJlEFHGPV/RKi5a17MVkkwo\n"
        "o8+Zjfxfutfu8D8=\n"
        "-----END PUBLIC KEY-----\n";
    std::string demo(app::builtInPatchKey());
    std::string noEnd = demo.substr(0, demo.find("-----END"));
    std::string badCharacter = demo;
    badCharacter[40] = '*';
    std::string privateLabel = demo;
    privateLabel.replace(privateLabel.find("PUBLIC"), 6, "EC PRIVATE");
    for (const std::string& key : {std::string(), p384, compressedPoint, noEnd, badCharacter,
                                   privateLabel, std::string("not a key")}) {
        SCOPED_TRACE(key);
        platform::SignatureCheck check(key);
        EXPECT_FALSE(check.usable());
        check.add(file);
        EXPECT_FALSE(check.matches(goodSignature()));
    }
}

TEST(SignatureEncoding, KeysAreReadFromPemWithAnyLineEnds) {
    std::string demo(app::builtInPatchKey());
    ASSERT_TRUE(platform::p256PublicKeyDer(demo));
    EXPECT_EQ(platform::p256PublicKeyDer(demo)->size(), 91u);
    std::string crlf;
    for (char c : demo) {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    EXPECT_EQ(platform::p256PublicKeyDer(crlf), platform::p256PublicKeyDer(demo));
    EXPECT_TRUE(verify(crlf, file, goodSignature()));
    // The point is the last 64 bytes of the key.
    auto der = *platform::p256PublicKeyDer(demo);
    auto point = *platform::p256PublicPoint(demo);
    EXPECT_EQ(std::string(point.begin(), point.end()), der.substr(27));
}

TEST(SignatureEncoding, ShortNumbersArePaddedToTheirPlaceInThePair) {
    // s of the third vector is 31 bytes long in DER: it must end up as 00 and those bytes.
    std::string der = fromHex(vectors[2].signatureHex);
    auto pair = platform::p256SignaturePair(der);
    ASSERT_TRUE(pair);
    std::string r = fromHex("b252153a610c32d34403986a814cf29e5dad8fa4bc4a3c78648c545db02baf16");
    std::string s = fromHex("007f4821b5bdbdf498527ed0b5ae9ce484155b6699d68c02fe935e79112e028d");
    EXPECT_EQ(std::string(pair->begin(), pair->end()), r + s);
    // r = 1 and s = n - 1, the smallest and largest numbers allowed.
    std::string smallest =
        fromHex("3026020101022100ffffffff00000000ffffffffffffffffbce6faada7179e84f3b9cac2fc632550");
    pair = platform::p256SignaturePair(smallest);
    ASSERT_TRUE(pair);
    EXPECT_EQ((*pair)[31], 1);
    EXPECT_EQ((*pair)[0], 0);
    EXPECT_EQ((*pair)[63], 0x50);
}

}  // namespace
