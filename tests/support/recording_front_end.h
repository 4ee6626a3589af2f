#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/process.h"
#include "ui/front_end.h"

namespace testing_support {

// A front end that remembers every effect as a short line ("hide 修改框", "text 验证 3465")
// and answers message boxes from a queue. As a program starter it records each start
// ("start Quorvex.exe blacknull") in the same log and starts nothing.
class RecordingFrontEnd : public ui::FrontEnd, public platform::ProgramStarter {
  public:
    std::vector<std::string> log;
    std::deque<int> answers;

    void windowOpened(ui::WindowId window) override {
        log.push_back(std::string("open ") + ui::windowName(window));
    }
    void controlChanged(ui::WindowId, const ui::Control& control, ui::Change change) override {
        static const char* names[] = {"show", "hide",    "enable", "disable",
                                      "text", "addItem", "rows",   "position"};
        std::string line =
            std::string(names[static_cast<int>(change)]) + " " + std::string(control.name());
        if (change == ui::Change::Text) {
            line += " " + control.text;
        }
        log.push_back(line);
    }
    int messageBox(const std::string& text, int flags, const std::string& title) override {
        log.push_back("box " + title + "|" + text + "|" + std::to_string(flags));
        int answer = answers.empty() ? 0 : answers.front();
        if (!answers.empty()) {
            answers.pop_front();
        }
        return answer;
    }
    void closeRequested(ui::WindowId window) override {
        log.push_back(std::string("close ") + ui::windowName(window));
    }
    void windowClosed(ui::WindowId window) override {
        log.push_back(std::string("closed ") + ui::windowName(window));
    }
    void startProgram(const std::string& commandLine) override {
        log.push_back("start " + commandLine);
    }
    void startProgramFile(const std::string& path) override { log.push_back("start " + path); }
    void ready() override { log.push_back("ready"); }
};

}  // namespace testing_support
