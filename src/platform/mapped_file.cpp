#include "platform/mapped_file.h"

#include <algorithm>

namespace platform {

MappedFile::Window::~Window() {
    release();
}

std::span<char> MappedFile::Window::place(std::int64_t offset, std::size_t most) {
    if (offset < 0 || offset >= file_.size_ || most == 0) {
        return {};
    }
    if (view_ == nullptr || offset < start_ || offset >= start_ + length_) {
        if (!moveTo(offset)) {
            return {};
        }
    }
    auto n = static_cast<std::size_t>(
        std::min(static_cast<std::int64_t>(most), start_ + length_ - offset));
    char* target = view_ + (offset - start_);
    if (!prepare(target, n)) {
        return {};
    }
    return {target, n};
}

bool MappedFile::Window::write(std::int64_t offset, const char* data, std::size_t size) {
    while (size > 0) {
        std::span<char> target = place(offset, size);
        if (target.empty() || !copy(target.data(), data, target.size())) {
            return false;
        }
        offset += static_cast<std::int64_t>(target.size());
        data += target.size();
        size -= target.size();
    }
    return true;
}

}  // namespace platform
