#pragma once

#include <cstdio>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "ui/front_end.h"
#include "ui/interface.h"

namespace ui {

// The automation front end: draws nothing, reads one command per line from a file
// descriptor and writes every interface effect as one JSON line (UTF-8). The protocol is
// described in docs/automation.md.
class HeadlessFrontEnd : public FrontEnd {
  public:
    HeadlessFrontEnd(Interface& ui, int input, std::FILE* output);
    ~HeadlessFrontEnd() override;

    // Starts reading commands; they run on the interface thread between other events.
    void start();
    // The very last line: the launcher's exit code.
    void exited(int code);

    void windowOpened(WindowId window) override;
    void controlChanged(WindowId window, const Control& control, Change change) override;
    int messageBox(const std::string& text, int flags, const std::string& title) override;
    void closeRequested(WindowId window) override;
    void windowClosed(WindowId window) override;
    void programStarting(const std::string& commandLine) override;
    void ready() override;

  private:
    using Json = nlohmann::ordered_json;

    // A wait or waitfor command in progress: commands after it wait until it is over.
    struct Waiting {
        platform::EventLoop::Clock::time_point deadline;
        std::optional<std::string> event;
        long seenBefore = 0;
    };

    void readInput();
    void runCommands();
    void execute(const std::string& line);
    void checkWaiting();
    void emit(Json line);
    void dump(WindowId window, const std::string& name);
    Json rowsOf(const Control& control) const;

    Interface& ui_;
    int input_;
    std::FILE* output_;
    std::string partial_;
    std::deque<std::string> commands_;
    bool running_ = false;
    std::optional<Waiting> waiting_;
    platform::EventLoop::TimerId waitTimer_ = 0;
    std::deque<int> answers_;
    std::map<std::string, long> written_;
    std::mutex outputMutex_;
};

}  // namespace ui
