#include "game/download/download.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <set>
#include <thread>

#include "game/download_recorder.h"
#include "platform/encoding.h"
#include "platform/fixed_size_file.h"
#include "support/faulty_file_server.h"
#include "support/sha256.h"
#include "support/temp_folder.h"
#include "support/test_files.h"

namespace {

using namespace std::chrono_literals;
using testing_support::DownloadRecorder;
using testing_support::Route;

// Short waits, so retries and the end of a task come quickly.
constexpr game::DownloadTiming quick{20ms, 5ms};

TEST(Sha256, KnownDigests) {
    // The end-to-end checks below are only as good as the digest they compare.
    EXPECT_EQ(testing_support::sha256Hex("abc"),
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(testing_support::sha256Hex(std::string(1000, 'a')),
              "41edece42d63e8d9bf515a9ba6932e1c20cbc9f5a5d134645adb5db1b9737ea3");
}

class DownloadTest : public ::testing::Test {
  protected:
    // Downloads path into "p.exe" and waits for the end.
    void fetch(const std::string& path, int threads = 5) {
        auto param = recorder.param(server.url(path), local);
        param.threadCount = threads;
        recorder.watch(&download);
        ASSERT_TRUE(download.start(param));
        ASSERT_TRUE(recorder.waitForEnd());
    }
    std::string sha(const std::string& path) {
        return testing_support::sha256Hex(testing_support::readFile(path));
    }
    // Offsets of the Range lines the server saw, in arrival order (-1: no Range line).
    std::vector<long long> ranges() {
        std::vector<long long> offsets;
        for (const auto& request : server.requests()) {
            auto at = request.find("Range: bytes=");
            offsets.push_back(at == std::string::npos ? -1 : std::stoll(request.substr(at + 13)));
        }
        return offsets;
    }
    // Starts as soon as the object has been emptied by its last task.
    bool startWhenIdle(const core::TaskParam& param) {
        for (auto until = std::chrono::steady_clock::now() + 2s;
             std::chrono::steady_clock::now() < until; std::this_thread::sleep_for(1ms)) {
            if (download.start(param)) {
                return true;
            }
        }
        return false;
    }
    // Whether no byte of the file from offset on was ever written (it was created zeroed).
    bool untouchedFrom(std::size_t offset) {
        std::string file = testing_support::readFile(local);
        return file.size() > offset && file.find_first_not_of('\0', offset) == std::string::npos;
    }
    // The bytes all event 16s told.
    std::int64_t bytesTold(DownloadRecorder& from) {
        std::int64_t told = 0;
        for (const auto& n : from.notices()) {
            told += n.event == 16 ? n.value : 0;
        }
        return told;
    }
    bool waitUntilEmpty() {
        for (auto until = std::chrono::steady_clock::now() + 2s;
             std::chrono::steady_clock::now() < until; std::this_thread::sleep_for(1ms)) {
            if (download.bytesDone() == 0) {
                return true;
            }
        }
        return false;
    }

    testing_support::FaultyFileServer server;
    testing_support::TempFolder dir;
    std::string local = dir.file("p.exe");
    DownloadRecorder recorder;
    game::Download download{quick};
};

TEST_F(DownloadTest, FiveConnectionsFetchAnIdenticalFile) {
    std::string body = testing_support::randomBytes(1000003);
    server.route("/dir/p.exe", Route{.body = body});
    fetch("/dir/p.exe");

    EXPECT_EQ(sha(local), testing_support::sha256Hex(body));
    EXPECT_EQ(recorder.bytesDoneAtEnd(), 1000003);
    EXPECT_TRUE(recorder.completedAtEnd());
    auto offsets = ranges();
    ASSERT_GE(offsets.size(), 5u);
    EXPECT_EQ(offsets[0], -1) << "the first request asks for the whole file";
    std::set<long long> later(offsets.begin() + 1, offsets.end());
    for (long long start : {200000, 400000, 600000, 800000}) {
        EXPECT_TRUE(later.count(start)) << "a connection for the part at " << start;
    }
    EXPECT_EQ(recorder.events(5), static_cast<int>(offsets.size()));

    auto notices = recorder.notices();
    EXPECT_EQ(notices.back().event, 4) << "the end is the last thing told";
    EXPECT_EQ(notices.back().value, 1000003);
    EXPECT_EQ(recorder.events(4), 1);
    EXPECT_EQ(recorder.events(3), 1);
    EXPECT_EQ(recorder.first(3).value, 1000003);
    EXPECT_EQ(recorder.first(3).text, local);
    EXPECT_EQ(bytesTold(recorder), 1000003);
    // A connection's bytes are told before its end, never after.
    std::set<std::intptr_t> ended;
    for (const auto& n : notices) {
        if (n.event == 8) {
            ended.insert(n.source);
        }
        EXPECT_FALSE(n.event == 16 && ended.count(n.source))
            << "bytes of ended connection " << n.source;
    }
    EXPECT_EQ(ended.size(), offsets.size());
    EXPECT_FALSE(recorder.notifiedOnCallerThread());
    EXPECT_TRUE(recorder.logged(gbk("正在连接 [127.0.0.1:") + std::to_string(server.port()) + "]"));
    EXPECT_TRUE(recorder.logged(gbk("站点支持断点续传")));
    EXPECT_TRUE(waitUntilEmpty()) << "the object is emptied after the end";
}

TEST_F(DownloadTest, RequestsCarryTheLaunchersLines) {
    std::string body = testing_support::randomBytes(50000);
    server.route("/my%20patch.exe", Route{.body = body});
    fetch("/my patch.exe", 2);
    EXPECT_EQ(testing_support::readFile(local), body);
    auto requests = server.requests();
    ASSERT_EQ(requests.size(), 2u);
    std::string host = "127.0.0.1:" + std::to_string(server.port());
    EXPECT_EQ(requests[1],
              "GET /my%20patch.exe HTTP/1.1\r\nHost: " + host +
                  "\r\nAccept: */*\r\nReferer: http://" + host +
                  "\r\nUser-Agent: Mozilla/4.0 (compatible; MSIE 5.00; Windows 98)\r\n"
                  "Range: bytes=25000-\r\nPragma: no-cache\r\nCache-Control: no-cache\r\n"
                  "Connection: close\r\n\r\n");
}

TEST_F(DownloadTest, SmallFilesComeOverOneConnection) {
    std::string body = testing_support::randomBytes(20479);
    server.route("/p.exe", Route{.body = body});
    fetch("/p.exe");
    EXPECT_EQ(testing_support::readFile(local), body);
    EXPECT_EQ(server.requests().size(), 1u);
}

TEST_F(DownloadTest, AnEmptyFileIsCreatedEmpty) {
    server.route("/p.exe", Route{.body = ""});
    fetch("/p.exe");
    EXPECT_TRUE(std::filesystem::is_regular_file(local));
    EXPECT_EQ(std::filesystem::file_size(local), 0u);
    EXPECT_EQ(recorder.events(3), 1);
    EXPECT_EQ(recorder.first(8).value, 0);
    EXPECT_EQ(recorder.notices().back().value, 0);
}

TEST_F(DownloadTest, DroppedConnectionsContinueWhereTheyStopped) {
    std::string body = testing_support::randomBytes(600000, 7);
    server.route("/p.exe", Route{.body = body, .faultyReplies = 4, .dropAfter = 7000});
    fetch("/p.exe");
    EXPECT_EQ(sha(local), testing_support::sha256Hex(body));
    EXPECT_EQ(recorder.bytesDoneAtEnd(), 600000);
    EXPECT_TRUE(recorder.logged(gbk("等待1秒后重试")));
    EXPECT_GE(recorder.events(7), 4) << "restarts are told as such";
    auto offsets = ranges();
    // A part dropped after 7000 bytes continues from there, not from its start.
    EXPECT_NE(std::find(offsets.begin(), offsets.end(), 7000), offsets.end());
}

TEST_F(DownloadTest, StalledConnectionsTimeOutAndRetry) {
    std::string body = testing_support::randomBytes(300000, 8);
    server.route("/p.exe",
                 Route{.body = body, .faultyReplies = 2, .dropAfter = 5000, .stall = true});
    auto param = recorder.param(server.url("/p.exe"), local);
    param.receiveTimeout = 300;
    ASSERT_TRUE(download.start(param));
    ASSERT_TRUE(recorder.waitForEnd());
    EXPECT_EQ(sha(local), testing_support::sha256Hex(body));
}

TEST_F(DownloadTest, SlowBodiesMoveBytesDoneSmoothly) {
    std::string body = testing_support::randomBytes(200000, 9);
    server.route("/p.exe", Route{.body = body, .delay = 300ms, .pieceSize = 2000, .pause = 2ms});
    EXPECT_EQ(download.bytesDone(), 0);
    ASSERT_TRUE(download.start(recorder.param(server.url("/p.exe"), local)));
    EXPECT_EQ(download.bytesDone(), 0) << "live, but no data yet";
    std::set<std::int32_t> seen;
    std::int32_t last = 0;
    while (recorder.events(4) == 0) {
        std::int32_t done = download.bytesDone();
        if (recorder.events(4) == 0) {
            EXPECT_GE(done, last);
            last = done;
            seen.insert(done);
        }
        std::this_thread::sleep_for(2ms);
    }
    EXPECT_GT(seen.size(), 10u) << "progress comes in many small steps";
    EXPECT_TRUE(waitUntilEmpty());
    EXPECT_EQ(testing_support::readFile(local), body);
}

TEST_F(DownloadTest, AServerIgnoringRangeSendsTheWholeFileOverOneConnection) {
    std::string body = testing_support::randomBytes(600000, 10);
    server.route("/p.exe", Route{.body = body, .honourRange = false});
    fetch("/p.exe");
    EXPECT_TRUE(recorder.logged(gbk("站点不支持断点续传")));
    EXPECT_TRUE(recorder.logged(gbk("服务器不支持断点续传, 改用一个连接下载整个文件")));
    EXPECT_EQ(sha(local), testing_support::sha256Hex(body));
    EXPECT_EQ(recorder.bytesDoneAtEnd(), 600000);
    EXPECT_TRUE(recorder.completedAtEnd());

    // The connection fetching the whole file is dropped on the way: asked to continue, the
    // server sends the file from its start again, and the connection starts over.
    server.route("/q.exe", Route{.body = body,
                                 .honourRange = false,
                                 .faultyReplies = 6,
                                 .dropAfter = 250000,
                                 .pieceSize = 50000});
    DownloadRecorder other;
    other.watch(&download);
    ASSERT_TRUE(startWhenIdle(other.param(server.url("/q.exe"), dir.file("q.exe"))));
    ASSERT_TRUE(other.waitForEnd());
    EXPECT_EQ(sha(dir.file("q.exe")), testing_support::sha256Hex(body));
    EXPECT_EQ(other.bytesDoneAtEnd(), 600000);
    EXPECT_TRUE(other.completedAtEnd());
}

TEST_F(DownloadTest, AFileReplacedOnTheServerEndsTheDownloadAtOnce) {
    // nginx answers the later parts with the new size in Content-Range.
    std::string body = testing_support::randomBytes(600000, 16);
    server.route("/p.exe", Route{.body = body,
                                 .pieceSize = 20000,
                                 .pause = 5ms,
                                 .replacedAfter = 1,
                                 .replacement = testing_support::randomBytes(700000, 17)});
    fetch("/p.exe");
    EXPECT_TRUE(recorder.logged(gbk("服务器上的文件已改变")));
    EXPECT_FALSE(recorder.completedAtEnd());
    EXPECT_LE(recorder.bytesDoneAtEnd(), 120000);
    EXPECT_TRUE(untouchedFrom(120000)) << "nothing of the new file is written";
    EXPECT_EQ(recorder.events(7), 0) << "no connection tries again";
    for (const auto& line : recorder.logs()) {
        EXPECT_EQ(line.find(gbk("等待")), std::string::npos) << line;
    }

    // A server that ignores ranges tells the new size in Content-Length.
    server.route("/q.exe", Route{.body = body,
                                 .honourRange = false,
                                 .pieceSize = 20000,
                                 .pause = 5ms,
                                 .replacedAfter = 1,
                                 .replacement = testing_support::randomBytes(500000, 18)});
    DownloadRecorder other;
    other.watch(&download);
    ASSERT_TRUE(startWhenIdle(other.param(server.url("/q.exe"), dir.file("q.exe"))));
    ASSERT_TRUE(other.waitForEnd());
    EXPECT_TRUE(other.logged(gbk("服务器上的文件已改变")));
    EXPECT_FALSE(other.completedAtEnd());
    EXPECT_LE(other.bytesDoneAtEnd(), 120000);
}

TEST_F(DownloadTest, RangesThatStartElsewhereAreNeverWritten) {
    // A cache that answers every ranged request with the file from a byte of its own
    // choosing, and says so in Content-Range.
    std::string body = testing_support::randomBytes(600000, 19);
    server.route("/p.exe", Route{.body = body, .answeredStart = 1000});
    fetch("/p.exe");
    EXPECT_TRUE(recorder.logged(gbk("服务器返回的数据范围不符")));
    EXPECT_EQ(recorder.bytesDoneAtEnd(), 120000) << "only the first part, asked without a range";
    EXPECT_FALSE(recorder.completedAtEnd());
    EXPECT_EQ(testing_support::readFile(local).substr(0, 120000), body.substr(0, 120000));
    EXPECT_TRUE(untouchedFrom(120000));
}

TEST_F(DownloadTest, APartialReplyToTheFirstRequestIsNoSize) {
    // "206 bytes 0-99/1000" would otherwise make a complete file of 100 bytes.
    server.route("/p.exe",
                 Route{.body = testing_support::randomBytes(1000, 20), .partialWholeReply = 100});
    fetch("/p.exe");
    EXPECT_TRUE(recorder.logged(gbk("暂时不支持的返回, 返回号[206]")));
    EXPECT_EQ(recorder.events(3), 0);
    EXPECT_FALSE(std::filesystem::exists(local));
    EXPECT_EQ(server.requests().size(), 1u);
}

TEST_F(DownloadTest, CappedRangeRepliesAreContinuedAtOnce) {
    // The product's five-second wait: a capped reply taken for a failure would show.
    game::Download patient{{5000ms, 5ms}};
    std::string body = testing_support::randomBytes(600000, 22);
    server.route("/p.exe", Route{.body = body, .rangeCap = 30000});
    auto param = recorder.param(server.url("/p.exe"), local);
    recorder.watch(&patient);
    auto before = std::chrono::steady_clock::now();
    ASSERT_TRUE(patient.start(param));
    ASSERT_TRUE(recorder.waitForEnd());
    EXPECT_LT(std::chrono::steady_clock::now() - before, 4s);
    EXPECT_EQ(sha(local), testing_support::sha256Hex(body));
    EXPECT_TRUE(recorder.completedAtEnd());
    for (const auto& line : recorder.logs()) {
        EXPECT_EQ(line.find(gbk("等待")), std::string::npos) << line;
    }
    // The four ranged parts come in replies of 30000 bytes at most.
    EXPECT_GE(server.requests().size(), 1u + 480000 / 30000);
}

TEST_F(DownloadTest, FinishedConnectionsTakeOverHalfOfASlowPart) {
    // The part at 800000 comes at 25000 bytes a second: alone it would take eight seconds.
    std::string body = testing_support::randomBytes(1000000, 23);
    server.route("/p.exe",
                 Route{.body = body, .pieceSize = 5000, .pause = 200ms, .slowRangeStart = 800000});
    auto before = std::chrono::steady_clock::now();
    fetch("/p.exe");
    EXPECT_LT(std::chrono::steady_clock::now() - before, 4s);
    EXPECT_EQ(sha(local), testing_support::sha256Hex(body));
    auto offsets = ranges();
    EXPECT_TRUE(std::any_of(offsets.begin(), offsets.end(), [](long long start) {
        return start > 800000 && start < 1000000;
    })) << "a request for the second half of the slow part";
    // Bytes that were on their way into a part while it was split are counted once.
    EXPECT_EQ(recorder.bytesDoneAtEnd(), 1000000);
    EXPECT_EQ(bytesTold(recorder), 1000000);
}

TEST_F(DownloadTest, FilesAreIdenticalWhateverTheReadAndPieceSizes) {
    // Receives that end inside a page, with the head, at a part's end; blocks larger than
    // a connection may write at once are cut to it.
    std::string body = testing_support::randomBytes(300007, 24);
    int run = 0;
    for (std::int32_t readBlock : {1000, 4097, 10240, 20480, 1 << 20}) {
        for (std::size_t piece : {std::size_t{0}, std::size_t{7777}}) {
            std::string name = "/f" + std::to_string(run++) + ".exe";
            server.route(name, Route{.body = body, .pieceSize = piece});
            DownloadRecorder each;
            each.watch(&download);
            auto param = each.param(server.url(name), dir.file(name.substr(1)));
            param.readBlock = readBlock;
            ASSERT_TRUE(startWhenIdle(param));
            ASSERT_TRUE(each.waitForEnd());
            EXPECT_TRUE(testing_support::readFile(dir.file(name.substr(1))) == body)
                << readBlock << " " << piece;
            EXPECT_EQ(each.bytesDoneAtEnd(), 300007) << readBlock << " " << piece;
            EXPECT_EQ(bytesTold(each), 300007) << readBlock << " " << piece;
        }
    }
}

TEST_F(DownloadTest, FilesHandedToTheDiskWhileArrivingStayWhole) {
    // Parts that end inside a stretch handed to the disk, and stretches handed over while
    // their neighbours are still written, change no byte of the file.
    const std::int64_t size = 5 * platform::FixedSizeFile::writeBackUnit + 17;
    std::string body = testing_support::randomBytes(static_cast<std::size_t>(size), 25);
    server.route("/p.exe", Route{.body = body, .pieceSize = 65536, .pause = 5ms});
    fetch("/p.exe", 5);
    EXPECT_TRUE(recorder.completedAtEnd());
    EXPECT_TRUE(testing_support::readFile(local) == body);
}

TEST_F(DownloadTest, ASlowNotifyRoutineHoldsUpNoConnection) {
    // The connections for the other parts start while the caller is still busy with the
    // size, and parts split off after one has finished do not wait for the caller either.
    std::string body = testing_support::randomBytes(1000000, 26);
    server.route("/p.exe",
                 Route{.body = body, .pieceSize = 5000, .pause = 100ms, .slowRangeStart = 800000});
    auto param = recorder.param(server.url("/p.exe"), local);
    bool othersStarted = false;
    bool splitStarted = false;
    auto record = param.notify;
    param.notify = [&](core::DownloadNotice& notice) {
        auto requestsAtLeast = [this](std::size_t count) {
            for (auto until = std::chrono::steady_clock::now() + 3s;
                 std::chrono::steady_clock::now() < until; std::this_thread::sleep_for(1ms)) {
                if (server.requests().size() >= count) {
                    return true;
                }
            }
            return false;
        };
        if (notice.event == 3) {
            othersStarted = requestsAtLeast(5);
            splitStarted = requestsAtLeast(6);
        }
        return record(notice);
    };
    recorder.watch(&download);
    ASSERT_TRUE(download.start(param));
    ASSERT_TRUE(recorder.waitForEnd());
    EXPECT_TRUE(othersStarted);
    EXPECT_TRUE(splitStarted);
    EXPECT_EQ(sha(local), testing_support::sha256Hex(body));
}

TEST_F(DownloadTest, HostNamesAreLookedUp) {
    server.route("/p.exe", Route{.body = "patch"});
    auto param =
        recorder.param("http://localhost:" + std::to_string(server.port()) + "/p.exe", local);
    ASSERT_TRUE(download.start(param));
    ASSERT_TRUE(recorder.waitForEnd());
    EXPECT_EQ(testing_support::readFile(local), "patch");
    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_NE(server.requests()[0].find("\r\nHost: localhost:"), std::string::npos);
}

TEST_F(DownloadTest, OneConnectionNeedsNoRange) {
    std::string body = testing_support::randomBytes(200000, 11);
    server.route("/p.exe", Route{.body = body, .honourRange = false});
    fetch("/p.exe", 1);
    EXPECT_EQ(testing_support::readFile(local), body);
}

TEST_F(DownloadTest, NoContentLengthNoDownload) {
    server.route("/p.exe", Route{.body = testing_support::randomBytes(50000), .sendLength = false});
    fetch("/p.exe");
    EXPECT_TRUE(recorder.logged(gbk("无法获得文件大小")));
    EXPECT_EQ(recorder.events(3), 0);
    EXPECT_EQ(recorder.notices().back().value, 0);
    EXPECT_FALSE(std::filesystem::exists(local));
    EXPECT_EQ(server.requests().size(), 1u) << "no retry";
}

TEST_F(DownloadTest, SizesPastSignedThirtyTwoBitsAreRefused) {
    server.route(
        "/p.exe",
        Route{.body = "x", .sendLength = false, .extraHeaders = "Content-Length: 2147483648\r\n"});
    fetch("/p.exe");
    EXPECT_TRUE(recorder.logged(gbk("文件大小超出最大支持下载长度")));
    EXPECT_EQ(recorder.events(3), 0);
    EXPECT_FALSE(std::filesystem::exists(local));
}

TEST_F(DownloadTest, RedirectChainsAreFollowed) {
    std::string body = testing_support::randomBytes(150000, 12);
    server.route("/a", Route{.status = 301, .location = "/b"});
    server.route("/b", Route{.status = 302, .location = server.url("/files/p.exe")});
    server.route("/files/p.exe", Route{.body = body});
    fetch("/a");
    EXPECT_EQ(testing_support::readFile(local), body);
    EXPECT_TRUE(recorder.logged(gbk("重定向到 [/b]")));
    EXPECT_TRUE(recorder.logged(gbk("重定向到 [") + server.url("/files/p.exe") + "]"));
}

TEST_F(DownloadTest, RedirectLoopsEndWithoutRetry) {
    server.route("/loop", Route{.status = 302, .location = "/loop"});
    fetch("/loop");
    EXPECT_TRUE(recorder.logged(gbk("重定向次数过多")));
    EXPECT_EQ(server.requests().size(), 6u);
    EXPECT_EQ(recorder.events(3), 0);
}

TEST_F(DownloadTest, RedirectsWithoutAUsableLocationFail) {
    server.route("/a", Route{.status = 302, .location = "elsewhere"});
    fetch("/a");
    EXPECT_TRUE(recorder.logged(gbk("获得重定向信息错误")));
    EXPECT_EQ(server.requests().size(), 1u);

    // A path the starting address could not have: it is not requested, cut or whole.
    server.route("/b", Route{.status = 302, .location = "/" + std::string(1100, 'p')});
    DownloadRecorder other;
    ASSERT_TRUE(startWhenIdle(other.param(server.url("/b"), local)));
    ASSERT_TRUE(other.waitForEnd());
    EXPECT_TRUE(other.logged(gbk("获得重定向信息错误")));
    EXPECT_EQ(server.requests().size(), 2u);
}

TEST_F(DownloadTest, ErrorStatusesFailWithoutRetry) {
    server.route("/gone", Route{.status = 410});
    fetch("/missing");
    EXPECT_TRUE(recorder.logged(gbk("出现错误")));
    EXPECT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(recorder.notices().back().event, 4);
    EXPECT_EQ(recorder.bytesDoneAtEnd(), 0);
    EXPECT_FALSE(std::filesystem::exists(local));

    DownloadRecorder other;
    ASSERT_TRUE(startWhenIdle(other.param(server.url("/gone"), local)));
    ASSERT_TRUE(other.waitForEnd());
    EXPECT_TRUE(other.logged(gbk("暂时不支持的返回, 返回号[410]")));
}

TEST_F(DownloadTest, OverlongHeadsFail) {
    server.route("/p.exe", Route{.body = "abc", .headPadding = 4100});
    fetch("/p.exe");
    EXPECT_TRUE(recorder.logged(gbk("HTTP返回头部信息过长")));
    EXPECT_EQ(server.requests().size(), 1u);

    server.route("/q.exe", Route{.body = "abc", .headPadding = 3800});
    DownloadRecorder other;
    ASSERT_TRUE(startWhenIdle(other.param(server.url("/q.exe"), dir.file("q.exe"))));
    ASSERT_TRUE(other.waitForEnd());
    EXPECT_EQ(testing_support::readFile(dir.file("q.exe")), "abc")
        << "a long head within the limit";
}

TEST_F(DownloadTest, ASecondStartWhileBusyIsRefused) {
    std::string body = testing_support::randomBytes(100000, 13);
    server.route("/p.exe", Route{.body = body, .delay = 200ms});
    ASSERT_TRUE(download.start(recorder.param(server.url("/p.exe"), local)));
    DownloadRecorder other;
    EXPECT_FALSE(download.start(other.param(server.url("/p.exe"), dir.file("other.exe"))));
    ASSERT_TRUE(recorder.waitForEnd());
    EXPECT_EQ(testing_support::readFile(local), body);
    EXPECT_TRUE(other.notices().empty());
    EXPECT_FALSE(std::filesystem::exists(dir.file("other.exe")));
}

TEST_F(DownloadTest, UnusableAddressesAreRefused) {
    for (const char* url : {"gopher://127.0.0.1/p.exe", "http:///p.exe", "http://127.0.0.1"}) {
        EXPECT_FALSE(download.start(recorder.param(url, local))) << url;
    }
    EXPECT_FALSE(
        download.start(recorder.param("http://127.0.0.1/" + std::string(1100, 'a'), local)));
    std::this_thread::sleep_for(50ms);
    EXPECT_TRUE(recorder.notices().empty());
}

TEST_F(DownloadTest, OtherSchemesAreAcceptedAndEndAtOnce) {
    ASSERT_TRUE(download.start(recorder.param("ftp://127.0.0.1/p.exe", local)));
    ASSERT_TRUE(recorder.waitForEnd());
    EXPECT_TRUE(recorder.logged(gbk("暂时不支持的协议")));
}

TEST_F(DownloadTest, StopEndsTheTaskWithTheBytesDone) {
    std::string body = testing_support::randomBytes(2000000, 14);
    server.route("/p.exe", Route{.body = body, .pieceSize = 4000, .pause = 5ms});
    auto param = recorder.param(server.url("/p.exe"), local);
    ASSERT_TRUE(download.start(param));
    while (download.bytesDone() < 100000) {
        std::this_thread::sleep_for(1ms);
    }
    auto before = std::chrono::steady_clock::now();
    download.stop();
    EXPECT_LT(std::chrono::steady_clock::now() - before, 1500ms);
    EXPECT_EQ(download.bytesDone(), 0) << "the object is empty after a stop";
    ASSERT_TRUE(recorder.waitForEnd());
    auto end = recorder.notices().back();
    EXPECT_EQ(end.event, 4);
    EXPECT_GE(end.value, 100000);
    EXPECT_LT(end.value, 2000000);
    std::int64_t arrived = 0;
    for (const auto& n : recorder.notices()) {
        arrived += n.event == 16 ? n.value : 0;
    }
    EXPECT_EQ(end.value, arrived) << "the end carries the bytes done, every one told";
    // Every byte counted is in the file at its place.
    std::string file = testing_support::readFile(local);
    std::int64_t matching = 0;
    for (std::size_t i = 0; i < file.size(); ++i) {
        matching += file[i] == body[i] && file[i] != 0;
    }
    EXPECT_GT(matching, end.value * 9 / 10);

    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(recorder.notices().back().event, 4) << "nothing follows the end";
    DownloadRecorder next;
    server.route("/q.exe", Route{.body = "small"});
    ASSERT_TRUE(download.start(next.param(server.url("/q.exe"), dir.file("q.exe"))));
    ASSERT_TRUE(next.waitForEnd());
    EXPECT_EQ(testing_support::readFile(dir.file("q.exe")), "small");
}

TEST_F(DownloadTest, StopWakesConnectionsWaitingForData) {
    server.route("/p.exe", Route{.body = testing_support::randomBytes(500000),
                                 .faultyReplies = 100,
                                 .dropAfter = 30000,
                                 .stall = true});
    ASSERT_TRUE(download.start(recorder.param(server.url("/p.exe"), local)));
    while (download.bytesDone() < 30000) {
        std::this_thread::sleep_for(1ms);
    }
    std::this_thread::sleep_for(50ms);
    auto before = std::chrono::steady_clock::now();
    download.stop();
    ASSERT_TRUE(recorder.waitForEnd(2s)) << "the receive time-out of 10 s is not waited out";
    EXPECT_LT(std::chrono::steady_clock::now() - before, 1500ms);
}

TEST_F(DownloadTest, DestroyingTheObjectStopsItsTask) {
    server.route(
        "/p.exe",
        Route{.body = testing_support::randomBytes(500000), .pieceSize = 1000, .pause = 10ms});
    {
        game::Download scoped{quick};
        ASSERT_TRUE(scoped.start(recorder.param(server.url("/p.exe"), local)));
        std::this_thread::sleep_for(100ms);
    }
    EXPECT_EQ(recorder.events(4), 1);
}

TEST_F(DownloadTest, AnExistingFileIsKeptAndTheNewOneRenamed) {
    std::string body = testing_support::randomBytes(60000, 15);
    server.route("/p.exe", Route{.body = body});
    testing_support::writeFile(local, "old");
    testing_support::writeFile(dir.file("p(1).exe"), "older");
    fetch("/p.exe");
    EXPECT_EQ(testing_support::readFile(local), "old");
    EXPECT_EQ(testing_support::readFile(dir.file("p(1).exe")), "older");
    EXPECT_EQ(testing_support::readFile(dir.file("p(2).exe")), body);
    EXPECT_EQ(recorder.first(18).source, 3) << "event 18 tells the existing file's size";
    EXPECT_EQ(recorder.first(18).value, 60000);
    EXPECT_EQ(recorder.first(3).text, dir.file("p(2).exe"));
    EXPECT_TRUE(recorder.logged(gbk("发现同名文件, 系统自动更名为") + dir.file("p(2).exe")));
}

TEST_F(DownloadTest, AFolderOfTheSameNameIsAnExistingFile) {
    std::filesystem::create_directory(local);
    server.route("/p.exe", Route{.body = "patch"});
    fetch("/p.exe");
    EXPECT_EQ(testing_support::readFile(dir.file("p(1).exe")), "patch");
}

TEST_F(DownloadTest, TheCallerMayGiveUpOrChooseAnotherName) {
    server.route("/p.exe", Route{.body = "patch"});
    testing_support::writeFile(local, "old");
    recorder.answerExisting(1);
    fetch("/p.exe");
    EXPECT_TRUE(recorder.logged(gbk("发现同名文件, 用户选择放弃下载")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("p(1).exe")));

    DownloadRecorder other;
    other.answerExisting(2, dir.file("mine.exe"));
    ASSERT_TRUE(startWhenIdle(other.param(server.url("/p.exe"), local)));
    ASSERT_TRUE(other.waitForEnd());
    EXPECT_EQ(testing_support::readFile(dir.file("mine.exe")), "patch");
    EXPECT_TRUE(other.logged(gbk("发现同名文件, 用户更名为") + dir.file("mine.exe")));
}

TEST_F(DownloadTest, AFolderTargetTakesTheReplysNameWithoutItsFolders) {
    std::filesystem::create_directory(dir.file("in"));
    server.route("/get", Route{.body = "patch",
                               .extraHeaders = "Content-Disposition: attachment; "
                                               "filename=\"../../evil.exe\"\r\n"});
    auto param = recorder.param(server.url("/get"), dir.file("in/"));
    ASSERT_TRUE(download.start(param));
    ASSERT_TRUE(recorder.waitForEnd());
    EXPECT_EQ(testing_support::readFile(dir.file("in/evil.exe")), "patch");
    EXPECT_FALSE(std::filesystem::exists(dir.file("evil.exe")));

    server.route("/files/q.exe", Route{.body = "q"});
    DownloadRecorder other;
    ASSERT_TRUE(startWhenIdle(other.param(server.url("/files/q.exe"), dir.file("in/"))));
    ASSERT_TRUE(other.waitForEnd());
    EXPECT_EQ(testing_support::readFile(dir.file("in/q.exe")), "q");
}

TEST_F(DownloadTest, AFileThatCannotBeCreatedEndsTheTask) {
    server.route("/p.exe", Route{.body = "patch"});
    auto param = recorder.param(server.url("/p.exe"), dir.file("no/such/folder/p.exe"));
    ASSERT_TRUE(download.start(param));
    ASSERT_TRUE(recorder.waitForEnd());
    EXPECT_TRUE(
        recorder.logged(gbk("创建文件错误，超出最大支持下载长度或磁盘是可写或磁盘没有空间")));
    EXPECT_EQ(recorder.events(3), 0);
}

}  // namespace
