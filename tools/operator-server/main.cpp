// The demo operator server: see --help.
#include <signal.h>

#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <exception>
#include <iostream>
#include <mutex>

#include "operator_server.h"

using namespace operator_server;

namespace {

// Waits for SIGINT or SIGTERM, or until the deadline when exitAfter is set. The signals
// are blocked in every thread (they inherit the mask), so only this wait receives them.
void waitForStop(const sigset_t& signals, double exitAfter) {
    auto deadline = std::chrono::steady_clock::now() +
                    std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                        std::chrono::duration<double>(exitAfter));
    for (;;) {
        timespec slice{0, 200 * 1000 * 1000};
        int received = ::sigtimedwait(&signals, nullptr, &slice);
        if (received == SIGINT || received == SIGTERM) {
            return;
        }
        if (exitAfter > 0 && std::chrono::steady_clock::now() >= deadline) {
            return;
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    auto parsed = parseOptions(argc - 1, argv + 1);
    if (auto* error = std::get_if<std::string>(&parsed)) {
        std::cerr << "operator-server: " << *error << "\n(see --help)\n";
        return 2;
    }
    const Options& options = std::get<Options>(parsed);
    if (options.help) {
        std::cout << helpText();
        return 0;
    }

    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    std::mutex logMutex;
    auto log = [&](const std::string& line) {
        if (options.quiet) {
            return;
        }
        std::lock_guard lock(logMutex);
        std::cerr << "operator-server: " << line << std::endl;
    };
    try {
        OperatorServer server(options, log);
        std::cout << "http 127.0.0.1:" << server.httpPort() << "\n";
        for (int zone = 1; zone <= 5; ++zone) {
            std::cout << "zone" << zone << " 127.0.0.1:" << server.zonePort(zone) << "\n";
        }
        std::cout << "ready" << std::endl;
        waitForStop(signals, options.exitAfter);
        server.stop();
    } catch (const std::exception& e) {
        std::cerr << "operator-server: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
