#pragma once

#include <sys/types.h>

#include <string>

namespace testing_support {

// Debian's nginx serving a folder on a free loopback port, with its own configuration and
// prefix in a temporary folder; stopped when destroyed.
class NginxServer {
  public:
    static bool installed();

    // extraServerLines go inside the server block (e.g. "limit_rate 8m;").
    NginxServer(const std::string& prefix, const std::string& root,
                const std::string& extraServerLines = {});
    ~NginxServer();
    NginxServer(const NginxServer&) = delete;
    NginxServer& operator=(const NginxServer&) = delete;

    bool running() const { return pid_ > 0; }
    int port() const { return port_; }
    std::string url(const std::string& path) const;

  private:
    pid_t pid_ = -1;
    int port_ = 0;
};

}  // namespace testing_support
