// Reads and writes profile files of any content: nothing may crash, a value read back is
// within the limit and holds no zero byte, and a key the writer can represent reads back
// exactly as written.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

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

bool representable(const std::string& section, const std::string& key, const std::string& value) {
    return plain(section) && plain(key) && plain(value) && !quoted(value) &&
           key.find('=') == std::string::npos &&
           (key.empty() || (key.front() != '[' && key.front() != ';'));
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
    std::string written = core::withProfileValue(file, section, key, value);
    if (representable(section, key, value) && core::profileValue(written, section, key) != value) {
        std::abort();
    }
    return 0;
}
