#include "check/report.h"

#include <gtest/gtest.h>

#include "platform/encoding.h"

namespace {

using check::ReportFormat;

std::string reportOf(ReportFormat format, const std::vector<check::CheckResult>& results) {
    std::string written;
    std::vector<std::string> names;
    for (const auto& result : results) {
        names.push_back(result.name);
    }
    check::Report report(format, names, [&](std::string_view text) { written += text; });
    for (const auto& result : results) {
        report.add(result);
    }
    report.finish();
    return written;
}

// Details are GBK inside; a report is UTF-8, whatever a server put on its page.
const std::vector<check::CheckResult> results = {
    check::passed("page", "HTTP 200, 993 bytes, 3 ms"),
    check::failed("values", gbk("missing: 四区端口")),
    check::failed("serverList", "\x1B[2J\"quoted\" \\ end\x07"),
};

TEST(Report, TextHasAlignedColumnsEscapedControlsAndOneSummary) {
    EXPECT_EQ(reportOf(ReportFormat::Text, results),
              "ok    page        HTTP 200, 993 bytes, 3 ms\n"
              "FAIL  values      missing: 四区端口\n"
              "FAIL  serverList  \\x1B[2J\"quoted\" \\ end\\x07\n"
              "2 of 3 checks failed: values, serverList\n");
    EXPECT_EQ(reportOf(ReportFormat::Text, {results[0]}),
              "ok    page  HTTP 200, 993 bytes, 3 ms\n"
              "all 1 checks passed\n");
}

TEST(Report, JsonIsOneObjectPerLineAndNothingElse) {
    EXPECT_EQ(reportOf(ReportFormat::Json, results),
              "{\"check\":\"page\",\"ok\":true,\"detail\":\"HTTP 200, 993 bytes, 3 ms\"}\n"
              "{\"check\":\"values\",\"ok\":false,\"detail\":\"missing: 四区端口\"}\n"
              "{\"check\":\"serverList\",\"ok\":false,"
              "\"detail\":\"\\u001b[2J\\\"quoted\\\" \\\\ end\\u0007\"}\n");
}

}  // namespace
