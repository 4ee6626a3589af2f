#pragma once

#include <string>

#include "platform/process.h"
#include "ui/headless/headless_front_end.h"

namespace ui {

// The headless mode's program starts: every attempt is written as a `start` event before
// it is made, whatever its outcome, and then made by the starter underneath.
class ReportedProgramStarter final : public platform::ProgramStarter {
  public:
    ReportedProgramStarter(HeadlessFrontEnd& report, platform::ProgramStarter& starter)
        : report_(report), starter_(starter) {}

    void startProgram(const std::string& commandLine) override {
        report_.programStarting(commandLine);
        starter_.startProgram(commandLine);
    }
    void startProgramFile(const std::string& path) override {
        report_.programStarting(path);
        starter_.startProgramFile(path);
    }

  private:
    HeadlessFrontEnd& report_;
    platform::ProgramStarter& starter_;
};

}  // namespace ui
