#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include "game/download/download.h"
#include "game/download/events.h"
#include "game/download_recorder.h"
#include "platform/encoding.h"
#include "support/faulty_file_server.h"
#include "support/temp_folder.h"
#include "support/test_files.h"

namespace {

using namespace std::chrono_literals;
using testing_support::Route;

// Lets this process write no file past `limit` bytes while it lives, as a disk that runs
// out under a download does; writes past it fail instead of raising a signal.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t limit) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = saved_;
        lowered.rlim_cur = limit;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit saved_{};
    void (*previous_)(int) = SIG_DFL;
};

TEST(DownloadWriteErrors, AWriteTheSystemRefusesFailsTheDownloadAtOnce) {
    // The file is created at its full size first; from then on only its first 300000
    // bytes can be written, so the connections of the later parts fail.
    testing_support::FaultyFileServer server;
    testing_support::TempFolder dir;
    std::string body = testing_support::randomBytes(1000000, 41);
    server.route("/p.exe", Route{.body = body, .delay = 200ms, .pieceSize = 20000});
    testing_support::DownloadRecorder recorder;
    game::Download download{game::DownloadTiming{20ms, 5ms}};
    auto param = recorder.param(server.url("/p.exe"), dir.file("p.exe"));
    std::unique_ptr<FileSizeLimit> limit;
    auto record = param.notify;
    param.notify = [&](core::DownloadNotice& notice) {
        if (notice.event == game::eventTotalSize) {
            limit = std::make_unique<FileSizeLimit>(300000);
        }
        return record(notice);
    };
    recorder.watch(&download);
    ASSERT_TRUE(download.start(param));
    ASSERT_TRUE(recorder.waitForEnd());
    limit.reset();
    EXPECT_TRUE(recorder.logged(gbk("写入文件错误")));
    EXPECT_FALSE(recorder.completedAtEnd());
    EXPECT_LT(recorder.bytesDoneAtEnd(), 1000000);
    EXPECT_EQ(recorder.events(game::eventPartRestarted), 0) << "no connection tries again";
}

}  // namespace
