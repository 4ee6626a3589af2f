#include <gtest/gtest.h>

#include <filesystem>

#include "game/download/download.h"
#include "game/download_recorder.h"
#include "support/nginx_server.h"
#include "support/sha256.h"
#include "support/temp_folder.h"
#include "support/test_files.h"

namespace {

TEST(NginxDownload, FetchesAFileOverFiveConnections) {
    if (!testing_support::NginxServer::installed()) {
        GTEST_SKIP() << "nginx is not installed";
    }
    testing_support::TempFolder dir;
    std::filesystem::create_directories(dir.file("www/patch"));
    std::string body = testing_support::randomBytes(3 * 1024 * 1024 + 17, 21);
    testing_support::writeFile(dir.file("www/patch/p.exe"), body);
    testing_support::NginxServer nginx(dir.path().string(), dir.file("www"));
    ASSERT_TRUE(nginx.running()) << testing_support::readFile(dir.file("error.log"));

    testing_support::DownloadRecorder recorder;
    game::Download download;
    recorder.watch(&download);
    ASSERT_TRUE(download.start(recorder.param(nginx.url("/patch/p.exe"), dir.file("p.exe"))));
    ASSERT_TRUE(recorder.waitForEnd());
    EXPECT_EQ(testing_support::sha256Hex(testing_support::readFile(dir.file("p.exe"))),
              testing_support::sha256Hex(body));
    EXPECT_EQ(recorder.bytesDoneAtEnd(), static_cast<std::int32_t>(body.size()));
    EXPECT_GE(recorder.events(5), 5);
    EXPECT_EQ(recorder.notices().back().event, 4);
}

TEST(NginxDownload, AMissingFileEndsTheTask) {
    if (!testing_support::NginxServer::installed()) {
        GTEST_SKIP() << "nginx is not installed";
    }
    testing_support::TempFolder dir;
    std::filesystem::create_directories(dir.file("www"));
    testing_support::NginxServer nginx(dir.path().string(), dir.file("www"));
    ASSERT_TRUE(nginx.running());
    testing_support::DownloadRecorder recorder;
    game::Download download;
    ASSERT_TRUE(download.start(recorder.param(nginx.url("/p.exe"), dir.file("p.exe"))));
    ASSERT_TRUE(recorder.waitForEnd());
    EXPECT_EQ(recorder.events(3), 0);
    EXPECT_FALSE(std::filesystem::exists(dir.file("p.exe")));
}

}  // namespace
