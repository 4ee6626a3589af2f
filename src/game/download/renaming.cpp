#include "game/download/renaming.h"

#include <cctype>

namespace game {

namespace {

constexpr int highestNumber = 99;

bool isDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// The number n of an "(n)" (one or two digits) closing stem, and where it begins.
std::optional<std::pair<int, std::size_t>> trailingNumber(const std::string& stem) {
    if (stem.size() < 3 || stem.back() != ')') {
        return std::nullopt;
    }
    std::size_t open = stem.rfind('(');
    if (open == std::string::npos) {
        return std::nullopt;
    }
    std::string digits = stem.substr(open + 1, stem.size() - open - 2);
    if (digits.empty() || digits.size() > 2 || !isDigit(digits[0]) ||
        (digits.size() == 2 && !isDigit(digits[1]))) {
        return std::nullopt;
    }
    return std::make_pair(std::stoi(digits), open);
}

}  // namespace

std::optional<std::string> nextFreeName(const std::string& path) {
    std::size_t slash = path.find_last_of("/\\");
    std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    std::size_t dot = path.find('.', nameStart);
    if (dot == std::string::npos) {
        dot = path.size();
    }
    std::string stem = path.substr(0, dot);
    std::string rest = path.substr(dot);
    int next = 1;
    if (auto numbered = trailingNumber(stem.substr(nameStart))) {
        next = numbered->first + 1;
        stem.resize(nameStart + numbered->second);
    }
    if (next > highestNumber) {
        return std::nullopt;
    }
    return stem + "(" + std::to_string(next) + ")" + rest;
}

}  // namespace game
