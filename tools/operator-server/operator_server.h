#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "options.h"
#include "tcp_service.h"
#include "web_site.h"
#include "zone_server.h"

namespace operator_server {

// The whole demo operator: the web server and the five zones' account servers, all
// listening once the constructor returns. Throws std::runtime_error when a port cannot be
// bound or a page file cannot be read.
class OperatorServer {
  public:
    using Log = std::function<void(const std::string&)>;

    OperatorServer(const Options& options, Log log);
    ~OperatorServer();

    uint16_t httpPort() const { return web_->port(); }
    uint16_t zonePort(int zone) const { return zoneServices_[zone - 1]->port(); }
    const WebSite& site() const { return site_; }
    void stop();

  private:
    Log log_;
    std::array<Zone, 5> zones_;
    std::array<std::unique_ptr<TcpService>, 5> zoneServices_;
    WebSite site_;
    std::unique_ptr<TcpService> web_;
};

}  // namespace operator_server
