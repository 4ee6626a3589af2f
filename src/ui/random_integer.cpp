#include "ui/random_integer.h"

#include <algorithm>

namespace ui {

int Generator::next() {
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int>((state_ >> 16) & 0x7FFF);
}

int randomInteger(Generator& generator, int min, int max) {
    min = std::max(min, 0);
    max = std::max(max, 0);
    if (max < min) {
        std::swap(min, max);
    }
    long long span = static_cast<long long>(max) - min + 1;
    return static_cast<int>(min + generator.next() % span);
}

}  // namespace ui
