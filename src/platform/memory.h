#pragma once

#include <cstddef>

namespace platform {

// A hint that the buffer is about to be filled in full: back it with large pages where the
// system offers them, which saves most of the page faults of filling a big buffer. Does
// nothing where unsupported; the buffer works either way.
void adviseLargeBuffer(void* data, std::size_t size);

}  // namespace platform
