#include "platform/event_loop.h"

#include <windows.h>
#include <winsock2.h>

#include <stdexcept>

namespace platform {

namespace {

constexpr UINT runPostedMessage = WM_APP + 1;
// Windows Sockets posts read and close notifications with the socket in wParam.
constexpr UINT socketMessage = WM_APP + 2;
constexpr wchar_t windowClassName[] = L"launcher.event-loop";

}  // namespace

struct EventLoop::Native {
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
        auto* loop = reinterpret_cast<EventLoop*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (loop && handle(*loop, message, wParam)) {
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    static bool handle(EventLoop& loop, UINT message, WPARAM wParam) {
        switch (message) {
            case runPostedMessage:
                loop.runPosted();
                return true;
            case WM_TIMER:
                runTimer(loop, static_cast<TimerId>(wParam));
                return true;
            case socketMessage:
                // Read and close both end in the watcher's read pass, as readable and
                // hung-up do on Linux.
                run(loop, loop.watched_, static_cast<Descriptor>(wParam));
                return true;
            default:
                return false;
        }
    }

    static void runTimer(EventLoop& loop, TimerId id) {
        auto it = loop.timers_.find(id);
        if (it == loop.timers_.end()) {
            // Stopped while its message was already queued.
            return;
        }
        auto onTick = it->second.onTick;
        if (!it->second.repeat) {
            KillTimer(static_cast<HWND>(loop.window_), id);
            loop.timers_.erase(it);
        }
        ++loop.callbacksRun_;
        (*onTick)();
    }

    static void run(EventLoop& loop, std::map<Descriptor, std::shared_ptr<Task>>& tasks,
                    Descriptor key) {
        auto it = tasks.find(key);
        if (it == tasks.end()) {
            return;
        }
        auto task = it->second;
        ++loop.callbacksRun_;
        (*task)();
    }

    static void registerClass() {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = windowProcedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = windowClassName;
        // A second loop finds the class already there, which is fine.
        RegisterClassExW(&windowClass);
    }
};

EventLoop::EventLoop() {
    Native::registerClass();
    // A message-only window: never shown, but it has a queue for timers, socket
    // notifications and the wake-up of posted calls.
    HWND window = CreateWindowExW(0, windowClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    if (!window) {
        throw std::runtime_error("event loop: cannot create its message window");
    }
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    window_ = window;
}

EventLoop::~EventLoop() {
    HWND window = static_cast<HWND>(window_);
    for (const auto& [fd, task] : watched_) {
        WSAAsyncSelect(static_cast<SOCKET>(fd), window, 0, 0);
    }
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    DestroyWindow(window);
}

bool EventLoop::watchReadable(Descriptor fd, Task onReady) {
    // This also makes the socket non-blocking, as asynchronous selection requires.
    if (WSAAsyncSelect(static_cast<SOCKET>(fd), static_cast<HWND>(window_), socketMessage,
                       FD_READ | FD_CLOSE) != 0) {
        return false;
    }
    watched_[fd] = std::make_shared<Task>(std::move(onReady));
    return true;
}

void EventLoop::unwatch(Descriptor fd) {
    if (watched_.erase(fd) > 0) {
        WSAAsyncSelect(static_cast<SOCKET>(fd), static_cast<HWND>(window_), 0, 0);
    }
}

EventLoop::TimerId EventLoop::startTimer(std::chrono::milliseconds interval, bool repeat,
                                         Task onTick) {
    TimerId id = nextTimerId_++;
    timers_[id] = Timer{repeat, std::make_shared<Task>(std::move(onTick))};
    // Windows raises anything below 10 ms to 10 ms.
    SetTimer(static_cast<HWND>(window_), id, static_cast<UINT>(interval.count()), nullptr);
    return id;
}

void EventLoop::stopTimer(TimerId id) {
    if (timers_.erase(id) > 0) {
        KillTimer(static_cast<HWND>(window_), id);
    }
}

void EventLoop::post(Task task) {
    std::lock_guard lock(postedMutex_);
    posted_.push_back(std::move(task));
    // One wake-up message stands for every call queued until the loop takes them.
    if (!wakePosted_) {
        wakePosted_ = PostMessageW(static_cast<HWND>(window_), runPostedMessage, 0, 0) != 0;
    }
}

bool EventLoop::runPosted() {
    std::vector<Task> batch;
    {
        std::lock_guard lock(postedMutex_);
        batch.swap(posted_);
        wakePosted_ = false;
    }
    for (auto& task : batch) {
        ++callbacksRun_;
        task();
    }
    return !batch.empty();
}

bool EventLoop::runOnce(std::chrono::milliseconds maxWait) {
    long before = callbacksRun_;
    MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(maxWait.count()), QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
    // Calls whose wake-up message could not be posted (a full queue) still run.
    runPosted();
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
        // A posted call that posts again must not keep this call from returning to its
        // caller's condition; timers and sockets cannot refill the queue this way.
        if (message.hwnd == window_ && message.message == runPostedMessage) {
            break;
        }
    }
    return callbacksRun_ != before;
}

}  // namespace platform
