#include "account/requests.h"

#include "platform/encoding.h"

namespace account {
namespace {

std::string join(std::string_view keyword, std::initializer_list<std::string_view> fields) {
    std::string request = gbk(keyword);
    bool first = true;
    for (std::string_view field : fields) {
        if (!first) {
            request += '|';
        }
        request += field;
        first = false;
    }
    return request;
}

}  // namespace

std::string registerRequest(std::string_view account, std::string_view password) {
    return join("注册|", {account, password});
}

std::string changePasswordRequest(std::string_view account, std::string_view oldPassword,
                                  std::string_view newPassword) {
    return join("修改|", {account, oldPassword, newPassword});
}

std::string loginRequest(std::string_view account, std::string_view password) {
    return join("登陆|", {account, password});
}

std::string clearCurrencyRequest(std::string_view account, std::string_view password) {
    return join("翔岳币|", {account, password});
}

std::string versionRequest(std::string_view version) {
    return join("验证版本|", {version});
}

std::string boardRequest(std::string_view tag) {
    return std::string(tag) + gbk("表");
}

}  // namespace account
