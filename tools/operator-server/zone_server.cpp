#include "zone_server.h"

#include <sys/socket.h>

#include "net_io.h"
#include "platform/encoding.h"

namespace operator_server {
namespace {

constexpr int idleTimeoutMs = 30 * 60 * 1000;

std::string codeBytes(ReplyCode code) {
    auto u = static_cast<uint32_t>(code);
    return {static_cast<char>(u & 0xFF), static_cast<char>((u >> 8) & 0xFF),
            static_cast<char>((u >> 16) & 0xFF), static_cast<char>((u >> 24) & 0xFF)};
}

const char* codeName(ReplyCode code) {
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

ZoneAnswer status(ReplyCode code, const std::string& what) {
    return {codeBytes(code), what + " -> " + codeName(code)};
}

// Splits off the text before the next "|"; the last field takes the rest, "|" included, so
// a password may hold the separator.
std::string takeField(std::string& rest) {
    size_t bar = rest.find('|');
    std::string field = rest.substr(0, bar);
    rest = bar == std::string::npos ? std::string() : rest.substr(bar + 1);
    return field;
}

}  // namespace

ZoneAnswer answerRequest(const std::string& request, Zone& zone) {
    static const std::string boardSuffix = gbk("表");
    if (request.size() == 2 + boardSuffix.size() && request.ends_with(boardSuffix)) {
        auto board = zone.boards.find(request.substr(0, 2));
        if (board != zone.boards.end()) {
            return {board->first + board->second, "board " + board->first};
        }
    }

    size_t bar = request.find('|');
    if (bar == std::string::npos) {
        return {{}, "ignored: " + platform::gbkToUtf8(request)};
    }
    std::string keyword = request.substr(0, bar);
    std::string rest = request.substr(bar + 1);
    if (keyword == gbk("注册")) {
        std::string account = takeField(rest);
        std::string shown = "注册 " + platform::gbkToUtf8(account);
        return status(
            zone.accounts.add(account, rest) ? ReplyCode::RegisterOk : ReplyCode::AccountTaken,
            shown);
    }
    if (keyword == gbk("修改")) {
        std::string account = takeField(rest);
        std::string oldPassword = takeField(rest);
        std::string shown = "修改 " + platform::gbkToUtf8(account);
        return status(zone.accounts.changePassword(account, oldPassword, rest)
                          ? ReplyCode::PasswordChanged
                          : ReplyCode::WrongPassword,
                      shown);
    }
    if (keyword == gbk("登陆")) {
        std::string account = takeField(rest);
        std::string shown = "登陆 " + platform::gbkToUtf8(account);
        return status(zone.accounts.checkPassword(account, rest) ? ReplyCode::LoginOk
                                                                 : ReplyCode::WrongPassword,
                      shown);
    }
    if (keyword == gbk("翔岳币")) {
        std::string account = takeField(rest);
        std::string shown = "翔岳币 " + platform::gbkToUtf8(account) + " (held " +
                            std::to_string(zone.accounts.currency(account)) + ")";
        return status(zone.accounts.clearCurrency(account, rest) ? ReplyCode::CurrencyCleared
                                                                 : ReplyCode::WrongPassword,
                      shown);
    }
    if (keyword == gbk("验证版本")) {
        std::string shown = "验证版本 " + platform::gbkToUtf8(rest);
        return status(
            rest == zone.currentVersion ? ReplyCode::VersionCurrent : ReplyCode::VersionOutdated,
            shown);
    }
    return {{}, "ignored: " + platform::gbkToUtf8(request)};
}

void serveZoneConnection(int fd, Zone& zone, const std::function<void(const std::string&)>& log,
                         const std::atomic<bool>& stopping) {
    char buffer[4096];
    while (waitReadable(fd, stopping, idleTimeoutMs) == Wait::Ready) {
        ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0) {
            return;
        }
        ZoneAnswer answer = answerRequest(std::string(buffer, static_cast<size_t>(n)), zone);
        log("zone " + std::to_string(zone.number) + ": " + answer.note);
        // One reply, one send: the launcher takes each arrival as one whole reply.
        if (!answer.reply.empty() && !sendAll(fd, answer.reply)) {
            return;
        }
    }
}

void serveSilentZoneConnection(int fd, const std::atomic<bool>& stopping) {
    char buffer[4096];
    while (waitReadable(fd, stopping, idleTimeoutMs) == Wait::Ready) {
        if (::recv(fd, buffer, sizeof buffer, 0) <= 0) {
            return;
        }
    }
}

}  // namespace operator_server
