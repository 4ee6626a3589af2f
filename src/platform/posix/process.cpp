#include "platform/process.h"

#include <spawn.h>

#include <csignal>

#include <sstream>
#include <vector>

extern char** environ;

namespace platform {

void startProgram(const std::string& commandLine) {
    std::istringstream words(commandLine);
    std::vector<std::string> args;
    for (std::string word; words >> word;) {
        args.push_back(word);
    }
    if (args.empty()) {
        return;
    }
    if (args[0].find('/') == std::string::npos) {
        args[0] = "./" + args[0];
    }
    std::vector<char*> argv;
    for (auto& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    // The launcher never waits for what it starts; ignoring SIGCHLD leaves no zombie.
    std::signal(SIGCHLD, SIG_IGN);
    pid_t pid;
    posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ);
}

}  // namespace platform
