#include "platform/mapped_file.h"

#include <algorithm>

namespace platform {

MappedFile::Window::~Window() {
    release();
}

bool MappedFile::Window::write(std::int64_t offset, const char* data, std::size_t size) {
    while (size > 0) {
        if (offset < 0 || offset >= file_.size_) {
            return false;
        }
        if (view_ == nullptr || offset < start_ || offset >= start_ + length_) {
            if (!moveTo(offset)) {
                return false;
            }
        }
        auto n = static_cast<std::size_t>(
            std::min(static_cast<std::int64_t>(size), start_ + length_ - offset));
        if (!copy(view_ + (offset - start_), data, n)) {
            return false;
        }
        offset += static_cast<std::int64_t>(n);
        data += n;
        size -= n;
    }
    return true;
}

}  // namespace platform
