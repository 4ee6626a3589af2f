#include "platform/memory.h"

namespace platform {

// Windows gives large pages only to accounts holding the lock-pages privilege, which a
// player's account does not; the buffer works the same without.
void adviseLargeBuffer(void*, std::size_t) {}

}  // namespace platform
