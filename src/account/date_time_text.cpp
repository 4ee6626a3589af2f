#include "account/date_time_text.h"

#include "platform/encoding.h"

namespace account {

std::string dateTimeText(const std::tm& t) {
    auto n = [](int value) { return std::to_string(value); };
    std::string text =
        n(t.tm_year + 1900) + gbk("年") + n(t.tm_mon + 1) + gbk("月") + n(t.tm_mday) + gbk("日");
    if (t.tm_sec != 0) {
        text += n(t.tm_hour) + gbk("时") + n(t.tm_min) + gbk("分") + n(t.tm_sec) + gbk("秒");
    } else if (t.tm_min != 0) {
        text += n(t.tm_hour) + gbk("时") + n(t.tm_min) + gbk("分");
    } else if (t.tm_hour != 0) {
        text += n(t.tm_hour) + gbk("时");
    }
    return text;
}

}  // namespace account
