#pragma once

#include <string>

namespace check {

// The outcome of one check of an operator's setup. The detail is GBK, like every text of
// the launcher, since it quotes the page's own keys and values.
struct CheckResult {
    std::string name;
    bool ok = false;
    std::string detail;
};

inline CheckResult passed(std::string name, std::string detail) {
    return {std::move(name), true, std::move(detail)};
}

inline CheckResult failed(std::string name, std::string detail) {
    return {std::move(name), false, std::move(detail)};
}

// A check that cannot run because one it builds on failed.
inline CheckResult notChecked(std::string name, const std::string& because) {
    return failed(std::move(name), "not checked: " + because);
}

}  // namespace check
