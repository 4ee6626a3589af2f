#include "account_book.h"

namespace operator_server {

bool AccountBook::add(const std::string& account, const std::string& password) {
    std::lock_guard lock(mutex_);
    return accounts_.emplace(account, Entry{password, startingCurrency}).second;
}

bool AccountBook::checkPassword(const std::string& account, const std::string& password) const {
    std::lock_guard lock(mutex_);
    auto it = accounts_.find(account);
    return it != accounts_.end() && it->second.password == password;
}

bool AccountBook::changePassword(const std::string& account, const std::string& oldPassword,
                                 const std::string& newPassword) {
    std::lock_guard lock(mutex_);
    auto it = accounts_.find(account);
    if (it == accounts_.end() || it->second.password != oldPassword) {
        return false;
    }
    it->second.password = newPassword;
    return true;
}

bool AccountBook::clearCurrency(const std::string& account, const std::string& password) {
    std::lock_guard lock(mutex_);
    auto it = accounts_.find(account);
    if (it == accounts_.end() || it->second.password != password) {
        return false;
    }
    it->second.currency = 0;
    return true;
}

long AccountBook::currency(const std::string& account) const {
    std::lock_guard lock(mutex_);
    auto it = accounts_.find(account);
    return it == accounts_.end() ? 0 : it->second.currency;
}

}  // namespace operator_server
