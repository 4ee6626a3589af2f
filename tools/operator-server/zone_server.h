#pragma once

#include <atomic>
#include <functional>
#include <map>
#include <string>

#include "account_book.h"

namespace operator_server {

// The reply codes of the account protocol, sent as four little-endian bytes.
enum class ReplyCode : int32_t {
    RegisterOk = 0,
    AccountTaken = 1,
    PasswordChanged = 2,
    WrongPassword = 3,
    VersionCurrent = 5,
    VersionOutdated = 6,
    LoginOk = 7,
    CurrencyCleared = 8,
};

// Everything one zone's account server knows.
struct Zone {
    int number = 1;  // 1 to 5
    AccountBook accounts;
    std::string currentVersion;                 // GBK; the version check compares against it
    std::map<std::string, std::string> boards;  // tag ("PK", ...) -> list content
};

struct ZoneAnswer {
    std::string reply;  // bytes to send; empty: send nothing
    std::string note;   // UTF-8 summary for the server's log
};

// Answers one request of the account protocol. A request the server does not understand
// gets no reply, as the launcher drops anything it does not recognise anyway.
ZoneAnswer answerRequest(const std::string& request, Zone& zone);

// Serves one launcher connection: each arrival is one request, each reply one send; the
// connection stays open for further requests until the launcher closes it.
void serveZoneConnection(int fd, Zone& zone, const std::function<void(const std::string&)>& log,
                         const std::atomic<bool>& stopping);

// A zone that has hung: it takes what arrives and never answers, until the launcher closes
// the connection or the server stops.
void serveSilentZoneConnection(int fd, const std::atomic<bool>& stopping);

}  // namespace operator_server
