#pragma once

#include "account/account_context.h"

namespace account {

// The handlers of the account buttons. Each checks its fields in a fixed order, stops at
// the first failure with its own message, and otherwise sends one request and returns;
// what the player sees next comes from the reply actions.
class AccountOperations {
  public:
    explicit AccountOperations(AccountContext& context) : c_(context) {}

    void registerAccount();     // 确定注册
    void changePassword();      // 确定修改
    void logIn();               // 登陆
    void runChosenOperation();  // 确定操作: remove flower effects or clear the currency
    void checkVersion();        // the version-check picture button

  private:
    void removeFlowerEffectsAndLog();
    std::string field(std::string_view name) const;
    void inputError(const char* message);

    AccountContext& c_;
};

}  // namespace account
