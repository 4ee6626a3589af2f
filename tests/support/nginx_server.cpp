#include "support/nginx_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <thread>

namespace testing_support {

namespace {

constexpr const char* nginxProgram = "/usr/sbin/nginx";

sockaddr_in loopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    return address;
}

// A port nothing listens on right now; nginx takes it a moment later.
int freePort() {
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = loopback(0);
    socklen_t length = sizeof address;
    bind(fd, reinterpret_cast<sockaddr*>(&address), length);
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    close(fd);
    return ntohs(address.sin_port);
}

bool accepting(int port) {
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = loopback(port);
    bool ok = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return ok;
}

}  // namespace

bool NginxServer::installed() {
    return access(nginxProgram, X_OK) == 0;
}

NginxServer::NginxServer(const std::string& prefix, const std::string& root,
                         const std::string& extraServerLines) {
    port_ = freePort();
    std::string config = prefix + "/nginx.conf";
    std::ofstream(config) << "daemon off;\n"
                             "master_process off;\n"
                             "worker_processes 1;\n"
                             "pid "
                          << prefix << "/nginx.pid;\n"
                          << "error_log " << prefix << "/error.log;\n"
                          << "events { worker_connections 64; }\n"
                             "http {\n"
                             "  access_log off;\n"
                             "  sendfile on;\n"
                             "  client_body_temp_path "
                          << prefix << "/body;\n"
                          << "  proxy_temp_path " << prefix << "/proxy;\n"
                          << "  fastcgi_temp_path " << prefix << "/fastcgi;\n"
                          << "  uwsgi_temp_path " << prefix << "/uwsgi;\n"
                          << "  scgi_temp_path " << prefix << "/scgi;\n"
                          << "  server {\n"
                             "    listen 127.0.0.1:"
                          << port_ << ";\n"
                          << "    root " << root << ";\n"
                          << "    " << extraServerLines << "\n"
                          << "  }\n"
                             "}\n";
    pid_ = fork();
    if (pid_ == 0) {
        execl(nginxProgram, nginxProgram, "-p", prefix.c_str(), "-c", config.c_str(), "-e",
              (prefix + "/error.log").c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    for (int tries = 0; tries < 200 && pid_ > 0; ++tries) {
        if (accepting(port_)) {
            return;
        }
        if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
            pid_ = -1;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

NginxServer::~NginxServer() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
}

std::string NginxServer::url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

}  // namespace testing_support
