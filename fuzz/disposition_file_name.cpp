// The file name a server proposes in Content-Disposition: whatever it sends, the name
// the download takes stays inside the chosen folder.
#include <cstddef>
#include <cstdint>
#include <string>

#include "game/download/reply_head.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string disposition(reinterpret_cast<const char*>(data), size);
    std::string name = game::dispositionFileName(disposition);
    if (name.find_first_of("/\\:") != std::string::npos || name == "." || name == ".." ||
        disposition.find(name) == std::string::npos) {
        __builtin_trap();
    }
    return 0;
}
