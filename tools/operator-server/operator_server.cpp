#include "operator_server.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

#include "demo_content.h"
#include "patch_signer.h"
#include "platform/encoding.h"

namespace operator_server {
namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path);
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string readPage(const std::string& path, bool utf8) {
    std::string bytes = readFile(path);
    return utf8 ? gbk(bytes) : bytes;
}

}  // namespace

OperatorServer::OperatorServer(const Options& options, Log log) : log_(std::move(log)) {
    DemoSettings demo;
    demo.currentVersion = options.currentVersion;
    demo.pageVersion = options.pageVersion.value_or(options.currentVersion);
    demo.patchDirectory = "/patch";
    demo.patchFileName = options.patchFileName;

    // Everything binds first: the built-in page names the ports (which --port 0 and
    // --zone-port-base 0 leave to the system) and is complete before anyone is served.
    for (int k = 0; k < 5; ++k) {
        Zone& zone = zones_[k];
        zone.number = k + 1;
        zone.currentVersion = gbk(options.currentVersion);
        zone.boards = demoBoards(k + 1);
        zone.accounts.add("demo01", "123456");
        uint16_t port = options.zonePortBase == 0 ? 0 : uint16_t(options.zonePortBase + k + 1);
        zoneServices_[k] = std::make_unique<TcpService>(port);
        demo.zonePorts[k] = zoneServices_[k]->port();
    }
    web_ = std::make_unique<TcpService>(options.port);
    demo.httpPort = web_->port();

    const Mistakes& mistakes = options.mistakes;
    site_.configPage = options.pageFile ? readPage(*options.pageFile, options.utf8Pages)
                                        : demoConfigPage(demo, mistakes);
    site_.serverPage = options.serverPageFile ? readPage(*options.serverPageFile, options.utf8Pages)
                                              : demoServerPage(mistakes);
    site_.patchPath = demo.patchDirectory + "/" + options.patchFileName;
    site_.patch = options.patchFile ? readFile(*options.patchFile)
                                    : demoPatch(options.patchSize, options.currentVersion);
    site_.patchRate = options.patchRate;
    if (options.signWith) {
        // Any other bytes make a signature that is well formed and wrong.
        site_.patchSignature = signPatch(
            *options.signWith, options.badSignature ? site_.patch + "(tampered)" : site_.patch);
    }
    site_.ignoreRanges = mistakes.noRanges;
    site_.hidePatchSize = mistakes.noPatchSize;
    site_.patchStatus = mistakes.patchStatus;
    site_.redirectLoop = mistakes.redirectLoop;

    for (int k = 0; k < 5; ++k) {
        if (mistakes.zonesDown.contains(k + 1)) {
            // The page still names the port; nothing listens there any more.
            zoneServices_[k]->stop();
        } else if (mistakes.zonesSilent.contains(k + 1)) {
            zoneServices_[k]->start([](int fd, const std::atomic<bool>& stopping) {
                serveSilentZoneConnection(fd, stopping);
            });
        } else {
            zoneServices_[k]->start(
                [this, &zone = zones_[k]](int fd, const std::atomic<bool>& stopping) {
                    serveZoneConnection(fd, zone, log_, stopping);
                });
        }
    }
    web_->start([this](int fd, const std::atomic<bool>& stopping) {
        serveWebConnection(fd, site_, stopping);
    });
}

OperatorServer::~OperatorServer() {
    stop();
}

void OperatorServer::stop() {
    if (web_) {
        web_->stop();
    }
    for (auto& service : zoneServices_) {
        if (service) {
            service->stop();
        }
    }
}

}  // namespace operator_server
