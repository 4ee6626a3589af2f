#include "platform/mapped_file.h"

#include <windows.h>

#include "platform/win32/wide_text.h"

namespace platform {

std::unique_ptr<MappedFile> MappedFile::create(const std::string& path, std::int64_t size) {
    if (size < 0) {
        return nullptr;
    }
    std::wstring name = win32::widen(path);
    HANDLE file = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    HANDLE mapping = nullptr;
    auto fail = [&]() -> std::unique_ptr<MappedFile> {
        if (mapping) {
            CloseHandle(mapping);
        }
        CloseHandle(file);
        DeleteFileW(name.c_str());
        return nullptr;
    };
    if (size == 0) {
        // Windows maps no empty file; an empty file needs no mapping either.
        return std::unique_ptr<MappedFile>(new MappedFile(file, nullptr, nullptr, 0));
    }
    // Setting the end allocates the blocks, so a full disk is a creation error instead of
    // a fault on some later write through the mapping.
    LARGE_INTEGER end;
    end.QuadPart = size;
    if (!SetFilePointerEx(file, end, nullptr, FILE_BEGIN) || !SetEndOfFile(file)) {
        return fail();
    }
    mapping = CreateFileMappingW(file, nullptr, PAGE_READWRITE, static_cast<DWORD>(size >> 32),
                                 static_cast<DWORD>(size), nullptr);
    if (!mapping) {
        return fail();
    }
    // A 32-bit process cannot map a file larger than its free address space: that fails
    // here, like any other creation error.
    if (static_cast<std::uint64_t>(size) > SIZE_MAX) {
        return fail();
    }
    void* view = MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, static_cast<SIZE_T>(size));
    if (!view) {
        return fail();
    }
    return std::unique_ptr<MappedFile>(
        new MappedFile(file, mapping, static_cast<char*>(view), size));
}

MappedFile::~MappedFile() {
    if (data_ != nullptr) {
        UnmapViewOfFile(data_);
    }
    if (mapping_ != nullptr) {
        CloseHandle(static_cast<HANDLE>(mapping_));
    }
    CloseHandle(static_cast<HANDLE>(file_));
}

}  // namespace platform
