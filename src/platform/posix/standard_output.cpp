#include "platform/standard_output.h"

#include <cstdio>

namespace platform {
namespace {

void writeAll(std::FILE* stream, std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
}

}  // namespace

void writeStandardOutput(std::string_view utf8) {
    writeAll(stdout, utf8);
}

void writeStandardError(std::string_view utf8) {
    writeAll(stderr, utf8);
}

}  // namespace platform
