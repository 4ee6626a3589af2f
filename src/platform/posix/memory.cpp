#include "platform/memory.h"

#include <sys/mman.h>

#include <cstdint>

namespace platform {

void adviseLargeBuffer(void* data, std::size_t size) {
#ifdef MADV_HUGEPAGE
    // Only whole large pages inside the buffer can be advised.
    constexpr std::uintptr_t largePage = std::uintptr_t{2} << 20;
    auto begin = reinterpret_cast<std::uintptr_t>(data);
    std::uintptr_t first = (begin + largePage - 1) & ~(largePage - 1);
    std::uintptr_t last = (begin + size) & ~(largePage - 1);
    if (last > first) {
        ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
    }
#else
    (void)data;
    (void)size;
#endif
}

}  // namespace platform
