#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <future>
#include <vector>

#include "loopback_client.h"
#include "operator_server.h"
#include "platform/encoding.h"
#include "support/openssl_tool.h"
#include "support/test_files.h"

using namespace operator_server;

namespace {

Options freePorts() {
    Options o;
    o.port = 0;
    o.zonePortBase = 0;
    o.patchSize = 100000;
    return o;
}

std::string get(uint16_t port, const std::string& request) {
    LoopbackClient client(port);
    EXPECT_TRUE(client.connected());
    client.send(request);
    return client.receiveAll();
}

std::string bodyOf(const std::string& reply) {
    size_t end = reply.find("\r\n\r\n");
    return end == std::string::npos ? std::string() : reply.substr(end + 4);
}

class OperatorWeb : public ::testing::Test {
  protected:
    OperatorServer server{freePorts(), [](const std::string&) {}};
};

}  // namespace

TEST_F(OperatorWeb, ConfigurationPageIsGbkAndNamesItsOwnServers) {
    std::string reply = get(server.httpPort(), "GET /gg.html HTTP/1.0\r\nAccept: */*\r\n\r\n");
    ASSERT_EQ(reply.rfind("HTTP/1.1 200 OK\r\n", 0), 0u) << reply.substr(0, 80);
    std::string page = bodyOf(reply);
    EXPECT_EQ(page, server.site().configPage);
    EXPECT_NE(page.find(gbk("[选择项]")), std::string::npos);
    EXPECT_NE(page.find("[" + gbk("灯笼鱼说话") + "]\r\n"), std::string::npos);
    EXPECT_NE(page.find(gbk("游戏名字=翔岳传说") + "\r\n"), std::string::npos);
    EXPECT_NE(page.find(gbk("版本号码=1.0.2") + "\r\n"), std::string::npos);
    EXPECT_NE(page.find(gbk("更新补丁网站=127.0.0.1:") + std::to_string(server.httpPort()) +
                        "/patch\r\n"),
              std::string::npos);
    EXPECT_NE(page.find(gbk("更新补丁名字=xypatch.exe")), std::string::npos);
    for (int n = 1; n <= 8; ++n) {
        EXPECT_NE(page.find(gbk("公告") + std::to_string(n) + "="), std::string::npos) << n;
    }
    const char* numerals[] = {"一", "二", "三", "四", "五"};
    for (int k = 0; k < 5; ++k) {
        std::string zone = numerals[k];
        EXPECT_NE(page.find(gbk(zone + "区服务器IP=127.0.0.1\r\n")), std::string::npos);
        EXPECT_NE(
            page.find(gbk(zone + "区端口=") + std::to_string(server.zonePort(k + 1)) + "\r\n"),
            std::string::npos);
        EXPECT_NE(page.find(gbk(zone + "区=")), std::string::npos);
    }
    EXPECT_EQ(page.find('\n'), page.find("\r\n") + 1) << "line ends are CR LF";
}

TEST_F(OperatorWeb, ServerPageHoldsHeaderAndUnknownPathsAre404) {
    std::string page = bodyOf(get(server.httpPort(), "GET /server.html HTTP/1.0\r\n\r\n"));
    EXPECT_EQ(page.rfind("[Header]\r\n", 0), 0u);

    std::string missing = get(server.httpPort(), "GET /nothing.html HTTP/1.0\r\n\r\n");
    EXPECT_EQ(missing.rfind("HTTP/1.1 404 ", 0), 0u);
    EXPECT_FALSE(bodyOf(missing).empty()) << "a 404 carries a body";
}

TEST_F(OperatorWeb, PatchHonoursRangeRequests) {
    const std::string& patch = server.site().patch;
    ASSERT_EQ(patch.size(), 100000u);
    EXPECT_EQ(patch.rfind("#!/bin/sh\n", 0), 0u);

    // The request shape of the launcher's download connections.
    std::string ranged = get(server.httpPort(),
                             "GET /patch/xypatch.exe HTTP/1.1\r\nHost: 127.0.0.1\r\nAccept: */*\r\n"
                             "Range: bytes=60000-\r\nPragma: no-cache\r\n"
                             "Cache-Control: no-cache\r\nConnection: close\r\n\r\n");
    EXPECT_EQ(ranged.rfind("HTTP/1.1 206 Partial Content\r\n", 0), 0u);
    EXPECT_NE(ranged.find("\r\nContent-Length: 40000\r\n"), std::string::npos);
    EXPECT_NE(ranged.find("\r\nContent-Range: bytes 60000-99999/100000\r\n"), std::string::npos);
    EXPECT_EQ(bodyOf(ranged), patch.substr(60000));

    std::string closed = get(server.httpPort(),
                             "GET /patch/xypatch.exe HTTP/1.1\r\nRange: bytes=10-19\r\n"
                             "Connection: close\r\n\r\n");
    EXPECT_EQ(bodyOf(closed), patch.substr(10, 10));

    std::string whole =
        get(server.httpPort(), "GET /patch/xypatch.exe HTTP/1.1\r\nConnection: close\r\n\r\n");
    EXPECT_EQ(whole.rfind("HTTP/1.1 200 OK\r\n", 0), 0u);
    EXPECT_NE(whole.find("\r\nContent-Length: 100000\r\n"), std::string::npos);
    EXPECT_EQ(bodyOf(whole), patch);

    std::string beyond = get(server.httpPort(),
                             "GET /patch/xypatch.exe HTTP/1.1\r\nRange: bytes=100000-\r\n"
                             "Connection: close\r\n\r\n");
    EXPECT_EQ(beyond.rfind("HTTP/1.1 416 ", 0), 0u);
    EXPECT_NE(beyond.find("Content-Range: bytes */100000\r\n"), std::string::npos);
}

TEST_F(OperatorWeb, KeepsHttp11ConnectionsOpenAndClosesHttp10Ones) {
    LoopbackClient client(server.httpPort());
    client.send("GET /server.html HTTP/1.1\r\nHost: x\r\n\r\n");
    std::string first = client.receive();
    EXPECT_NE(first.find("Connection: keep-alive\r\n"), std::string::npos);
    EXPECT_FALSE(client.closedByPeer());
    client.send("HEAD /gg.html HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n");
    std::string second = client.receiveAll();
    EXPECT_NE(second.find("Connection: close\r\n"), std::string::npos);
    EXPECT_EQ(bodyOf(second), "") << "HEAD sends no body";
    EXPECT_TRUE(client.closedByPeer());

    LoopbackClient old(server.httpPort());
    old.send("GET /server.html HTTP/1.0\r\n\r\n");
    std::string reply = old.receiveAll();
    EXPECT_NE(reply.find("Connection: close\r\n"), std::string::npos);
    EXPECT_TRUE(old.closedByPeer());

    LoopbackClient garbage(server.httpPort());
    garbage.send("HELLO\r\n\r\n");
    EXPECT_EQ(garbage.receiveAll().rfind("HTTP/1.1 400 ", 0), 0u);
}

TEST(OperatorWebLimits, ServesFiveSlowDownloadsAtOnce) {
    Options o = freePorts();
    o.patchRate = 100000;  // each download of 100000 bytes takes about a second
    OperatorServer server(o, [](const std::string&) {});
    auto start = std::chrono::steady_clock::now();
    std::vector<std::future<std::string>> downloads;
    for (int i = 0; i < 5; ++i) {
        downloads.push_back(std::async(std::launch::async, [&] {
            return bodyOf(get(server.httpPort(), "GET /patch/xypatch.exe HTTP/1.0\r\n\r\n"));
        }));
    }
    for (auto& d : downloads) {
        EXPECT_EQ(d.get(), server.site().patch);
    }
    auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_GE(elapsed, std::chrono::milliseconds(900)) << "the rate limit applies";
    EXPECT_LT(elapsed, std::chrono::milliseconds(3000)) << "the downloads ran side by side";
}

TEST(OperatorWebFiles, ServesPagesFromFiles) {
    std::string dir = ::testing::TempDir();
    std::string pageFile = dir + "/operator_page.txt";
    std::string serverFile = dir + "/operator_server_page.txt";
    std::ofstream(pageFile, std::ios::binary) << "[选择项]\n一区=测试\n";
    std::ofstream(serverFile, std::ios::binary) << std::string("[Header]\0tail", 13);

    Options o = freePorts();
    o.pageFile = pageFile;
    o.serverPageFile = serverFile;
    o.utf8Pages = true;
    OperatorServer converted(o, [](const std::string&) {});
    EXPECT_EQ(converted.site().configPage, gbk("[选择项]\n一区=测试\n"));
    EXPECT_EQ(bodyOf(get(converted.httpPort(), "GET /server.html HTTP/1.0\r\n\r\n")),
              std::string("[Header]\0tail", 13));

    o.utf8Pages = false;
    OperatorServer verbatim(o, [](const std::string&) {});
    EXPECT_EQ(bodyOf(get(verbatim.httpPort(), "GET /gg.html HTTP/1.0\r\n\r\n")),
              "[选择项]\n一区=测试\n");

    o.pageFile = dir + "/no-such-page.html";
    EXPECT_THROW(OperatorServer(o, [](const std::string&) {}), std::runtime_error);
}

TEST(OperatorWebSigned, ServesTheSignatureOpensslMakesAndOnRequestAWrongOne) {
    std::string publicKey =
        testing_support::readFile(std::string(DEMO_PATCH_KEY_DIR) + "/demo-patch-key.pub.pem");
    for (bool bad : {false, true}) {
        SCOPED_TRACE(bad ? "--bad-signature" : "--sign-with");
        Options options = freePorts();
        options.signWith = std::string(DEMO_PATCH_KEY_DIR) + "/demo-patch-key.pem";
        options.badSignature = bad;
        OperatorServer server(options, [](const std::string&) {});
        std::string reply = get(server.httpPort(), "GET /patch/xypatch.exe.sig HTTP/1.0\r\n\r\n");
        ASSERT_EQ(reply.rfind("HTTP/1.1 200 OK\r\n", 0), 0u) << reply.substr(0, 80);
        std::string signature = bodyOf(reply);
        EXPECT_EQ(testing_support::opensslVerifies(publicKey, server.site().patch, signature),
                  !bad);
    }
}

TEST_F(OperatorWeb, WithoutAKeyNoSignatureIsServed) {
    std::string reply = get(server.httpPort(), "GET /patch/xypatch.exe.sig HTTP/1.0\r\n\r\n");
    EXPECT_EQ(reply.rfind("HTTP/1.1 404 ", 0), 0u);
}

TEST(OperatorWebSigned, AKeyThatIsNoP256PrivateKeyStopsTheServer) {
    Options options = freePorts();
    options.signWith = std::string(DEMO_PATCH_KEY_DIR) + "/demo-patch-key.pub.pem";
    EXPECT_THROW(OperatorServer(options, [](const std::string&) {}), std::runtime_error);
    options.signWith = std::string(DEMO_PATCH_KEY_DIR) + "/no-such-key.pem";
    EXPECT_THROW(OperatorServer(options, [](const std::string&) {}), std::runtime_error);
}
