#pragma once

#include <atomic>
#include <string_view>

namespace operator_server {

enum class Wait { Ready, TimedOut, Stopping };

// Waits until fd is readable (or hung up), checking the stop flag every 100 ms so a
// shutdown never waits for an idle client.
Wait waitReadable(int fd, const std::atomic<bool>& stopping, int timeoutMs);

// Writes all bytes; false when the peer has gone. Never raises SIGPIPE.
bool sendAll(int fd, std::string_view bytes);

}  // namespace operator_server
