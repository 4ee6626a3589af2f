#pragma once

#include <cstdio>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/input_stream.h"
#include "ui/front_end.h"
#include "ui/headless/command_lines.h"
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
    void ready() override;

    // Written before every attempt to start a program (GBK).
    void programStarting(const std::string& commandLine);

  private:
    using Json = nlohmann::ordered_json;

    // A wait or waitfor command in progress: commands after it wait until it is over.
    struct Waiting {
        platform::EventLoop::Clock::time_point deadline;
        std::optional<std::string> event;
        long seenBefore = 0;
    };

    // A message box that stays open until `release` (or the end of input) closes it.
    struct HeldBox {
        std::optional<int> result;
    };

    void readInput(std::string chunk);
    void runCommands();
    bool heldBack() const;
    void execute(const std::string& line);
    void release(int result);
    void resume();
    void ignored(WindowId window, const char* member, const std::string& name);
    void emit(Json line);
    void dump(WindowId window, const std::string& name);
    Json rowsOf(const Control& control) const;

    Interface& ui_;
    int input_;
    std::unique_ptr<platform::InputStream> reader_;
    std::FILE* output_;
    CommandLines lines_;
    std::deque<CommandLines::Line> commands_;
    bool inputEnded_ = false;
    bool endHandled_ = false;  // the end of input has had its effect
    bool running_ = false;
    std::optional<Waiting> waiting_;
    platform::EventLoop::TimerId resumeTimer_ = 0;
    std::deque<int> answers_;
    int holds_ = 0;               // `hold` commands whose box has not opened yet
    std::vector<HeldBox*> held_;  // the held boxes open now, innermost last
    std::map<std::string, long> written_;
    std::mutex outputMutex_;
};

}  // namespace ui
