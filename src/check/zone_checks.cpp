#include "check/zone_checks.h"

#include <optional>

#include "account/boards.h"
#include "account/port.h"
#include "account/requests.h"
#include "account/server_reply.h"
#include "check/detail_text.h"
#include "platform/tcp_socket.h"
#include "platform/tcp_stream.h"

namespace check {
namespace {

using Clock = std::chrono::steady_clock;

std::string zoneName(int zone) {
    return "zone" + std::to_string(zone);
}

std::string dotted(platform::Ipv4 address) {
    // Network byte order: the first byte in memory is the first number.
    auto* bytes = reinterpret_cast<const unsigned char*>(&address);
    return std::to_string(bytes[0]) + "." + std::to_string(bytes[1]) + "." +
           std::to_string(bytes[2]) + "." + std::to_string(bytes[3]);
}

// What stands in the way of reaching a zone: nothing once its address and port are good.
std::optional<std::string> zoneUnusable(int zone, const PageFindings& page) {
    if (!page.values) {
        return page.noValuesBecause;
    }
    const core::ZoneRow& problems = page.problems.zones[zone - 1];
    std::string both = problems.address;
    if (!problems.port.empty()) {
        both += (both.empty() ? "" : ", ") + problems.port;
    }
    if (!both.empty()) {
        return both + " (see values)";
    }
    return std::nullopt;
}

// A connection to a zone as a player's launcher makes it, within the check's deadline.
struct ZoneConnection {
    platform::TcpStream stream;
    std::string target;  // the address and port tried, as the detail shows them
    std::optional<std::string> failure;
    std::chrono::milliseconds took{0};
};

void connectToZone(const core::ZoneRow& row, ZoneConnection& connection) {
    std::uint16_t port = account::wirePort(account::portFromText(row.port));
    auto address = platform::resolveIpv4(row.address);
    if (!address) {
        connection.target = row.address + ":" + std::to_string(port);
        connection.failure = "cannot find the address of " + row.address;
        return;
    }
    std::string ip = dotted(*address);
    connection.target =
        (ip == row.address ? ip : row.address + " (" + ip + ")") + ":" + std::to_string(port);
    auto started = Clock::now();
    auto outcome =
        connection.stream.connect(ip, port, static_cast<int>(zoneConnectDeadline.count() * 1000));
    connection.took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - started);
    switch (outcome) {
        case platform::TcpStream::ConnectResult::Connected:
            break;
        case platform::TcpStream::ConnectResult::TimedOut:
            connection.failure = connection.target + ": no connection within " +
                                 std::to_string(zoneConnectDeadline.count()) + " s";
            break;
        case platform::TcpStream::ConnectResult::Failed:
            connection.failure = connection.target + ": connection refused or unreachable";
            break;
    }
}

// What a player's launcher would make of one arrival.
class SeenReply : public account::ReplyActions {
  public:
    void boardReply(int slot, std::string) override { board = slot; }
    void statusReply(account::ReplyCode code) override { status = code; }

    std::optional<int> board;
    std::optional<account::ReplyCode> status;
};

const char* codeName(account::ReplyCode code) {
    using account::ReplyCode;
    switch (code) {
        case ReplyCode::RegisterOk:
            return "RegisterOk";
        case ReplyCode::AccountTaken:
            return "AccountTaken";
        case ReplyCode::PasswordChanged:
            return "PasswordChanged";
        case ReplyCode::WrongPassword:
            return "WrongPassword";
        case ReplyCode::VersionCurrent:
            return "VersionCurrent";
        case ReplyCode::VersionOutdated:
            return "VersionOutdated";
        case ReplyCode::LoginOk:
            return "LoginOk";
        case ReplyCode::CurrencyCleared:
            return "CurrencyCleared";
    }
    return "?";
}

// The bytes of one arrival, as one read notification takes them: whatever the first
// bytes came with, and nothing that comes later.
std::optional<std::string> receiveArrival(platform::TcpStream& stream, bool& closed) {
    std::string arrival;
    char buffer[4096];
    long got = stream.receive(buffer, sizeof buffer,
                              static_cast<int>(versionReplyDeadline.count() * 1000));
    closed = got == 0;
    if (got <= 0) {
        return std::nullopt;
    }
    arrival.append(buffer, static_cast<std::size_t>(got));
    while ((got = stream.receive(buffer, sizeof buffer, 0)) > 0) {
        arrival.append(buffer, static_cast<std::size_t>(got));
    }
    return arrival;
}

}  // namespace

CheckResult checkZone(int zone, const PageFindings& page) {
    if (auto why = zoneUnusable(zone, page)) {
        return notChecked(zoneName(zone), *why);
    }
    ZoneConnection connection;
    connectToZone(page.values->zones[zone - 1], connection);
    if (connection.failure) {
        return failed(zoneName(zone), *connection.failure);
    }
    return passed(zoneName(zone), connection.target + " connected in " +
                                      std::to_string(connection.took.count()) + " ms");
}

CheckResult checkVersion(const PageFindings& page, const CheckResult& zone1) {
    if (!page.values) {
        return notChecked("version", page.noValuesBecause);
    }
    if (!zone1.ok) {
        return notChecked("version", "zone 1 cannot be reached (see zone1)");
    }
    ZoneConnection connection;
    connectToZone(page.values->zones[0], connection);
    if (connection.failure) {
        return failed("version", *connection.failure);
    }
    const std::string& version = page.values->versionNumber;
    std::string request = account::versionRequest(version);
    if (!connection.stream.sendAll(request.data(), request.size(),
                                   static_cast<int>(versionReplyDeadline.count() * 1000))) {
        return failed("version", connection.target + ": the request could not be sent");
    }
    bool closed = false;
    auto arrival = receiveArrival(connection.stream, closed);
    if (!arrival) {
        return failed("version", closed
                                     ? connection.target + " closed the connection without a reply"
                                     : "no reply from " + connection.target + " within " +
                                           std::to_string(versionReplyDeadline.count()) + " s");
    }
    SeenReply seen;
    account::onServerReply(*arrival, seen);
    using account::ReplyCode;
    if (seen.status == ReplyCode::VersionCurrent) {
        return passed("version",
                      "current: zone 1 calls version " + quoted(version) + " the latest");
    }
    if (seen.status == ReplyCode::VersionOutdated) {
        return passed("version",
                      "outdated: zone 1 offers the patch to players of version " + quoted(version));
    }
    if (seen.status) {
        return failed("version", "zone 1 answers the version check with " +
                                     std::to_string(static_cast<int>(*seen.status)) + " (" +
                                     codeName(*seen.status) + "), not 5 or 6");
    }
    if (seen.board) {
        return failed("version", "zone 1 answers the version check with the " +
                                     std::string(account::boards[*seen.board].tag) +
                                     " leaderboard");
    }
    return failed("version", "zone 1 answers the version check with " +
                                 std::to_string(arrival->size()) +
                                 " bytes the launcher does not recognise: " + hexBytes(*arrival));
}

}  // namespace check
