#include "platform/mapped_file.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstring>

#include "platform/win32/wide_text.h"

namespace platform {

namespace {

// An access to a view that is under way on this thread. When the disk behind the view
// fails, touching its page raises an exception instead of returning an error; the
// handler below then resumes the thread where the access began, with `failed` set.
struct GuardedAccess {
    char* begin;
    char* end;
    CONTEXT resume;
    volatile bool failed;
};

thread_local GuardedAccess* activeAccess = nullptr;

LONG CALLBACK onPageError(EXCEPTION_POINTERS* exception) {
    GuardedAccess* access = activeAccess;
    const EXCEPTION_RECORD* record = exception->ExceptionRecord;
    // Windows reports an unreadable page of a mapped file as an in-page error; Wine, and
    // a view whose file has shrunk underneath it, as an access violation.
    bool pageFault = record->ExceptionCode == EXCEPTION_IN_PAGE_ERROR ||
                     record->ExceptionCode == EXCEPTION_ACCESS_VIOLATION;
    if (access == nullptr || !pageFault || record->NumberParameters < 2) {
        return EXCEPTION_CONTINUE_SEARCH;
    }
    auto* address = reinterpret_cast<char*>(record->ExceptionInformation[1]);
    if (address < access->begin || address >= access->end) {
        return EXCEPTION_CONTINUE_SEARCH;
    }
    access->failed = true;
    activeAccess = nullptr;
    *exception->ContextRecord = access->resume;
    return EXCEPTION_CONTINUE_EXECUTION;
}

// Runs `touch` on the stretch [begin, begin + size) of a view; false when a page of it
// raised a page error.
template <typename Touch>
bool guarded(char* begin, std::size_t size, Touch touch) {
    static const PVOID handler = AddVectoredExceptionHandler(1, onPageError);
    if (handler == nullptr) {
        return false;
    }
    GuardedAccess access{begin, begin + size, {}, false};
    // After a page fault in the access, the handler resumes the thread here a second time.
    RtlCaptureContext(&access.resume);
    if (access.failed) {
        return false;
    }
    activeAccess = &access;
    // The fences keep the compiler from moving the access out from under the guard.
    std::atomic_signal_fence(std::memory_order_seq_cst);
    touch();
    std::atomic_signal_fence(std::memory_order_seq_cst);
    activeAccess = nullptr;
    return true;
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

// Windows starts no write-back of a file's stretch without a view of it: each writer's
// view is flushed when it moves on or is released.
void MappedFile::startWriteBack(std::int64_t, std::int64_t) {}

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

// A socket receiving into a page that fails would only report an error without saying
// why: the pages are read here first, under the guard, so a failing disk shows as one.
bool MappedFile::Window::prepare(char* target, std::size_t size) {
    static const std::size_t pageSize = [] {
        SYSTEM_INFO info;
        GetSystemInfo(&info);
        return static_cast<std::size_t>(info.dwPageSize);
    }();
    return guarded(target, size, [target, size] {
        // Only bytes of the stretch itself: the rest of its first page may be another
        // writer's.
        volatile char* first = target;
        (void)*first;
        auto next = reinterpret_cast<std::uintptr_t>(target) / pageSize * pageSize + pageSize;
        for (auto page = next; page < reinterpret_cast<std::uintptr_t>(target) + size;
             page += pageSize) {
            (void)*reinterpret_cast<volatile char*>(page);
        }
    });
}

bool MappedFile::Window::copy(char* target, const char* data, std::size_t size) {
    return guarded(target, size, [target, data, size] { std::memcpy(target, data, size); });
}

}  // namespace platform
