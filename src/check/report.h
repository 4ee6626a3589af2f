#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "check/check_result.h"

namespace check {

enum class ReportFormat {
    Text,  // aligned columns for a person, and one summary line
    Json,  // one object per line, {"check":NAME,"ok":BOOL,"detail":TEXT}, nothing else
};

// Writes each result as it comes, in UTF-8, through `write`.
class Report {
  public:
    using Write = std::function<void(std::string_view utf8)>;

    // names: every check the report will hold, for the width of the name column.
    Report(ReportFormat format, const std::vector<std::string>& names, Write write);

    void add(const CheckResult& result);
    // The summary line after the results (none in JSON).
    void finish();
    bool allPassed() const { return failures_.empty(); }

  private:
    ReportFormat format_;
    std::size_t nameWidth_ = 0;
    Write write_;
    int count_ = 0;
    std::vector<std::string> failures_;
};

}  // namespace check
