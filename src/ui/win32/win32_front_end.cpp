#include "ui/win32/win32_front_end.h"

#include <windows.h>

#include <commctrl.h>

#include <optional>
#include <vector>

#include "ui/layout.h"
#include "ui/win32/control_records.h"
#include "ui/win32/gdi_resources.h"
#include "ui/win32/message_box.h"
#include "ui/win32/window_outline.h"
#include "ui/win32/window_view.h"

namespace ui::win32 {
namespace {

class Win32FrontEnd : public FrontEnd, public WindowKeys {
  public:
    explicit Win32FrontEnd(Interface& iface) : iface_(iface), thread_(GetCurrentThreadId()) {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES |
                                                           ICC_PROGRESS_CLASS |
                                                           ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
        // Esc reaches the focused control, not the window: a hook on this thread's keyboard
        // input sees it first, and finds the front end through the launcher window that
        // has the keyboard.
        hook_ = SetWindowsHookExW(WH_KEYBOARD, keyboardHook, nullptr, thread_);
    }

    ~Win32FrontEnd() override {
        if (hook_) {
            UnhookWindowsHookEx(hook_);
        }
        // The update window is owned by the main one and goes first.
        while (!closed_.empty()) {
            closed_.pop_back();
        }
        views_[1].reset();
        views_[0].reset();
        releaseGdiResources();
    }

    void windowOpened(WindowId window) override {
        HWND owner = nullptr;
        if (window == WindowId::Update && views_[0]) {
            // Modal over the main window.
            owner = views_[0]->window;
            EnableWindow(owner, FALSE);
        }
        auto& slot = view(window);
        slot.emplace(buildWindow(iface_, window, owner));
        slot->record->keys = this;
        const WindowSpec& properties = windowSpecOf(window);
        if (properties.outline) {
            applyOutline(slot->window, properties.outline, properties.outsideOutline);
        }
        ShowWindow(slot->window, SW_SHOW);
        UpdateWindow(slot->window);
        SetForegroundWindow(slot->window);
    }

    void controlChanged(WindowId window, const Control& control, Change change) override {
        if (auto& slot = view(window)) {
            refreshControl(*slot, control, change);
        }
    }

    int messageBox(const std::string& text, int flags, const std::string& title) override {
        int answer = showMessageBox(text, flags, title);
        if (GetCurrentThreadId() == thread_) {
            refocus();
        }
        return answer;
    }

    void closeRequested(WindowId) override {}

    void windowClosed(WindowId window) override {
        auto& slot = view(window);
        if (!slot) {
            return;
        }
        ShowWindow(slot->window, SW_HIDE);
        if (window == WindowId::Update && views_[0]) {
            EnableWindow(views_[0]->window, TRUE);
        }
        // The close may come from inside one of the window's own handlers: the native
        // window and its records go when the front end does.
        closed_.push_back(std::move(*slot));
        slot.reset();
        refocus();
    }

    void ready() override {}

  private:
    std::optional<WindowView>& view(WindowId window) {
        return views_[window == WindowId::Main ? 0 : 1];
    }

    void refocus() {
        // The update window, while open, is the one over the other.
        for (WindowId window : {WindowId::Update, WindowId::Main}) {
            if (auto& slot = view(window)) {
                SetForegroundWindow(slot->window);
                return;
            }
        }
    }

    // Whether the window is the open one of its kind: a closed window keeps its record
    // until the front end goes.
    bool isOpen(const WindowRecord& window) {
        auto& slot = view(window.window);
        return slot && slot->window == window.hwnd;
    }

    static LRESULT CALLBACK keyboardHook(int code, WPARAM key, LPARAM flags) {
        // Bit 31 clear: pressed; bit 30 clear: not a repeat.
        bool pressed = (flags & 0x80000000) == 0;
        bool repeat = (flags & 0x40000000) != 0;
        WindowRecord* window = code == HC_ACTION && pressed ? windowWithKeyboard() : nullptr;
        if (window && window->keys) {
            if (key == VK_ESCAPE && !repeat && !comboDropped() && window->keys->escape(*window)) {
                return 1;
            }
            if (key == VK_TAB && window->keys->moveFocus(*window, GetKeyState(VK_SHIFT) < 0)) {
                return 1;
            }
        }
        return CallNextHookEx(nullptr, code, key, flags);
    }

    // The launcher window that has the keyboard now, if any: the one of the focused
    // control, since without a window manager (Wine on a bare X display) the system may
    // not have made that window the active one.
    static WindowRecord* windowWithKeyboard() {
        HWND focus = GetFocus();
        return recordOf<WindowRecord>(focus ? GetAncestor(focus, GA_ROOT) : GetActiveWindow());
    }

    bool escape(const WindowRecord& window) override {
        if (!isOpen(window)) {
            return false;
        }
        Interface& iface = iface_;
        WindowId target = window.window;
        iface.loop().post([&iface, target] { iface.escape(target); });
        return true;
    }

    // Tab and Shift+Tab go from field to field as in a dialog; no press event is raised.
    bool moveFocus(const WindowRecord& window, bool back) override {
        if (!isOpen(window)) {
            return false;
        }
        HWND next = nextTabStop(*view(window.window), GetFocus(), back);
        if (next) {
            SetFocus(next);
        }
        return true;
    }

    // A dropped list takes Esc for itself, to close the list.
    static bool comboDropped() {
        for (HWND focus = GetFocus(); focus; focus = GetParent(focus)) {
            wchar_t name[16] = {};
            GetClassNameW(focus, name, 16);
            if (lstrcmpiW(name, L"COMBOBOX") == 0) {
                return SendMessageW(focus, CB_GETDROPPEDSTATE, 0, 0) != 0;
            }
        }
        return false;
    }

    Interface& iface_;
    DWORD thread_;
    HHOOK hook_ = nullptr;
    std::optional<WindowView> views_[2];
    std::vector<WindowView> closed_;
};

}  // namespace

std::unique_ptr<FrontEnd> makeFrontEnd(Interface& iface) {
    return std::make_unique<Win32FrontEnd>(iface);
}

}  // namespace ui::win32
