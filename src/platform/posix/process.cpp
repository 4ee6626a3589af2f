#include "platform/process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

namespace platform {
namespace {

std::vector<std::string> splitOnBlanks(const std::string& commandLine) {
    std::vector<std::string> words;
    size_t start = 0;
    while ((start = commandLine.find_first_not_of(' ', start)) != std::string::npos) {
        size_t end = commandLine.find(' ', start);
        words.push_back(commandLine.substr(start, end - start));
        start = end;
    }
    return words;
}

// The program is looked for in the current directory only, never along PATH, so a bare
// name must not reach execvp's search.
std::string inCurrentDirectory(const std::string& name) {
    return name.find('/') == std::string::npos ? "./" + name : name;
}

bool isWindowsProgram(const std::string& path) {
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    char magic[2] = {};
    ssize_t n = read(fd, magic, sizeof magic);
    close(fd);
    return n == 2 && magic[0] == 'M' && magic[1] == 'Z';
}

// Full path of an executable `wine` on PATH, or empty.
std::string findWine() {
    const char* path = std::getenv("PATH");
    if (!path) {
        return {};
    }
    std::string dirs = path;
    size_t start = 0;
    while (true) {
        size_t end = dirs.find(':', start);
        std::string dir = dirs.substr(start, end == std::string::npos ? end : end - start);
        std::string candidate = (dir.empty() ? "." : dir) + "/wine";
        struct stat st;
        if (stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
            access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
        if (end == std::string::npos) {
            return {};
        }
        start = end + 1;
    }
}

// Runs in the grandchild between fork and exec: async-signal-safe calls only.
[[noreturn]] void execDetached(const char* file, char* const argv[], int devNull, long maxFd) {
    // A started program must not touch the launcher's input and output (in automation
    // they carry the protocol) nor keep the launcher's sockets and files open; its
    // diagnostics still reach the launcher's error output.
    if (devNull >= 0) {
        dup2(devNull, STDIN_FILENO);
        dup2(devNull, STDOUT_FILENO);
    }
    if (syscall(SYS_close_range, 3u, ~0u, 0u) != 0) {
        for (long fd = 3; fd < maxFd; ++fd) {
            close(static_cast<int>(fd));
        }
    }
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    signal(SIGPIPE, SIG_DFL);
    execv(file, argv);
    _exit(127);
}

// Starts program (a path) with the given arguments, a Windows program through wine.
void startDetached(const std::string& program, const std::string& name,
                   const std::vector<std::string>& arguments) {
    std::vector<std::string> args;
    std::string file;
    if (isWindowsProgram(program)) {
        file = findWine();
        if (file.empty()) {
            return;
        }
        args.push_back("wine");
        args.push_back(program);
    } else {
        file = program;
        args.push_back(name);
    }
    args.insert(args.end(), arguments.begin(), arguments.end());

    // Everything the child needs is prepared before fork: after it, in a process that may
    // have other threads, only async-signal-safe calls are allowed.
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    int devNull = open("/dev/null", O_RDWR | O_CLOEXEC);
    long maxFd = sysconf(_SC_OPEN_MAX);
    if (maxFd < 0 || maxFd > 65536) {
        maxFd = 65536;
    }

    // Double fork: the middle child exits at once and is reaped here, so the program is
    // adopted by init and never lingers as our zombie, and we never wait for it.
    pid_t middle = fork();
    if (middle == 0) {
        setsid();
        if (fork() == 0) {
            execDetached(file.c_str(), argv.data(), devNull, maxFd);
        }
        _exit(0);
    }
    if (middle > 0) {
        while (waitpid(middle, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
    if (devNull >= 0) {
        close(devNull);
    }
}

}  // namespace

void startProgram(const std::string& commandLine) {
    std::vector<std::string> words = splitOnBlanks(commandLine);
    if (words.empty()) {
        return;
    }
    startDetached(inCurrentDirectory(words[0]), words[0], {words.begin() + 1, words.end()});
}

void startProgramFile(const std::string& path) {
    if (path.empty()) {
        return;
    }
    startDetached(inCurrentDirectory(path), path, {});
}

}  // namespace platform
