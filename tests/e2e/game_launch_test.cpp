#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "game/status_tips.h"
#include "support/headless_launcher.h"
#include "support/http_test_server.h"

namespace fs = std::filesystem;

namespace {

using testing_support::HeadlessLauncher;
using testing_support::HttpTestServer;
using testing_support::Json;
using testing_support::ScriptedReply;
using namespace std::chrono_literals;

std::optional<std::string> read(const fs::path& path) {
    if (!fs::exists(path)) {
        return std::nullopt;
    }
    std::ostringstream content;
    content << std::ifstream(path, std::ios::binary).rdbuf();
    return content.str();
}

// What one press of a start button left behind.
struct Outcome {
    std::optional<std::string> serverList;
    std::optional<std::string> statusTips;
    std::optional<std::string> clientRecord;  // the stand-in's command lines
    std::vector<std::string> started;         // command lines of "start" events
    std::vector<Json> boxes;
    bool closed = false;
    int exitCode = -1;
};

// A game directory with the launcher, the stand-in client as Quorvex.exe and an ini
// folder, served by a page server the test scripts.
class GameDirectory {
  public:
    GameDirectory() {
        fs::copy_file(QUORVEX_STANDIN, game() / "Quorvex.exe");
        fs::create_directory(game() / "ini");
    }

    const fs::path& game() const { return launcher.directory(); }

    Outcome press(const std::string& button) {
        launcher.start({"--operator", server.hostAndPort()});
        if (!launcher.waitFor([](const Json& e) { return e["ev"] == "ready"; })) {
            ADD_FAILURE() << "no ready:\n" << launcher.transcript();
            return {};
        }
        size_t from = launcher.eventCount();
        launcher.send("click main " + button);
        // The launcher closes by itself after a start, or answers with a box and stays.
        auto end = launcher.waitFor(
            [](const Json& e) { return e["ev"] == "closed" || e["ev"] == "messageBox"; }, 5s, from);
        Outcome out;
        out.closed = end && (*end)["ev"] == "closed";
        if (!out.closed) {
            launcher.dump("main", button);  // still answering, nothing queued behind
            out.closed = !launcher.eventsNamed("close").empty();
            launcher.send("quit");
        }
        out.exitCode = launcher.waitExit();
        for (const Json& e : launcher.eventsNamed("start")) {
            out.started.push_back(e["cmdline"]);
        }
        out.boxes = launcher.eventsNamed("messageBox");
        out.serverList = read(game() / "server.dat");
        out.statusTips = read(game() / "ini" / "StatusTips.ini");
        if (!out.started.empty()) {
            // The client runs on its own; give it a moment to leave its record.
            for (int i = 0; i < 250 && !fs::exists(game() / "quorvex-started.txt"); ++i) {
                std::this_thread::sleep_for(20ms);
            }
        }
        out.clientRecord = read(game() / "quorvex-started.txt");
        return out;
    }

    // The server page answers each request with the next of these bodies, the last again.
    void serveServerPage(const std::vector<std::string>& bodies) {
        std::vector<ScriptedReply> replies;
        for (const std::string& body : bodies) {
            replies.push_back({HttpTestServer::response(200, body)});
        }
        server.serve("/server.html", replies);
    }
    int serverPageRequests() const {
        int n = 0;
        for (const std::string& request : server.requests()) {
            n += request.rfind("GET /server.html ", 0) == 0;
        }
        return n;
    }

    HttpTestServer server;
    HeadlessLauncher launcher;
};

TEST(GameLaunch, EitherButtonRefreshesTheFilesStartsTheClientAndCloses) {
    // Two launchers side by side, one per button: everything they leave must be identical.
    const std::string list("[Header]\r\nserver=1\0tail\n", 24);
    std::vector<Outcome> outcomes;
    for (const char* button : {"图形按钮2", "图形按钮3"}) {
        GameDirectory dir;
        dir.serveServerPage({"[Header]\r\n", list});
        outcomes.push_back(dir.press(button));
        EXPECT_EQ(dir.serverPageRequests(), 2) << button;
    }
    for (const Outcome& out : outcomes) {
        EXPECT_TRUE(out.closed);
        EXPECT_EQ(out.exitCode, 0);
        EXPECT_EQ(out.started, std::vector<std::string>{"Quorvex.exe blacknull"});
        EXPECT_EQ(out.clientRecord, "Quorvex.exe blacknull\n");
        EXPECT_EQ(out.serverList, list);
        EXPECT_TRUE(out.statusTips == game::statusTipsBlock());
        EXPECT_TRUE(out.boxes.empty());
    }
    EXPECT_EQ(outcomes[0].serverList, outcomes[1].serverList);
    EXPECT_EQ(outcomes[0].statusTips, outcomes[1].statusTips);
    EXPECT_EQ(outcomes[0].clientRecord, outcomes[1].clientRecord);
}

TEST(GameLaunch, ServerListHoldsTheSecondReplyByteForByte) {
    GameDirectory dir;
    std::string list = "[Header]\r\nA=1\nB=2\rC=3\r\n";
    list += std::string("\0\0after zero\xB7\xFE\xCE\xF1\xC6\xF7", 19);
    std::ofstream(dir.game() / "server.dat")
        << "an older, much longer list of servers than this one";
    dir.serveServerPage({"x[Header]", list});
    Outcome out = dir.press("图形按钮2");
    EXPECT_EQ(out.serverList, list);
    EXPECT_EQ(out.started.size(), 1u);
}

TEST(GameLaunch, MarkerInAnotherCaseOrAfterAZeroByteIsNotFound) {
    for (std::string page :
         {std::string("[HEADER]\r\n[header]"), std::string("servers\0[Header]\r\n", 19)}) {
        GameDirectory dir;
        dir.serveServerPage({page, "must not be written"});
        Outcome out = dir.press("图形按钮3");
        EXPECT_EQ(dir.serverPageRequests(), 1);
        EXPECT_FALSE(out.serverList);
        // The launch goes on all the same.
        EXPECT_EQ(out.started, std::vector<std::string>{"Quorvex.exe blacknull"});
        EXPECT_TRUE(out.closed);
    }
}

TEST(GameLaunch, WithoutTheClientTheLauncherSaysSoAndStaysOpen) {
    GameDirectory dir;
    fs::remove(dir.game() / "Quorvex.exe");
    dir.serveServerPage({"[Header]", "[Header]\r\nlist"});
    Outcome out = dir.press("图形按钮2");
    ASSERT_EQ(out.boxes.size(), 1u) << dir.launcher.transcript();
    EXPECT_EQ(out.boxes[0]["text"], "请把登陆器放在翔岳目录下运行");
    EXPECT_EQ(out.boxes[0]["title"], "灯笼鱼说话提示");
    EXPECT_EQ(out.boxes[0]["flags"], 0);
    EXPECT_FALSE(out.closed) << dir.launcher.transcript();
    EXPECT_TRUE(out.started.empty());
    EXPECT_FALSE(out.clientRecord);
    EXPECT_FALSE(out.statusTips);
    EXPECT_EQ(out.serverList, "[Header]\r\nlist");  // refreshed before the client check
    EXPECT_EQ(out.exitCode, 0);
}

TEST(GameLaunch, AnErrorPageAsTheSecondReplyKeepsTheServerList) {
    GameDirectory dir;
    const std::string good = "[Header]\r\nserver=1\r\n";
    std::ofstream(dir.game() / "server.dat", std::ios::binary) << good;
    // The server answers the first read, then a proxy in front of it fails.
    dir.server.serve("/server.html",
                     {{HttpTestServer::response(200, "[Header]\r\nserver=2\r\n")},
                      {HttpTestServer::response(502, "<html><h1>502 Bad Gateway</h1></html>")}});
    Outcome out = dir.press("图形按钮2");
    EXPECT_EQ(dir.serverPageRequests(), 2);
    EXPECT_EQ(out.serverList, good);
    // The launch goes on as with any list.
    EXPECT_EQ(out.started, std::vector<std::string>{"Quorvex.exe blacknull"});
    EXPECT_TRUE(out.closed);
}

TEST(GameLaunch, LongerStatusTipsFileIsReplacedExactly) {
    GameDirectory dir;
    std::ofstream(dir.game() / "ini" / "StatusTips.ini") << std::string(50000, '#') << "\n";
    Outcome out = dir.press("图形按钮3");
    ASSERT_TRUE(out.statusTips);
    EXPECT_TRUE(*out.statusTips == game::statusTipsBlock()) << out.statusTips->size() << " bytes";
    EXPECT_EQ(out.statusTips->substr(out.statusTips->size() - 2), "\r\n");
    // No temporary file left beside it.
    for (const auto& entry : fs::directory_iterator(dir.game() / "ini")) {
        std::string name = entry.path().filename().string();
        EXPECT_TRUE(name.rfind("StatusTips", 0) != 0 || name == "StatusTips.ini") << name;
    }
}

TEST(GameLaunch, MissingIniFolderIsNotCreatedAndTheClientStillStarts) {
    GameDirectory dir;
    fs::remove(dir.game() / "ini");
    Outcome out = dir.press("图形按钮2");
    EXPECT_FALSE(fs::exists(dir.game() / "ini"));
    EXPECT_EQ(out.clientRecord, "Quorvex.exe blacknull\n");
    EXPECT_TRUE(out.closed);
    // A server page without the marker (here the server's 404 page) writes no list and
    // does not hold the launch up.
    EXPECT_FALSE(out.serverList);
}

}  // namespace
