// A redirect's Location from any server: the address it leads to, and the request sent
// there. No Location may add a line to that request or make its path longer than the
// starting address may be.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "game/download/address.h"
#include "game/download/request.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const game::Address from = *game::parseAddress("http://patch.example.org:8080/p.exe");
    std::string location(reinterpret_cast<const char*>(data), size);
    auto target = game::redirectTarget(from, location);
    if (!target) {
        return 0;
    }
    if (target->scheme != game::Scheme::Http || target->path.empty() ||
        target->path[0] != '/' || target->port < 1 || target->port > 65535 ||
        game::requestPath(target->path).size() > game::longestRequestPath) {
        __builtin_trap();
    }
    std::string request = game::buildRequest(target->path, target->hostField, "http://r", 12345);
    // GET, Host, Accept, Referer, User-Agent, Range, Pragma, Cache-Control, Connection and
    // the empty line: ten line ends, and no stray one.
    auto ends = std::count(request.begin(), request.end(), '\n');
    auto returns = std::count(request.begin(), request.end(), '\r');
    if (ends != 10 || returns != 10 || request.find("\r\n\r\n") != request.size() - 4) {
        __builtin_trap();
    }
    return 0;
}
