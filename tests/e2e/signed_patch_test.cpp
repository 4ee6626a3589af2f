// A launcher built with the demo operator's key starts a patch only when the signature
// beside it verifies; the rest never reaches the program start (no "start" event).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/encoding.h"
#include "support/fake_account_server.h"
#include "support/faulty_file_server.h"
#include "support/headless_launcher.h"
#include "support/openssl_tool.h"
#include "support/test_files.h"

namespace {

using testing_support::HeadlessLauncher;
using testing_support::Json;
using testing_support::Route;
using namespace std::chrono_literals;

// A patch that is a shell script leaving a mark, padded to a few hundred kilobytes.
std::string scriptPatch() {
    std::string body = "#!/bin/sh\necho applied > patch-applied.txt\nexit 0\n#";
    return body + std::string(300000 - body.size(), 'x');
}

std::string sign(const std::string& bytes) {
    return testing_support::opensslSign(DEMO_PATCH_KEY, bytes);
}

// The launcher with the demo key, its configuration (from the cache, the operator being
// unreachable) naming a zone 1 that finds the version out of date and the test's file
// server as the patch site.
class SignedPatch : public ::testing::Test {
  protected:
    void startLauncher(const std::string& patchName = "p.exe") {
        zone.answer(gbk("验证版本|1.0.1"), {std::string("\6\0\0\0", 4)});
        std::string page = "[灯笼鱼说话]\r\n版本号码=1.0.1\r\n更新补丁网站=127.0.0.1:" +
                           std::to_string(files.port()) + "/patch\r\n更新补丁名字=" + patchName +
                           "\r\n[IP]\r\n一区服务器IP=127.0.0.1\r\n[端口]\r\n一区端口=" +
                           std::to_string(zone.port()) + "\r\n[选择项]\r\n一区=一区\r\n";
        std::ofstream(launcher.directory() / "version.dat", std::ios::binary) << gbk(page);
        launcher.start({"--operator", "127.0.0.1:1"});
        ASSERT_TRUE(launcher.waitFor([](const Json& e) { return e["ev"] == "ready"; }))
            << launcher.transcript();
        launcher.send("answer 5");
        launcher.send("click main 图形按钮7");
        ASSERT_TRUE(launcher.waitFor([](const Json& e) {
            return e["ev"] == "open" && e["window"] == "update";
        })) << launcher.transcript();
    }
    std::optional<Json> boxAfterUpdate() {
        return launcher.waitFor(
            [](const Json& e) {
                return e["ev"] == "messageBox" &&
                       e["text"] != "你现在的版本不是最新的，是否要重新下载？";
            },
            30s);
    }
    std::vector<std::string> signatureRequests() {
        std::vector<std::string> lines;
        for (const auto& request : files.requests()) {
            if (request.find(".sig HTTP/") != std::string::npos) {
                lines.push_back(request.substr(0, request.find("\r\n")));
            }
        }
        return lines;
    }

    testing_support::FakeAccountServer zone;
    testing_support::FaultyFileServer files;
    HeadlessLauncher launcher{HeadlessLauncher::Build::DemoKey};
};

TEST_F(SignedPatch, AVerifiedPatchIsStartedAsWithoutAKey) {
    std::string body = scriptPatch();
    files.route("/patch/p.exe", Route{.body = body, .pieceSize = 20000, .pause = 100ms});
    files.route("/patch/p.exe.sig", Route{.body = sign(body)});
    startLauncher();
    auto box = boxAfterUpdate();
    ASSERT_TRUE(box) << launcher.transcript();
    EXPECT_EQ((*box)["text"], "下载完成");
    EXPECT_EQ((*box)["flags"], 64);
    EXPECT_EQ(launcher.waitExit(), 0);
    auto starts = launcher.eventsNamed("start");
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0]["cmdline"], "p.exe");
    EXPECT_EQ(testing_support::readFile((launcher.directory() / "p.exe").string()), body);
    // Fetched once, as a page is fetched, and only after the patch had come.
    EXPECT_EQ(signatureRequests(), std::vector<std::string>{"GET /patch/p.exe.sig HTTP/1.0"});
    EXPECT_NE(files.requests().back().find(".sig HTTP/"), std::string::npos);
    auto applied = launcher.directory() / "patch-applied.txt";
    for (int i = 0; i < 100 && !std::filesystem::exists(applied); ++i) {
        std::this_thread::sleep_for(20ms);
    }
    EXPECT_TRUE(std::filesystem::exists(applied)) << "the patch ran";
}

TEST_F(SignedPatch, APatchWithAChineseNameAndABlankFindsItsSignature) {
    std::string body = scriptPatch();
    std::string name = gbk("补丁 1.exe");
    files.route("/patch/" + name, Route{.body = body});
    files.route("/patch/" + name + ".sig", Route{.body = sign(body)});
    startLauncher("补丁 1.exe");
    auto box = boxAfterUpdate();
    ASSERT_TRUE(box) << launcher.transcript();
    EXPECT_EQ((*box)["text"], "下载完成");
    EXPECT_EQ(launcher.waitExit(), 0);
    auto starts = launcher.eventsNamed("start");
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0]["cmdline"], "补丁 1.exe");
}

// What the patch site serves beside (or instead of) the patch the operator signed.
struct Refusal {
    const char* name;
    std::function<void(testing_support::FaultyFileServer&, const std::string& body)> serve;
};

class RefusedPatch : public SignedPatch, public ::testing::WithParamInterface<Refusal> {};

TEST_P(RefusedPatch, EndsWithTheBoxNothingStartedAndNoFileLeft) {
    std::string body = scriptPatch();
    GetParam().serve(files, body);
    startLauncher();
    auto box = boxAfterUpdate();
    ASSERT_TRUE(box) << launcher.transcript();
    EXPECT_EQ((*box)["text"], "补丁校验失败，请稍后重试");
    EXPECT_EQ((*box)["title"], "错误");
    EXPECT_EQ((*box)["flags"], 0);
    EXPECT_EQ(launcher.waitExit(), 0);
    EXPECT_TRUE(launcher.eventsNamed("start").empty());
    EXPECT_FALSE(std::filesystem::exists(launcher.directory() / "p.exe"));
    EXPECT_FALSE(std::filesystem::exists(launcher.directory() / "patch-applied.txt"));
    std::vector<std::string> closes;
    for (const auto& e : launcher.events()) {
        if (e["ev"] == "closed") {
            closes.push_back(e["window"]);
        }
    }
    EXPECT_EQ(closes, (std::vector<std::string>{"update", "main"}));
    EXPECT_EQ(signatureRequests().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    SignedPatch, RefusedPatch,
    ::testing::Values(Refusal{"TamperedPatch",
                              [](auto& files, const std::string& body) {
                                  std::string tampered = body;
                                  tampered[12] = 'X';  // "echo applied" -> "echo Xpplied"
                                  files.route("/patch/p.exe", Route{.body = tampered});
                                  files.route("/patch/p.exe.sig", Route{.body = sign(body)});
                              }},
                      Refusal{"MissingSignature",
                              [](auto& files, const std::string& body) {
                                  files.route("/patch/p.exe", Route{.body = body});
                              }},
                      Refusal{"SignatureOfAnotherFile",
                              [](auto& files, const std::string& body) {
                                  files.route("/patch/p.exe", Route{.body = body});
                                  files.route("/patch/p.exe.sig", Route{.body = sign(body + "\n")});
                              }},
                      Refusal{"ServerErrorCarryingTheGoodSignature",
                              [](auto& files, const std::string& body) {
                                  files.route("/patch/p.exe", Route{.body = body});
                                  files.route("/patch/p.exe.sig",
                                              Route{.status = 500, .errorBody = sign(body)});
                              }},
                      Refusal{"SignatureWithTrailingBytes",
                              [](auto& files, const std::string& body) {
                                  files.route("/patch/p.exe", Route{.body = body});
                                  files.route("/patch/p.exe.sig",
                                              Route{.body = sign(body) + "\r\n"});
                              }}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
