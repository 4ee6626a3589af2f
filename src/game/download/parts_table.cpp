#include "game/download/parts_table.h"

#include <algorithm>

namespace game {

void PartsTable::divide(std::int32_t total, int threadCount) {
    parts_.clear();
    total_ = total;
    wholeFile_.reset();
    int count = total < smallestPart ? 1 : std::max(threadCount, 1);
    std::int32_t each = total / count;
    for (int i = 0; i < count; ++i) {
        Part part;
        part.start = each * i;
        part.length = i + 1 == count ? total - part.start : each;
        parts_.push_back(part);
    }
}

std::optional<int> PartsTable::take() {
    if (auto free = takeFree()) {
        return free;
    }
    return splitLargest();
}

std::optional<int> PartsTable::takeFree() {
    for (int i = 0; i < size(); ++i) {
        Part& part = parts_[static_cast<std::size_t>(i)];
        if (!part.taken && !part.complete()) {
            part.taken = true;
            return i;
        }
    }
    return std::nullopt;
}

std::optional<int> PartsTable::splitLargest() {
    if (wholeFile_) {
        return std::nullopt;
    }
    int largest = -1;
    for (int i = 0; i < size(); ++i) {
        if (largest < 0 || part(i).left() > part(largest).left()) {
            largest = i;
        }
    }
    if (largest < 0 || part(largest).left() < 2 * smallestPart) {
        return std::nullopt;
    }
    Part& old = parts_[static_cast<std::size_t>(largest)];
    std::int32_t left = old.left();
    std::int32_t kept = left - left / 2;
    old.length = old.done + kept;
    Part added;
    added.start = old.start + old.length;
    added.length = left / 2;
    added.taken = true;
    parts_.push_back(added);
    return size() - 1;
}

bool PartsTable::takeWholeFile(int index) {
    if (wholeFile_ && *wholeFile_ != index) {
        return false;
    }
    wholeFile_ = index;
    for (int i = 0; i < size(); ++i) {
        Part& part = parts_[static_cast<std::size_t>(i)];
        part.done = 0;
        if (i == index) {
            part.start = 0;
            part.length = total_;
            part.taken = true;
        } else {
            part.length = 0;
        }
    }
    return true;
}

void PartsTable::release(int index) {
    parts_.at(static_cast<std::size_t>(index)).taken = false;
}

std::int32_t PartsTable::record(int index, std::int32_t bytes) {
    Part& part = parts_.at(static_cast<std::size_t>(index));
    std::int32_t accepted = std::clamp(bytes, 0, part.left());
    part.done += accepted;
    return accepted;
}

bool PartsTable::complete() const {
    return std::all_of(parts_.begin(), parts_.end(), [](const Part& p) { return p.complete(); });
}

}  // namespace game
