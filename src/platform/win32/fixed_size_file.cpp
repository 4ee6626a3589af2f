#include "platform/fixed_size_file.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/wide_text.h"

namespace platform {

std::unique_ptr<FixedSizeFile> FixedSizeFile::create(const std::string& path, std::int64_t size) {
    if (size < 0) {
        return nullptr;
    }
    std::wstring name = win32::widen(path);
    HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    // Setting the end allocates the blocks, so a full disk is a creation error instead of
    // a failure of some later write.
    LARGE_INTEGER end;
    end.QuadPart = size;
    if (!SetFilePointerEx(file, end, nullptr, FILE_BEGIN) || !SetEndOfFile(file)) {
        CloseHandle(file);
        DeleteFileW(name.c_str());
        return nullptr;
    }
    return std::unique_ptr<FixedSizeFile>(new FixedSizeFile(file, size));
}

FixedSizeFile::~FixedSizeFile() {
    if (file_ != nullptr) {
        CloseHandle(static_cast<HANDLE>(file_));
    }
}

bool FixedSizeFile::write(std::int64_t offset, const char* data, std::size_t size) {
    if (offset < 0 || offset > size_ || static_cast<std::int64_t>(size) > size_ - offset) {
        return false;
    }
    while (size > 0) {
        // The offset travels with each write, so writers on other threads need no shared
        // file position.
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(offset);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        auto ask = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(static_cast<HANDLE>(file_), data, ask, &written, &at) || written == 0) {
            return false;
        }
        data += written;
        size -= written;
        offset += written;
    }
    return true;
}

// The system writes the cached bytes back on its own; Windows has no call that starts it
// for a stretch without waiting for it.
void FixedSizeFile::startWriteBack(std::int64_t, std::int64_t) {}

bool FixedSizeFile::close() {
    bool flushed = FlushFileBuffers(static_cast<HANDLE>(file_)) != 0;
    bool closed = CloseHandle(static_cast<HANDLE>(file_)) != 0;
    file_ = nullptr;
    return flushed && closed;
}

}  // namespace platform
