#include "game/download/shared_parts.h"

namespace game {

int SharedParts::divide(std::int32_t total, int threadCount) {
    std::lock_guard lock(mutex_);
    total_ = total;
    table_.divide(total, threadCount);
    // An empty file's one part is complete already, and so is its connection.
    return table_.take().value_or(0);
}

std::optional<int> SharedParts::take() {
    std::lock_guard lock(mutex_);
    return table_.take();
}

void SharedParts::release(int part) {
    std::lock_guard lock(mutex_);
    table_.release(part);
}

PartPosition SharedParts::position(int part) const {
    std::lock_guard lock(mutex_);
    const Part& p = table_.part(part);
    return {p.start + p.done, p.start + p.length};
}

PartPosition SharedParts::beginWrite(int part) {
    std::lock_guard lock(mutex_);
    ++writing_;
    const Part& p = table_.part(part);
    return {p.start + p.done, p.start + p.length};
}

std::int32_t SharedParts::endWrite(int part, std::int32_t written) {
    std::int32_t accepted;
    {
        std::lock_guard lock(mutex_);
        --writing_;
        accepted = table_.record(part, written);
        bytesDone_ += accepted;
    }
    writesEnded_.notify_all();
    return accepted;
}

bool SharedParts::takeWholeFile(int part) {
    std::lock_guard lock(mutex_);
    if (!table_.takeWholeFile(part)) {
        return false;
    }
    bytesDone_ = 0;
    return true;
}

void SharedParts::waitUntilNoWrites() {
    std::unique_lock lock(mutex_);
    writesEnded_.wait(lock, [this] { return writing_ == 0; });
}

int SharedParts::partCount() const {
    std::lock_guard lock(mutex_);
    return table_.size();
}

std::vector<PartPosition> SharedParts::stored() const {
    std::lock_guard lock(mutex_);
    std::vector<PartPosition> stretches;
    for (int i = 0; i < table_.size(); ++i) {
        const Part& p = table_.part(i);
        stretches.push_back({p.start, p.start + p.done});
    }
    return stretches;
}

bool SharedParts::complete() const {
    std::lock_guard lock(mutex_);
    return table_.complete();
}

}  // namespace game
