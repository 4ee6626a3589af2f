#include "account/date_time_text.h"

#include <gtest/gtest.h>

#include "platform/encoding.h"

namespace {

std::tm at(int year, int month, int day, int hour, int minute, int second) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    return t;
}

TEST(DateTimeText, EndsAtTheLastPartOfTheTimeThatIsNotZero) {
    struct Case {
        std::tm time;
        const char* text;
    };
    const Case cases[] = {
        {at(2026, 5, 6, 9, 0, 0), "2026年5月6日9时"},
        {at(2026, 5, 6, 0, 0, 0), "2026年5月6日"},
        {at(2026, 12, 31, 23, 59, 59), "2026年12月31日23时59分59秒"},
        {at(2026, 5, 6, 9, 30, 0), "2026年5月6日9时30分"},
        {at(2026, 5, 6, 0, 30, 0), "2026年5月6日0时30分"},
        {at(2026, 5, 6, 0, 0, 7), "2026年5月6日0时0分7秒"},
        {at(2026, 1, 1, 10, 0, 5), "2026年1月1日10时0分5秒"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(account::dateTimeText(c.time), gbk(c.text)) << c.text;
    }
}

}  // namespace
