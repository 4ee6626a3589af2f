// The built launcher as a player starts it, under the virtual display of this program.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "gui/screen.h"
#include "ui/layout.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

TEST(LauncherProcess, OpensItsWindowAndEndsOnEsc) {
    // A game directory of its own: the launcher works in the directory of its program file.
    fs::path game = fs::temp_directory_path() / ("gui-game-" + std::to_string(getpid()));
    fs::create_directories(game);
    fs::copy_file(LAUNCHER_BINARY, game / "launcher", fs::copy_options::overwrite_existing);
    std::string program = (game / "launcher").string();
    // Nothing listens on port 1: start-up finds no configuration page and goes on.
    const char* argv[] = {program.c_str(), "--operator", "127.0.0.1:1", nullptr};
    pid_t pid = 0;
    ASSERT_EQ(
        posix_spawn(&pid, program.c_str(), nullptr, nullptr, const_cast<char**>(argv), environ), 0);

    gui_test::Screen screen;
    gui_test::Screen::Window window = 0;
    for (auto end = std::chrono::steady_clock::now() + 10s;
         !window && std::chrono::steady_clock::now() < end; std::this_thread::sleep_for(20ms)) {
        window = screen.findWindow(ui::mainWindowWidth, ui::mainWindowHeight);
    }
    ASSERT_NE(window, 0u) << "no window";
    EXPECT_GT(screen.outlineArea(window), 0);

    int x = 0, y = 0;
    screen.origin(window, x, y);
    std::string command = "xdotool mousemove " + std::to_string(x + 300) + " " +
                          std::to_string(y + 520) + " key Escape";
    ASSERT_EQ(std::system(command.c_str()), 0);

    int status = -1;
    pid_t done = 0;
    for (auto end = std::chrono::steady_clock::now() + 5s;
         (done = waitpid(pid, &status, WNOHANG)) == 0 && std::chrono::steady_clock::now() < end;
         std::this_thread::sleep_for(20ms)) {
    }
    if (done == 0) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        ADD_FAILURE() << "the launcher did not end on Esc";
    } else {
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0);
    }
    fs::remove_all(game);
}

}  // namespace
