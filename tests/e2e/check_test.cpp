// `launcher --check` through the real program, against the demo operator server made to
// commit one mistake at a time, and against servers that never answer.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <set>
#include <sstream>

#include "demo_content.h"
#include "operator_server.h"
#include "platform/encoding.h"
#include "support/headless_launcher.h"
#include "support/http_test_server.h"
#include "support/loopback_listener.h"

namespace {

using testing_support::HeadlessLauncher;
using testing_support::HttpTestServer;
using testing_support::Json;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

const std::vector<std::string> checkOrder = {"page",  "marker",  "encoding",   "values",
                                             "zone1", "zone2",   "zone3",      "zone4",
                                             "zone5", "version", "serverList", "patchSite"};

// One run of `launcher --check` in a fresh game directory.
struct CheckRun {
    int exitCode = -1;
    std::chrono::milliseconds took{0};
    std::vector<Json> lines;        // every line written, parsed (or "unparsed")
    std::string transcript;         // the same, as written
    std::set<std::string> failing;  // names of the checks that failed
    std::map<std::string, std::string> details;
    std::vector<std::string> filesLeft;  // in the game directory, besides the program
};

CheckRun runCheck(const std::vector<std::string>& arguments, const std::string& folder = "",
                  std::chrono::milliseconds limit = 90s,
                  HeadlessLauncher::Build build = HeadlessLauncher::Build::Plain) {
    HeadlessLauncher launcher(build, folder);
    CheckRun run;
    auto started = Clock::now();
    launcher.run(arguments);
    run.exitCode = launcher.waitExit(limit);
    run.took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - started);
    // The output may still be on its way through the pipe when the exit is seen.
    launcher.waitFor([](const Json&) { return false; }, 200ms);
    run.lines = launcher.events();
    run.transcript = launcher.transcript();
    for (const Json& line : run.lines) {
        if (line.contains("check")) {
            run.details[line["check"]] = line.value("detail", "");
            if (line["ok"] != true) {
                run.failing.insert(line["check"]);
            }
        }
    }
    for (const auto& entry : std::filesystem::directory_iterator(launcher.directory())) {
        std::string name = entry.path().filename().string();
        if (name != "launcher" && name != "launcher.exe" && name != "launcher-demo-key" &&
            name != "launcher-demo-key.exe") {
            run.filesLeft.push_back(name);
        }
    }
    return run;
}

std::string host(uint16_t port) {
    return "127.0.0.1:" + std::to_string(port);
}

operator_server::Options demoOptions() {
    operator_server::Options options;
    options.port = 0;
    options.zonePortBase = 0;
    options.quiet = true;
    return options;
}

// Each line is exactly {"check","ok","detail"}, the checks in their fixed order.
void expectJsonReport(const CheckRun& run, const std::vector<std::string>& order = checkOrder) {
    ASSERT_EQ(run.lines.size(), order.size()) << run.transcript;
    for (std::size_t i = 0; i < order.size(); ++i) {
        const Json& line = run.lines[i];
        EXPECT_EQ(line.size(), 3u) << line.dump();
        EXPECT_EQ(line.value("check", ""), order[i]) << run.transcript;
        EXPECT_TRUE(line["ok"].is_boolean()) << line.dump();
        EXPECT_TRUE(line["detail"].is_string()) << line.dump();
    }
}

TEST(Check, HealthyDemoPassesEveryCheckInOrderAndLeavesTheGameDirectoryAlone) {
    operator_server::Options options = demoOptions();
    options.patchSize = 3 * 1024 * 1024 + 7;
    operator_server::OperatorServer server(options, [](const std::string&) {});

    CheckRun json =
        runCheck({"--check", "--json", "--operator", host(server.httpPort())}, "翔岳传说");
    EXPECT_EQ(json.exitCode, 0) << json.transcript;
    EXPECT_LT(json.took, 30s);
    expectJsonReport(json);
    EXPECT_TRUE(json.failing.empty()) << json.transcript;
    EXPECT_TRUE(json.filesLeft.empty()) << json.filesLeft.front();
    EXPECT_NE(json.details["page"].find("HTTP 200, " +
                                        std::to_string(server.site().configPage.size()) + " bytes"),
              std::string::npos)
        << json.details["page"];
    EXPECT_NE(json.details["zone3"].find(host(server.zonePort(3))), std::string::npos);
    EXPECT_EQ(json.details["version"].rfind("current", 0), 0u) << json.details["version"];
    EXPECT_EQ(json.details["patchSite"].rfind(std::to_string(options.patchSize) + " bytes", 0), 0u)
        << json.details["patchSite"];

    // The same report for a person: aligned columns and one summary line.
    CheckRun text = runCheck({"--check", "--operator", host(server.httpPort())});
    EXPECT_EQ(text.exitCode, 0) << text.transcript;
    std::istringstream lines(text.transcript);
    std::string line;
    for (const std::string& name : checkOrder) {
        ASSERT_TRUE(std::getline(lines, line));
        std::string paddedName = name + std::string(10 - name.size(), ' ');
        EXPECT_EQ(line.substr(0, 18), "ok    " + paddedName + "  ") << line;
        EXPECT_NE(line[18], ' ') << line;
    }
    ASSERT_TRUE(std::getline(lines, line));
    EXPECT_EQ(line, "all 12 checks passed");
    EXPECT_FALSE(std::getline(lines, line)) << text.transcript;
    EXPECT_TRUE(text.filesLeft.empty());
}

TEST(Check, OutdatedVersionStillPasses) {
    operator_server::Options options = demoOptions();
    options.pageVersion = "1.0.1";
    operator_server::OperatorServer server(options, [](const std::string&) {});
    CheckRun run = runCheck({"--check", "--json", "--operator", host(server.httpPort())});
    EXPECT_EQ(run.exitCode, 0) << run.transcript;
    EXPECT_EQ(run.details["version"].rfind("outdated", 0), 0u) << run.details["version"];
}

struct Mistake {
    std::string name;
    std::function<void(operator_server::Mistakes&)> make;
    std::set<std::string> failing;
    std::string check;  // whose detail must say
    std::string says;
};

const std::set<std::string> unreadablePage = {"values", "zone1", "zone2",   "zone3",
                                              "zone4",  "zone5", "version", "patchSite"};

std::set<std::string> with(std::set<std::string> names, std::set<std::string> more) {
    names.insert(more.begin(), more.end());
    return names;
}

void PrintTo(const Mistake& mistake, std::ostream* out) {
    *out << mistake.name;
}

class CheckFindsMistake : public ::testing::TestWithParam<Mistake> {};

TEST_P(CheckFindsMistake, FailsExactlyItsChecksAndTheOnesThatNeedThem) {
    const Mistake& mistake = GetParam();
    operator_server::Options options = demoOptions();
    mistake.make(options.mistakes);
    operator_server::OperatorServer server(options, [](const std::string&) {});

    CheckRun run = runCheck({"--operator", host(server.httpPort()), "--json", "--check"});
    EXPECT_EQ(run.exitCode, 1) << run.transcript;
    expectJsonReport(run);
    EXPECT_EQ(run.failing, mistake.failing) << run.transcript;
    EXPECT_NE(run.details[mistake.check].find(mistake.says), std::string::npos) << run.transcript;
    // The demo answers at once or not at all: nothing waits for the whole check's deadline.
    EXPECT_LT(run.took, 30s) << run.transcript;
    EXPECT_TRUE(run.filesLeft.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Demo, CheckFindsMistake,
    ::testing::Values(
        Mistake{"Utf8Page", [](auto& m) { m.utf8Page = true; },
                with(unreadablePage, {"marker", "encoding"}), "encoding", "saved as UTF-8"},
        Mistake{"NoMarker", [](auto& m) { m.noMarker = true; }, with(unreadablePage, {"marker"}),
                "zone2", "not checked"},
        Mistake{"MissingPort",
                [](auto& m) { m.missingKeys.insert("四区端口"); },
                {"values", "zone4"},
                "values",
                "missing: 四区端口"},
        Mistake{"BadPort",
                [](auto& m) { m.badPorts.insert(2); },
                {"values", "zone2"},
                "values",
                "二区端口"},
        Mistake{"MissingAddress",
                [](auto& m) { m.missingKeys.insert("五区服务器IP"); },
                {"values", "zone5"},
                "zone5",
                "五区服务器IP"},
        Mistake{
            "ZoneDown", [](auto& m) { m.zonesDown.insert(3); }, {"zone3"}, "zone3", "127.0.0.1:"},
        Mistake{"ZoneOneDown",
                [](auto& m) { m.zonesDown.insert(1); },
                {"zone1", "version"},
                "version",
                "zone1"},
        Mistake{"ZoneOneSilent",
                [](auto& m) { m.zonesSilent.insert(1); },
                {"version"},
                "version",
                "no reply"},
        Mistake{"NoListHeader",
                [](auto& m) { m.noListHeader = true; },
                {"serverList"},
                "serverList",
                "no [Header]"},
        Mistake{"NoRanges",
                [](auto& m) { m.noRanges = true; },
                {"patchSite"},
                "patchSite",
                "no ranges"},
        Mistake{"NoPatchSize",
                [](auto& m) { m.noPatchSize = true; },
                {"patchSite"},
                "patchSite",
                "no size"},
        Mistake{"PatchMissing",
                [](auto& m) { m.patchStatus = 404; },
                {"patchSite"},
                "patchSite",
                "HTTP 404"},
        Mistake{"RedirectLoop",
                [](auto& m) { m.redirectLoop = true; },
                {"patchSite"},
                "patchSite",
                "redirect loop"},
        Mistake{"PatchLossAndZoneDown",
                [](auto& m) {
                    m.patchStatus = 403;
                    m.zonesDown.insert(5);
                },
                {"patchSite", "zone5"},
                "patchSite",
                "HTTP 403"}),
    [](const ::testing::TestParamInfo<Mistake>& info) { return info.param.name; });

// A launcher built with a patch key checks the signature beside the patch as well, last.
const std::vector<std::string> checkOrderWithKey = [] {
    std::vector<std::string> order = checkOrder;
    order.push_back("patchSignature");
    return order;
}();

CheckRun runDemoKeyCheck(const std::vector<std::string>& arguments,
                         const std::string& folder = "") {
    return runCheck(arguments, folder, 90s, HeadlessLauncher::Build::DemoKey);
}

TEST(CheckWithPatchKey, ASignedPatchPassesAndOnlyABuildWithAKeyReportsTheSignature) {
    operator_server::Options options = demoOptions();
    options.patchSize = 3 * 1024 * 1024 + 7;
    options.signWith = DEMO_PATCH_KEY;
    operator_server::OperatorServer server(options, [](const std::string&) {});
    std::string at = "http://" + host(server.httpPort()) + "/patch/xypatch.exe";

    CheckRun json =
        runDemoKeyCheck({"--check", "--json", "--operator", host(server.httpPort())}, "翔岳传说");
    EXPECT_EQ(json.exitCode, 0) << json.transcript;
    EXPECT_LT(json.took, 30s);
    expectJsonReport(json, checkOrderWithKey);
    EXPECT_TRUE(json.failing.empty()) << json.transcript;
    EXPECT_TRUE(json.filesLeft.empty()) << json.filesLeft.front();
    EXPECT_EQ(json.details["patchSignature"], "the signature at " + at + ".sig verifies the " +
                                                  std::to_string(options.patchSize) +
                                                  "-byte patch");

    CheckRun text = runDemoKeyCheck({"--check", "--operator", host(server.httpPort())});
    EXPECT_EQ(text.exitCode, 0) << text.transcript;
    EXPECT_NE(text.transcript.find("\nok    patchSignature  the signature at " + at + ".sig"),
              std::string::npos)
        << text.transcript;
    EXPECT_NE(text.transcript.find("\nall 13 checks passed\n"), std::string::npos)
        << text.transcript;

    // The same signed site, checked by the launcher players get by default.
    CheckRun plain = runCheck({"--check", "--json", "--operator", host(server.httpPort())});
    EXPECT_EQ(plain.exitCode, 0) << plain.transcript;
    expectJsonReport(plain);
    EXPECT_EQ(plain.transcript.find("patchSignature"), std::string::npos) << plain.transcript;
}

struct SignatureCase {
    std::string name;
    std::function<void(operator_server::Options&)> make;
    std::set<std::string> failing;
    std::string says;  // in patchSignature's detail
};

void PrintTo(const SignatureCase& setup, std::ostream* out) {
    *out << setup.name;
}

class CheckWithPatchKeyFinds : public ::testing::TestWithParam<SignatureCase> {};

TEST_P(CheckWithPatchKeyFinds, WhatIsWrongWithThePatchOrItsSignature) {
    const SignatureCase& setup = GetParam();
    operator_server::Options options = demoOptions();
    setup.make(options);
    operator_server::OperatorServer server(options, [](const std::string&) {});

    CheckRun run = runDemoKeyCheck({"--check", "--json", "--operator", host(server.httpPort())});
    EXPECT_EQ(run.exitCode, 1) << run.transcript;
    expectJsonReport(run, checkOrderWithKey);
    EXPECT_EQ(run.failing, setup.failing) << run.transcript;
    EXPECT_NE(run.details["patchSignature"].find(setup.says), std::string::npos)
        << run.details["patchSignature"];
    EXPECT_LT(run.took, 30s) << run.transcript;
    EXPECT_TRUE(run.filesLeft.empty());
}

void signed_(operator_server::Options& options) {
    options.signWith = DEMO_PATCH_KEY;
}

INSTANTIATE_TEST_SUITE_P(
    Demo, CheckWithPatchKeyFinds,
    ::testing::Values(SignatureCase{"WrongSignature",
                                    [](auto& o) {
                                        signed_(o);
                                        o.badSignature = true;
                                    },
                                    {"patchSignature"},
                                    "signature mismatch: http://"},
                      SignatureCase{"NoSignature",
                                    [](auto&) {},
                                    {"patchSignature"},
                                    "no signature: HTTP 404 for http://"},
                      // The signature is checked on the whole patch, which needs no ranges.
                      SignatureCase{"NoRanges",
                                    [](auto& o) {
                                        signed_(o);
                                        o.mistakes.noRanges = true;
                                    },
                                    {"patchSite"},
                                    "verifies"},
                      SignatureCase{"PatchMissing",
                                    [](auto& o) {
                                        signed_(o);
                                        o.mistakes.patchStatus = 404;
                                    },
                                    {"patchSite", "patchSignature"},
                                    "patch unreadable: HTTP 404"},
                      SignatureCase{"NoPatchName",
                                    [](auto& o) {
                                        signed_(o);
                                        o.mistakes.missingKeys.insert("更新补丁名字");
                                    },
                                    {"values", "patchSite", "patchSignature"},
                                    "not checked: "}),
    [](const ::testing::TestParamInfo<SignatureCase>& info) { return info.param.name; });

TEST(Check, UsageErrorsExitWithTwoAndReportNothing) {
    for (std::vector<std::string> arguments : {std::vector<std::string>{"--check", "--headless"},
                                               {"--json"},
                                               {"--check", "--verbose"},
                                               {"--check", "--operator"}}) {
        CheckRun run = runCheck(arguments, "", 30s);
        EXPECT_EQ(run.exitCode, 2) << arguments.back();
        EXPECT_TRUE(run.lines.empty()) << run.transcript;
        EXPECT_TRUE(run.filesLeft.empty());
    }
}

// A port where connections are taken by the system but never answered: a hung server.
class SilentPort {
  public:
    SilentPort() : socket_(testing_support::listenOnLoopback(64, port_, "silent port")) {}
    ~SilentPort() { ::close(socket_); }
    uint16_t port() const { return static_cast<uint16_t>(port_); }

  private:
    int port_ = 0;
    int socket_;
};

TEST(Check, EndsInTimeWhenTheOperatorHostNeverAnswers) {
    SilentPort operatorHost;
    CheckRun run = runCheck({"--check", "--json", "--operator", host(operatorHost.port())});
    EXPECT_EQ(run.exitCode, 1) << run.transcript;
    EXPECT_LT(run.took, 60s);
    expectJsonReport(run);
    EXPECT_EQ(run.failing.size(), checkOrder.size()) << run.transcript;
    EXPECT_NE(run.details["page"].find("no complete answer"), std::string::npos) << run.transcript;
    EXPECT_NE(run.details["encoding"].find("see page"), std::string::npos) << run.transcript;
}

// A 200 reply of 100 bytes, sent one byte a second, head included.
testing_support::ScriptedReply aByteASecond() {
    testing_support::ScriptedReply trickle{HttpTestServer::response(200, std::string(100, 'x'))};
    trickle.pieceSize = 1;
    trickle.pause = 1s;
    return trickle;
}

TEST(Check, APageThatTricklesFailsAtThePagesOwnLimit) {
    // One byte a second, head included: the page check gives up after its 10 s, long
    // before the whole report's 45 s. (Where the abandoned connection stays open until the
    // program ends, as under Wine, the server list waits its own 10 s behind it, since this
    // server answers one connection at a time.)
    HttpTestServer web;
    web.serve("/gg.html", aByteASecond());

    CheckRun run = runCheck({"--check", "--json", "--operator", web.hostAndPort()});
    EXPECT_EQ(run.exitCode, 1) << run.transcript;
    EXPECT_LT(run.took, 35s) << run.transcript;
    expectJsonReport(run);
    EXPECT_NE(run.details["page"].find("within 10 s"), std::string::npos) << run.transcript;
}

TEST(Check, EndsInTimeWhenZonesAndPatchSiteHangAndTheListTrickles) {
    SilentPort hung;
    operator_server::DemoSettings settings;
    settings.pageVersion = settings.currentVersion = "1.0.2";
    settings.httpPort = hung.port();
    settings.zonePorts = {hung.port(), hung.port(), hung.port(), hung.port(), hung.port()};
    settings.patchDirectory = "/patch";
    settings.patchFileName = "xypatch.exe";
    HttpTestServer web;
    web.serve("/gg.html",
              {HttpTestServer::response(200, operator_server::demoConfigPage(settings))});
    // A list that never arrives whole in time.
    web.serve("/server.html", aByteASecond());

    CheckRun run = runCheck({"--check", "--json", "--operator", web.hostAndPort()});
    EXPECT_EQ(run.exitCode, 1) << run.transcript;
    EXPECT_LT(run.took, 60s);
    expectJsonReport(run);
    EXPECT_EQ(run.failing, (std::set<std::string>{"version", "serverList", "patchSite"}))
        << run.transcript;
    EXPECT_NE(run.details["version"].find("no reply"), std::string::npos) << run.transcript;
    EXPECT_NE(run.details["patchSite"].find("no answer"), std::string::npos) << run.transcript;
}

}  // namespace
