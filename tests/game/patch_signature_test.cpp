#include "game/patch_signature.h"

#include <gtest/gtest.h>

#include "app/patch_key.h"
#include "support/http_test_server.h"
#include "support/openssl_tool.h"
#include "support/temp_folder.h"
#include "support/test_files.h"

namespace {

using game::PatchVerdict;
using testing_support::HttpTestServer;

TEST(SignatureAddress, IsBesideThePatchAsTheDownloadRequestsIt) {
    EXPECT_EQ(game::signatureAddress("http://host:8080/dir/p.exe"),
              "http://host:8080/dir/p.exe.sig");
    EXPECT_EQ(game::signatureAddress("http://host/my patch 2.exe"),
              "http://host/my%20patch%202.exe.sig");
}

// A patch on a test server and the signature the operator made of it with openssl.
class PatchSignature : public ::testing::Test {
  protected:
    std::string patch = testing_support::randomBytes(50000, 7);
    std::string signature = testing_support::opensslSign(DEMO_PATCH_KEY, patch);
    HttpTestServer server;
    std::string address = server.url("/patches/p.exe");

    PatchVerdict verdictFor(std::vector<testing_support::ScriptedReply> replies) {
        server.serve("/patches/p.exe.sig", std::move(replies));
        return game::verifyPatch(app::builtInPatchKey(), address, patch, game::fetchSignatureReply);
    }
};

TEST_F(PatchSignature, TheAnswerBesideThePatchDecides) {
    struct Case {
        const char* what;
        std::string reply;
        PatchVerdict verdict;
    };
    std::string otherFiles =
        testing_support::opensslSign(DEMO_PATCH_KEY, patch.substr(0, patch.size() - 1));
    const Case cases[] = {
        {"the signature", HttpTestServer::response(200, signature), PatchVerdict::Verified},
        {"the signature with a 404", HttpTestServer::response(404, signature),
         PatchVerdict::SignatureMissing},
        {"the signature with a 500", HttpTestServer::response(500, signature),
         PatchVerdict::SignatureMissing},
        {"an error page", HttpTestServer::response(200, "<html>gone</html>"),
         PatchVerdict::SignatureMalformed},
        {"nothing", HttpTestServer::response(200, ""), PatchVerdict::SignatureMalformed},
        {"a byte after it", HttpTestServer::response(200, signature + '\n'),
         PatchVerdict::SignatureMalformed},
        {"the signature of another file", HttpTestServer::response(200, otherFiles),
         PatchVerdict::Mismatch},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(verdictFor({{c.reply}}), c.verdict);
    }
    auto requests = server.requests();
    ASSERT_FALSE(requests.empty());
    EXPECT_EQ(requests.back().rfind("GET /patches/p.exe.sig HTTP/1.0\r\n", 0), 0u);
}

TEST_F(PatchSignature, AMirrorMayRedirectButAnUnreachableSiteIsNoSignature) {
    HttpTestServer mirror;
    mirror.serve("/p.exe.sig", {HttpTestServer::response(200, signature)});
    EXPECT_EQ(verdictFor({{HttpTestServer::response(
                  302, "", "Location: " + mirror.url("/p.exe.sig") + "\r\n")}}),
              PatchVerdict::Verified);
    EXPECT_EQ(game::verifyPatch(app::builtInPatchKey(), "http://127.0.0.1:1/p.exe", patch,
                                game::fetchSignatureReply),
              PatchVerdict::SignatureMissing);
}

TEST_F(PatchSignature, AFileIsReadPieceByPieceToItsEnd) {
    testing_support::TempFolder folder;
    // Several pieces of the reader, and an odd size.
    std::string large = testing_support::randomBytes(2 * 1024 * 1024 + 3, 9);
    testing_support::writeFile(folder.file("p.exe"), large);
    std::string largeSignature = testing_support::opensslSign(DEMO_PATCH_KEY, large);
    server.serve("/patches/p.exe.sig", {HttpTestServer::response(200, largeSignature)});
    auto never = [] { return false; };

    game::PatchSignatureCheck whole(app::builtInPatchKey());
    EXPECT_TRUE(whole.addFile(folder.file("p.exe"), never));
    EXPECT_EQ(whole.verify(address, game::fetchSignatureReply), PatchVerdict::Verified);

    game::PatchSignatureCheck stopped(app::builtInPatchKey());
    int asked = 0;
    EXPECT_FALSE(stopped.addFile(folder.file("p.exe"), [&] { return ++asked > 1; }));
    EXPECT_EQ(stopped.verify(address, game::fetchSignatureReply), PatchVerdict::FileUnreadable);

    game::PatchSignatureCheck missing(app::builtInPatchKey());
    EXPECT_FALSE(missing.addFile(folder.file("gone.exe"), never));
    EXPECT_EQ(missing.verify(address, game::fetchSignatureReply), PatchVerdict::FileUnreadable);
}

TEST_F(PatchSignature, AnUnusableKeyFetchesNothing) {
    server.serve("/patches/p.exe.sig", {HttpTestServer::response(200, signature)});
    EXPECT_EQ(game::verifyPatch("-----BEGIN PUBLIC KEY-----\nAAAA\n-----END PUBLIC KEY-----\n",
                                address, patch, game::fetchSignatureReply),
              PatchVerdict::KeyUnusable);
    EXPECT_TRUE(server.requests().empty());
}

}  // namespace
