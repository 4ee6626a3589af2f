#include "support/headless_launcher.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace testing_support {

namespace fs = std::filesystem;

namespace {

std::string fromEnvironment(const char* name, const std::string& fallback) {
    const char* value = std::getenv(name);
    return value && *value ? value : fallback;
}

}  // namespace

HeadlessLauncher::HeadlessLauncher(const std::string& gameFolderName) {
    std::string pattern = (fs::temp_directory_path() / "launcher-game-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        throw std::runtime_error("cannot create a temporary game directory");
    }
    root_ = pattern;
    directory_ = root_;
    if (!gameFolderName.empty()) {
        directory_ = root_ / gameFolderName;
        fs::create_directory(directory_);
    }
    fs::path binary = fromEnvironment("LAUNCHER_UNDER_TEST", LAUNCHER_BINARY);
    program_ = directory_ / binary.filename();
    fs::copy_file(binary, program_);
    std::istringstream words(fromEnvironment("LAUNCHER_WRAPPER", ""));
    for (std::string word; words >> word;) {
        wrapper_.push_back(word);
    }
}

HeadlessLauncher::~HeadlessLauncher() {
    if (input_ >= 0) {
        close(input_);
    }
    if (pid_ > 0 && waitExit(5s) == -1) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    if (reader_.joinable()) {
        reader_.join();
    }
    if (output_ >= 0) {
        close(output_);
    }
    std::error_code ignored;
    fs::permissions(directory_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(root_, ignored);
}

void HeadlessLauncher::setEnvironment(const std::string& name, const std::string& value) {
    environment_[name] = value;
}

void HeadlessLauncher::start(const std::vector<std::string>& arguments) {
    int toChild[2], fromChild[2];
    if (pipe2(toChild, O_CLOEXEC) != 0 || pipe2(fromChild, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe failed");
    }
    std::vector<std::string> args = wrapper_;
    args.push_back(program_.string());
    args.push_back("--headless");
    args.insert(args.end(), arguments.begin(), arguments.end());

    pid_ = fork();
    if (pid_ == 0) {
        dup2(toChild[0], STDIN_FILENO);
        dup2(fromChild[1], STDOUT_FILENO);
        // Started from elsewhere on purpose: the launcher must find its own directory.
        if (chdir("/") != 0) {
            _exit(126);
        }
        for (const auto& [name, value] : environment_) {
            setenv(name.c_str(), value.c_str(), 1);
        }
        if (addressSpaceLimit_) {
            rlimit limit{*addressSpaceLimit_, *addressSpaceLimit_};
            if (setrlimit(RLIMIT_AS, &limit) != 0) {
                _exit(126);
            }
        }
        std::vector<char*> argv;
        for (auto& arg : args) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(toChild[0]);
    close(fromChild[1]);
    input_ = toChild[1];
    output_ = fromChild[0];
    signal(SIGPIPE, SIG_IGN);
    reader_ = std::thread([this] { readOutput(); });
}

void HeadlessLauncher::readOutput() {
    std::string partial;
    char buffer[4096];
    ssize_t n;
    while ((n = read(output_, buffer, sizeof buffer)) > 0) {
        partial.append(buffer, n);
        size_t newline;
        while ((newline = partial.find('\n')) != std::string::npos) {
            std::string line = partial.substr(0, newline);
            partial.erase(0, newline + 1);
            std::lock_guard lock(mutex_);
            lines_.push_back(line);
            Json event = Json::parse(line, nullptr, false);
            if (!event.is_object()) {
                event = {{"ev", "unparsed"}, {"line", line}};
            }
            events_.push_back(event);
            arrived_.notify_all();
        }
    }
    std::lock_guard lock(mutex_);
    outputClosed_ = true;
    arrived_.notify_all();
}

void HeadlessLauncher::send(const std::string& command) {
    sentMark_ = eventCount();
    std::string line = command + "\n";
    if (write(input_, line.data(), line.size()) != static_cast<ssize_t>(line.size())) {
        throw std::runtime_error("the launcher no longer reads its input");
    }
}

void HeadlessLauncher::closeInput() {
    close(input_);
    input_ = -1;
}

std::optional<Json> HeadlessLauncher::waitFor(const std::function<bool(const Json&)>& matches,
                                              std::chrono::milliseconds timeout, size_t from) {
    std::unique_lock lock(mutex_);
    auto deadline = std::chrono::steady_clock::now() + timeout;
    size_t checked = from;
    while (true) {
        for (; checked < events_.size(); ++checked) {
            if (matches(events_[checked])) {
                return events_[checked];
            }
        }
        if (outputClosed_ || arrived_.wait_until(lock, deadline) == std::cv_status::timeout) {
            for (; checked < events_.size(); ++checked) {
                if (matches(events_[checked])) {
                    return events_[checked];
                }
            }
            return std::nullopt;
        }
    }
}

std::optional<Json> HeadlessLauncher::next(const std::string& ev,
                                           std::chrono::milliseconds timeout) {
    return waitFor([&](const Json& e) { return e.value("ev", "") == ev; }, timeout, sentMark_);
}

Json HeadlessLauncher::dump(const std::string& window, const std::string& control) {
    size_t from = eventCount();
    send("dump " + window + " " + control);
    auto state = waitFor(
        [&](const Json& e) {
            return (e.value("ev", "") == "state" && e.value("control", "") == control) ||
                   e.value("ev", "") == "error";
        },
        10s, from);
    if (!state || (*state)["ev"] != "state") {
        throw std::runtime_error("no state for " + control + ":\n" + transcript());
    }
    return *state;
}

int HeadlessLauncher::waitExit(std::chrono::milliseconds timeout) {
    if (pid_ <= 0) {
        return -1;
    }
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        int status;
        pid_t done = waitpid(pid_, &status, WNOHANG);
        if (done == pid_) {
            pid_ = -1;
            // Everything it wrote has been read once its output is closed.
            std::unique_lock lock(mutex_);
            arrived_.wait_until(lock, deadline, [this] { return outputClosed_; });
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        std::this_thread::sleep_for(10ms);
    }
    return -1;
}

long HeadlessLauncher::peakMemoryKib() const {
    // The high-water mark of the program's own memory: it starts afresh when the program
    // is loaded, so the harness's share from before is not counted.
    std::ifstream status("/proc/" + std::to_string(pid_) + "/status");
    for (std::string line; pid_ > 0 && std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return -1;
}

std::vector<Json> HeadlessLauncher::events() const {
    std::lock_guard lock(mutex_);
    return events_;
}

size_t HeadlessLauncher::eventCount() const {
    std::lock_guard lock(mutex_);
    return events_.size();
}

std::vector<Json> HeadlessLauncher::eventsNamed(const std::string& ev) const {
    std::vector<Json> named;
    for (const Json& e : events()) {
        if (e.value("ev", "") == ev) {
            named.push_back(e);
        }
    }
    return named;
}

std::string HeadlessLauncher::transcript() const {
    std::lock_guard lock(mutex_);
    std::string all;
    for (const std::string& line : lines_) {
        all += line + "\n";
    }
    return all;
}

}  // namespace testing_support
