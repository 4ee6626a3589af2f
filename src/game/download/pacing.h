#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>

#include "core/task_param.h"

namespace game {

// How one connection keeps to its share of the task's speed limit: how much one receive
// asks for, and how long to wait after bytes have arrived.
class Pacing {
  public:
    explicit Pacing(const core::TaskParam& param);

    // readBlock, at most a part's largest write, and under a limit at most the share.
    std::size_t blockSize() const { return block_; }
    // Bytes have arrived at `now`: the wait before the next receive that keeps the
    // connection's average since its first bytes at its share. Zero without a limit.
    std::chrono::milliseconds after(std::int64_t bytes, std::chrono::steady_clock::time_point now);

  private:
    std::size_t block_;
    std::int64_t share_ = 0;  // bytes a second; 0 without a limit
    std::chrono::steady_clock::time_point start_{};
    std::int64_t bytes_ = 0;
};

}  // namespace game
