// The marker search against a slower reference: every occurrence found byte by byte,
// accepted only where a walk over the GBK characters from the start lands on it.
#include <cstdlib>
#include <string>
#include <vector>

#include "core/config_page.h"
#include "core/gbk_text.h"
#include "platform/encoding.h"

namespace {

bool referenceSearch(const std::string& text, const std::string& marker) {
    std::vector<bool> boundary(text.size() + 1, false);
    for (size_t at = 0; at < text.size();) {
        boundary[at] = true;
        at += core::isGbkLeadByte(static_cast<unsigned char>(text[at])) ? 2 : 1;
    }
    for (size_t at = text.find(marker); at != std::string::npos; at = text.find(marker, at + 1)) {
        if (boundary[at]) {
            return true;
        }
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string marker = gbk("[选择项]");
    std::string text(core::textOf(std::string_view(reinterpret_cast<const char*>(data), size)));
    if (core::hasPageMarker(text) != referenceSearch(text, marker)) {
        std::abort();
    }
    return 0;
}
