#pragma once

namespace testing_support {

// A listening TCP socket on 127.0.0.1 at a port the system picks. Returns the socket and
// stores the port; throws std::runtime_error naming `who` when it cannot listen.
int listenOnLoopback(int backlog, int& port, const char* who);

}  // namespace testing_support
