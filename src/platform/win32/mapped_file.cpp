#include "platform/mapped_file.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstring>

#include "platform/win32/wide_text.h"

namespace platform {

namespace {

// A copy into a view that is under way on this thread. When the disk behind the view
// fails, touching its page raises an exception instead of returning an error; the
// handler below then resumes the copying thread where the copy began, with `failed` set.
struct GuardedCopy {
    char* begin;
    char* end;
    CONTEXT resume;
    volatile bool failed;
};

thread_local GuardedCopy* activeCopy = nullptr;

LONG CALLBACK onPageError(EXCEPTION_POINTERS* exception) {
    GuardedCopy* copy = activeCopy;
    const EXCEPTION_RECORD* record = exception->ExceptionRecord;
    // Windows reports an unreadable page of a mapped file as an in-page error; Wine, and
    // a view whose file has shrunk underneath it, as an access violation.
    bool pageFault = record->ExceptionCode == EXCEPTION_IN_PAGE_ERROR ||
                     record->ExceptionCode == EXCEPTION_ACCESS_VIOLATION;
    if (copy == nullptr || !pageFault || record->NumberParameters < 2) {
        return EXCEPTION_CONTINUE_SEARCH;
    }
    auto* address = reinterpret_cast<char*>(record->ExceptionInformation[1]);
    if (address < copy->begin || address >= copy->end) {
        return EXCEPTION_CONTINUE_SEARCH;
    }
    copy->failed = true;
    activeCopy = nullptr;
    *exception->ContextRecord = copy->resume;
    return EXCEPTION_CONTINUE_EXECUTION;
}

}  // namespace

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
    if (size == 0) {
        // Windows maps no empty file; an empty file needs no mapping either.
        return std::unique_ptr<MappedFile>(new MappedFile(file, nullptr, 0));
    }
    // Setting the end allocates the blocks, so a full disk is a creation error instead of
    // a fault on some later write through the mapping. The mapping object takes no
    // address space; only the views do.
    LARGE_INTEGER end;
    end.QuadPart = size;
    HANDLE mapping = nullptr;
    if (SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file)) {
        mapping = CreateFileMappingW(file, nullptr, PAGE_READWRITE, static_cast<DWORD>(size >> 32),
                                     static_cast<DWORD>(size), nullptr);
    }
    if (!mapping) {
        CloseHandle(file);
        DeleteFileW(name.c_str());
        return nullptr;
    }
    return std::unique_ptr<MappedFile>(new MappedFile(file, mapping, size));
}

MappedFile::~MappedFile() {
    if (mapping_ != nullptr) {
        CloseHandle(static_cast<HANDLE>(mapping_));
    }
    if (file_ != nullptr) {
        CloseHandle(static_cast<HANDLE>(file_));
    }
}

bool MappedFile::close() {
    bool flushed = FlushFileBuffers(static_cast<HANDLE>(file_)) != 0;
    bool closed = mapping_ == nullptr || CloseHandle(static_cast<HANDLE>(mapping_)) != 0;
    closed = CloseHandle(static_cast<HANDLE>(file_)) != 0 && closed;
    mapping_ = nullptr;
    file_ = nullptr;
    return flushed && closed;
}

bool MappedFile::Window::moveTo(std::int64_t offset) {
    if (!release()) {
        return false;
    }
    static const std::int64_t granularity = [] {
        SYSTEM_INFO info;
        GetSystemInfo(&info);
        return static_cast<std::int64_t>(info.dwAllocationGranularity);
    }();
    std::int64_t start = offset - offset % granularity;
    std::int64_t length = std::min(windowSize, file_.size_ - start);
    void* view = MapViewOfFile(static_cast<HANDLE>(file_.mapping_), FILE_MAP_WRITE,
                               static_cast<DWORD>(start >> 32), static_cast<DWORD>(start),
                               static_cast<SIZE_T>(length));
    if (view == nullptr) {
        return false;
    }
    view_ = static_cast<char*>(view);
    start_ = start;
    length_ = length;
    return true;
}

bool MappedFile::Window::release() {
    if (view_ == nullptr) {
        return true;
    }
    // Written pages reach the file through the flush; unmapping alone would leave them to
    // the system, which reports no error of writing them back.
    bool flushed = FlushViewOfFile(view_, 0) != 0;
    bool unmapped = UnmapViewOfFile(view_) != 0;
    view_ = nullptr;
    return flushed && unmapped;
}

bool MappedFile::Window::copy(char* target, const char* data, std::size_t size) {
    static const PVOID handler = AddVectoredExceptionHandler(1, onPageError);
    if (handler == nullptr) {
        return false;
    }
    GuardedCopy guarded{target, target + size, {}, false};
    // After a page fault in the copy, the handler resumes the thread here a second time.
    RtlCaptureContext(&guarded.resume);
    if (guarded.failed) {
        return false;
    }
    activeCopy = &guarded;
    // The fences keep the compiler from moving the copy out from under the guard.
    std::atomic_signal_fence(std::memory_order_seq_cst);
    std::memcpy(target, data, size);
    std::atomic_signal_fence(std::memory_order_seq_cst);
    activeCopy = nullptr;
    return true;
}

}  // namespace platform
