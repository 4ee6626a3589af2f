// Reads and writes profile files of any content: nothing may crash, a value read back is
// within the limit and holds no zero byte, many keys read in one pass read as each alone,
// a key the writer can represent reads back exactly as written, and writing changes the
// bytes of one line at most: every other byte of the file stays as it was.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "core/gbk_text.h"
#include "core/profile_file.h"

namespace {

bool plain(const std::string& text) {
    return text.find_first_of(std::string("\r\n\0", 3)) == std::string::npos &&
           (text.empty() || (text.front() != ' ' && text.front() != '\t' && text.back() != ' ' &&
                             text.back() != '\t'));
}

bool quoted(const std::string& value) {
    return value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
           value.back() == value.front();
}

// A section name ends at its first "]" that is not the second byte of a Chinese
// character, so one that holds such a "]", or ends in the first byte of a character
// (which would take the closing "]" as its second), cannot be written.
bool closesAsWritten(const std::string& section) {
    std::size_t at = 0;
    while (at < section.size() && section[at] != ']') {
        at += core::isGbkLeadByte(static_cast<unsigned char>(section[at])) ? 2 : 1;
    }
    return at == section.size();
}

bool representable(const std::string& section, const std::string& key, const std::string& value) {
    return plain(section) && plain(key) && plain(value) && !quoted(value) &&
           closesAsWritten(section) && key.find('=') == std::string::npos &&
           (key.empty() || (key.front() != '[' && key.front() != ';'));
}

// Whether `written` is `file` with bytes of one line replaced or new bytes put in: the
// part of `file` that differs (between the longest common start and end) holds no line
// break, so no other line lost or changed a byte.
bool changesOneLineAtMost(const std::string& file, const std::string& written) {
    std::size_t shorter = std::min(file.size(), written.size());
    std::size_t start = 0;
    while (start < shorter && file[start] == written[start]) {
        ++start;
    }
    std::size_t end = 0;
    while (end < shorter - start &&
           file[file.size() - 1 - end] == written[written.size() - 1 - end]) {
        ++end;
    }
    std::string_view removed(file.data() + start, file.size() - end - start);
    return removed.find('\n') == std::string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    std::string section = input.ConsumeRandomLengthString(24);
    std::string key = input.ConsumeRandomLengthString(24);
    std::string value = input.ConsumeRandomLengthString(48);
    std::string file = input.ConsumeRemainingBytesAsString();

    std::string read = core::profileValue(file, section, key);
    if (read.size() > core::profileValueLimit || read.find('\0') != std::string::npos) {
        std::abort();
    }
    core::ProfileKey keys[] = {{section, key}, {key, value}, {section, value}};
    std::vector<std::string> together = core::profileValues(file, keys);
    for (std::size_t i = 0; i < std::size(keys); ++i) {
        if (together[i] != core::profileValue(file, keys[i].section, keys[i].key)) {
            std::abort();
        }
    }
    std::string written = core::withProfileValue(file, section, key, value);
    if (!changesOneLineAtMost(file, written)) {
        std::abort();
    }
    if (representable(section, key, value) && core::profileValue(written, section, key) != value) {
        std::abort();
    }
    return 0;
}
