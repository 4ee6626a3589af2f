#include "check/patch_signature_check.h"

#include <gtest/gtest.h>

#include "app/patch_key.h"
#include "platform/encoding.h"
#include "support/http_test_server.h"
#include "support/openssl_tool.h"

namespace {

using testing_support::HttpTestServer;
using testing_support::ScriptedReply;

std::string sign(const std::string& bytes) {
    return testing_support::opensslSign(DEMO_PATCH_KEY, bytes);
}

// A patch larger than any one read, with bytes of every value.
std::string patchBytes() {
    std::string patch;
    for (int i = 0; i < 150000; ++i) {
        patch += static_cast<char>((i * 7 + i / 256) & 0xFF);
    }
    return patch;
}

// What the page checks hand on when the page gives this patch site and file name (GBK).
check::PageFindings pageWith(const std::string& patchSite, const std::string& patchFileName) {
    check::PageFindings page;
    page.values.emplace();
    page.values->patchSite = patchSite;
    page.values->patchFileName = patchFileName;
    return page;
}

class PatchSignatureCheck : public ::testing::Test {
  protected:
    check::CheckResult run(const std::string& fileName = "p.exe") {
        check::CheckResult result = check::checkPatchSignature(
            pageWith(server.hostAndPort() + "/patch", fileName), app::builtInPatchKey());
        EXPECT_EQ(result.name, "patchSignature");
        detail = platform::gbkToUtf8(result.detail);
        return result;
    }
    void servePatch(const std::string& target, const std::string& bytes) {
        // In pieces, as a patch arrives over a real network.
        server.serve(target, ScriptedReply{.bytes = HttpTestServer::response(200, bytes),
                                           .pieceSize = 40000});
    }
    std::vector<std::string> requestLines() {
        std::vector<std::string> lines;
        for (const std::string& request : server.requests()) {
            lines.push_back(request.substr(0, request.find("\r\n")));
        }
        return lines;
    }

    HttpTestServer server;
    std::string patch = patchBytes();
    std::string detail;
};

TEST_F(PatchSignatureCheck, PassesForTheSignedPatchFetchedWholeAsTheDownloadFetchesIt) {
    servePatch("/patch/p.exe", patch);
    server.serve("/patch/p.exe.sig", {HttpTestServer::response(200, sign(patch))});
    EXPECT_TRUE(run().ok) << detail;
    EXPECT_EQ(detail, "the signature at http://" + server.hostAndPort() +
                          "/patch/p.exe.sig verifies the 150000-byte patch");
    // The whole file in one request, as a download's first connection asks for it.
    ASSERT_FALSE(server.requests().empty());
    EXPECT_EQ(server.requests()[0].find("Range:"), std::string::npos) << server.requests()[0];
}

TEST_F(PatchSignatureCheck, HashesExactlyTheBytesTheReplySaysAreThePatch) {
    // Bytes past the Content-Length are not the patch's, as the download sees it.
    server.serve("/patch/p.exe",
                 {HttpTestServer::response(200, patch, "Content-Length: 150000\r\n", false) +
                  "trailing junk"});
    server.serve("/patch/p.exe.sig", {HttpTestServer::response(200, sign(patch))});
    EXPECT_TRUE(run().ok) << detail;
}

TEST_F(PatchSignatureCheck, FollowsARedirectAndLooksForTheSignatureBesideTheAddressGiven) {
    server.serve("/patch/p.exe",
                 {HttpTestServer::response(302, "", "Location: /mirror/p.exe\r\n")});
    servePatch("/mirror/p.exe", patch);
    server.serve("/patch/p.exe.sig", {HttpTestServer::response(200, sign(patch))});
    EXPECT_TRUE(run().ok) << detail;
}

TEST_F(PatchSignatureCheck, FileNamesWithBlanksAndChineseAreFetchedAsTheLauncherFetchesThem) {
    std::string name = gbk("翔岳 补丁.exe");
    servePatch("/patch/" + gbk("翔岳%20补丁.exe"), patch);
    // The signature comes through the page fetch, which escapes the bytes past ASCII too; a
    // web server takes both names for the same folder's files.
    server.serve("/patch/%cf%e8%d4%c0%20%b2%b9%b6%a1.exe.sig",
                 {HttpTestServer::response(200, sign(patch))});
    EXPECT_TRUE(run(name).ok) << detail << testing::PrintToString(requestLines());
}

TEST_F(PatchSignatureCheck, EachWrongSignatureFailsWithWhatIsWrong) {
    servePatch("/patch/p.exe", patch);
    std::string good = sign(patch);
    struct Case {
        std::string reply;
        std::string says;
    };
    for (const Case& wrong : {
             Case{HttpTestServer::response(404, "not found"), "no signature: HTTP 404 for http://"},
             Case{HttpTestServer::response(200, good + '\0'), "malformed signature: the "},
             Case{HttpTestServer::response(200, "<html>moved</html>"), "malformed signature"},
             Case{HttpTestServer::response(200, sign(patch + "x")), "signature mismatch: http://"},
         }) {
        server.serve("/patch/p.exe.sig", {wrong.reply});
        EXPECT_FALSE(run().ok) << wrong.says;
        EXPECT_EQ(detail.find(wrong.says), 0u) << detail;
        EXPECT_NE(detail.find("/patch/p.exe.sig"), std::string::npos) << detail;
        EXPECT_NE(detail.find("refuse the patch"), std::string::npos) << detail;
    }
}

TEST_F(PatchSignatureCheck, APatchThatCannotBeReadWholeFailsBeforeAnySignatureIsFetched) {
    struct Case {
        ScriptedReply reply;
        std::string says;
    };
    ScriptedReply cut{HttpTestServer::response(200, patch)};
    cut.breakAfter = 100000;
    for (const Case& unreadable : {
             Case{cut, "patch unreadable: the connection to http://"},
             Case{{HttpTestServer::response(404, "not found")}, "patch unreadable: HTTP 404 for"},
             Case{{HttpTestServer::response(200, patch, "", false)}, "without a Content-Length"},
         }) {
        HttpTestServer fresh;
        fresh.serve("/patch/p.exe", unreadable.reply);
        fresh.serve("/patch/p.exe.sig", {HttpTestServer::response(200, sign(patch))});
        check::CheckResult result = check::checkPatchSignature(
            pageWith(fresh.hostAndPort() + "/patch", "p.exe"), app::builtInPatchKey());
        detail = platform::gbkToUtf8(result.detail);
        EXPECT_FALSE(result.ok) << unreadable.says;
        EXPECT_NE(detail.find(unreadable.says), std::string::npos) << detail;
        for (const std::string& request : fresh.requests()) {
            EXPECT_EQ(request.find(".sig "), std::string::npos) << request;
        }
    }
}

TEST(PatchSignatureCheckNeeds, APatchAddressFromThePage) {
    check::PageFindings noPage;
    noPage.noValuesBecause = "no page (see page)";
    EXPECT_EQ(check::checkPatchSignature(noPage, app::builtInPatchKey()).detail,
              "not checked: no page (see page)");

    check::PageFindings noSite = pageWith("", "p.exe");
    noSite.problems.patchSite = gbk("更新补丁网站 empty");
    EXPECT_EQ(
        platform::gbkToUtf8(check::checkPatchSignature(noSite, app::builtInPatchKey()).detail),
        "not checked: 更新补丁网站 empty (see values)");

    check::CheckResult badPort = check::checkPatchSignature(
        pageWith("127.0.0.1:port/patch", "p.exe"), app::builtInPatchKey());
    EXPECT_FALSE(badPort.ok);
    EXPECT_EQ(badPort.detail,
              "not checked: the patch address http://127.0.0.1:port/patch/p.exe is "
              "not one the download can fetch (see patchSite)");
}

}  // namespace
