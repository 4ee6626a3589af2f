#include "page_mistakes.h"

#include <array>
#include <sstream>

namespace operator_server {
namespace {

const std::array<const char*, 5> zoneNumerals = {"一", "二", "三", "四", "五"};

std::string keyOf(const std::string& line) {
    std::size_t equals = line.find('=');
    return equals == std::string::npos ? std::string() : line.substr(0, equals);
}

}  // namespace

std::string withPageMistakes(const std::string& page, const Mistakes& mistakes) {
    std::istringstream lines(page);
    std::string result;
    bool inDroppedSection = false;
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("[")) {
            inDroppedSection = mistakes.noMarker && line == "[选择项]";
        }
        std::string key = keyOf(line);
        if (inDroppedSection || mistakes.missingKeys.contains(key)) {
            continue;
        }
        for (int zone : mistakes.badPorts) {
            if (key == std::string(zoneNumerals[zone - 1]) + "区端口") {
                line = key + "=x" + line.substr(key.size() + 1);
            }
        }
        result += line + "\n";
    }
    return result;
}

std::string withListMistakes(const std::string& page, const Mistakes& mistakes) {
    if (!mistakes.noListHeader) {
        return page;
    }
    std::string result = page;
    result.erase(0, result.find('\n') + 1);
    return result;
}

}  // namespace operator_server
