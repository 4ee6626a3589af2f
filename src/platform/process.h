#pragma once

#include <string>

namespace platform {

// Starts a program from a command line without waiting for it to end; the first word
// names the program, resolved against the current directory. Failures are ignored.
void startProgram(const std::string& commandLine);

// Starts the program file at path, resolved against the current directory, with no
// arguments and without waiting for it to end. The whole path names the program, blanks
// and all. Failures are ignored.
void startProgramFile(const std::string& path);

// How the launcher's operations start programs. The app hands them one, so that the
// headless mode can see every attempt before it is made.
class ProgramStarter {
  public:
    virtual ~ProgramStarter() = default;
    virtual void startProgram(const std::string& commandLine) = 0;
    virtual void startProgramFile(const std::string& path) = 0;
};

// The system's own, through the two functions above.
class SystemProgramStarter final : public ProgramStarter {
  public:
    void startProgram(const std::string& commandLine) override {
        platform::startProgram(commandLine);
    }
    void startProgramFile(const std::string& path) override { platform::startProgramFile(path); }
};

}  // namespace platform
