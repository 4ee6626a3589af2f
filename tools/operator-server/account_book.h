#pragma once

#include <map>
#include <mutex>
#include <string>

namespace operator_server {

// One zone's accounts, kept in memory for the life of the server. Accounts and passwords
// are GBK bytes compared exactly. Safe to use from several connections at once.
class AccountBook {
  public:
    // False when the account exists already.
    bool add(const std::string& account, const std::string& password);
    bool checkPassword(const std::string& account, const std::string& password) const;
    // False for an unknown account or a wrong old password.
    bool changePassword(const std::string& account, const std::string& oldPassword,
                        const std::string& newPassword);
    // Sets the account's currency to zero; false for an unknown account or a wrong password.
    bool clearCurrency(const std::string& account, const std::string& password);
    long currency(const std::string& account) const;

  private:
    struct Entry {
        std::string password;
        long currency;
    };
    static constexpr long startingCurrency = 1000;

    mutable std::mutex mutex_;
    std::map<std::string, Entry> accounts_;
};

}  // namespace operator_server
