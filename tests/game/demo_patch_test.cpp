#include <gtest/gtest.h>

#include "game/download/download.h"
#include "game/download_recorder.h"
#include "operator_server.h"
#include "support/temp_folder.h"
#include "support/test_files.h"

namespace {

// The demo operator's patch, fetched as the launcher fetches its patch, so scripts/demo
// shows a real five-connection download.
TEST(DemoPatch, ComesWholeOverFiveConnections) {
    operator_server::Options options;
    options.port = 0;
    options.zonePortBase = 0;
    options.patchSize = 3 * 1024 * 1024 + 5;
    options.quiet = true;
    operator_server::OperatorServer server(options, [](const std::string&) {});
    testing_support::TempFolder dir;
    testing_support::DownloadRecorder recorder;
    game::Download download;
    recorder.watch(&download);
    std::string url =
        "http://127.0.0.1:" + std::to_string(server.httpPort()) + server.site().patchPath;
    ASSERT_TRUE(download.start(recorder.param(url, dir.file("xypatch.exe"))));
    ASSERT_TRUE(recorder.waitForEnd());
    EXPECT_EQ(recorder.bytesDoneAtEnd(), static_cast<std::int32_t>(options.patchSize));
    EXPECT_EQ(testing_support::readFile(dir.file("xypatch.exe")), server.site().patch);
    EXPECT_GE(recorder.events(5), 5);
}

}  // namespace
