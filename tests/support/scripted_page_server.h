#pragma once

#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testing_support {

// A web server on 127.0.0.1 for the launcher's page fetches. Each path has a script of
// bodies: every GET of it answers 200 with the next body, and the last one again once the
// script runs out; unknown paths answer 404. It keeps the requested paths in order and
// stops when it is destroyed.
class ScriptedPageServer {
  public:
    ScriptedPageServer();
    ~ScriptedPageServer();
    ScriptedPageServer(const ScriptedPageServer&) = delete;
    ScriptedPageServer& operator=(const ScriptedPageServer&) = delete;

    int port() const { return port_; }
    std::string host() const { return "127.0.0.1:" + std::to_string(port_); }

    void serve(const std::string& path, std::vector<std::string> bodies);
    std::vector<std::string> requests() const;
    int count(const std::string& path) const;

  private:
    void run();
    void answer(int client);

    int listener_ = -1;
    int port_ = 0;
    int stopPipe_[2] = {-1, -1};
    mutable std::mutex mutex_;
    std::map<std::string, std::deque<std::string>> scripts_;
    std::vector<std::string> requests_;
    std::thread thread_;
};

}  // namespace testing_support
