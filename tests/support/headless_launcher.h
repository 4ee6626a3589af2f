#pragma once

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace testing_support {

using Json = nlohmann::json;
using namespace std::chrono_literals;

// Runs a copy of the built launcher in a fresh temporary game directory, driven through
// --headless: commands go to its standard input, its JSON lines are collected as events.
// Two environment variables point the same tests at another build of the launcher:
// LAUNCHER_UNDER_TEST names the program file to copy (e.g. a launcher.exe), and
// LAUNCHER_WRAPPER the blank-separated command that runs it (e.g. "wine64").
class HeadlessLauncher {
  public:
    // gameFolderName names the game directory itself (say "翔岳传说"), inside a fresh
    // temporary folder; empty leaves the name to the system.
    explicit HeadlessLauncher(const std::string& gameFolderName = "");
    ~HeadlessLauncher();
    HeadlessLauncher(const HeadlessLauncher&) = delete;
    HeadlessLauncher& operator=(const HeadlessLauncher&) = delete;

    // The game directory the launcher runs in (its own directory).
    const std::filesystem::path& directory() const { return directory_; }
    void setEnvironment(const std::string& name, const std::string& value);
    // Caps the address space of the launcher's process (set before start), so that a test
    // of running out of memory cannot take the machine's memory with it.
    void limitAddressSpace(std::size_t bytes) { addressSpaceLimit_ = bytes; }

    void start(const std::vector<std::string>& arguments = {});
    void send(const std::string& command);
    void closeInput();

    // The first event, from `from` on, that matches; nullopt after the timeout.
    std::optional<Json> waitFor(const std::function<bool(const Json&)>& matches,
                                std::chrono::milliseconds timeout = 10s, size_t from = 0);
    // The first event named `ev` written since the last command was sent.
    std::optional<Json> next(const std::string& ev, std::chrono::milliseconds timeout = 10s);
    // Sends a dump command and returns its state line.
    Json dump(const std::string& window, const std::string& control);
    // Waits for the process to end; its exit code, or -1 after the timeout.
    int waitExit(std::chrono::milliseconds timeout = 10s);
    // The most memory the running launcher has held at once so far, in KiB; -1 when it
    // cannot be told (the process has ended).
    long peakMemoryKib() const;

    std::vector<Json> events() const;
    size_t eventCount() const;
    // Events named `ev`, in order.
    std::vector<Json> eventsNamed(const std::string& ev) const;
    // Everything the launcher wrote, for failure messages.
    std::string transcript() const;

  private:
    void readOutput();

    std::filesystem::path root_;  // the temporary folder that holds everything
    std::filesystem::path directory_;
    std::filesystem::path program_;
    std::vector<std::string> wrapper_;
    std::map<std::string, std::string> environment_;
    std::optional<std::size_t> addressSpaceLimit_;
    int pid_ = -1;
    int input_ = -1;
    int output_ = -1;
    std::thread reader_;
    mutable std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<Json> events_;
    std::vector<std::string> lines_;
    bool outputClosed_ = false;
    size_t sentMark_ = 0;  // events written before the last command was sent
};

}  // namespace testing_support
