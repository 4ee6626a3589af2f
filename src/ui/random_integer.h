#pragma once

#include <cstdint>

namespace ui {

// The launcher's one number sequence: a linear congruential generator whose state starts at
// 1 and is never reseeded, so the verification codes repeat on every run (41, 18467, ...).
class Generator {
  public:
    // Next number from 0 to 32767.
    int next();

  private:
    std::uint32_t state_ = 1;
};

// A whole number from min to max, both included; the bounds are swapped when max is below
// min, and a negative bound counts as 0.
int randomInteger(Generator& generator, int min, int max);

}  // namespace ui
