#include "game/download/pacing.h"

#include <algorithm>

#include "game/download/parts_table.h"

namespace game {

Pacing::Pacing(const core::TaskParam& param)
    : block_(static_cast<std::size_t>(std::clamp(param.readBlock, 1, PartsTable::largestWrite))) {
    if (param.speedLimit > 0) {
        share_ = std::max(1, param.speedLimit / std::max(param.threadCount, 1));
        block_ = std::min(block_, static_cast<std::size_t>(share_));
    }
}

std::chrono::milliseconds Pacing::after(std::int64_t bytes,
                                        std::chrono::steady_clock::time_point now) {
    if (share_ == 0) {
        return std::chrono::milliseconds(0);
    }
    if (bytes_ == 0) {
        start_ = now;
    }
    bytes_ += bytes;
    auto due = start_ + std::chrono::milliseconds(bytes_ * 1000 / share_);
    return std::max(std::chrono::duration_cast<std::chrono::milliseconds>(due - now),
                    std::chrono::milliseconds(0));
}

}  // namespace game
