#include "ui/win32/win32_front_end.h"

#include <windows.h>

#include <commctrl.h>

#include <optional>
#include <vector>

#include "ui/win32/gdi_resources.h"
#include "ui/win32/message_box.h"
#include "ui/win32/record.h"
#include "ui/win32/window_outline.h"
#include "ui/win32/window_view.h"

namespace ui::win32 {
namespace {

class Win32FrontEnd;
Win32FrontEnd* current = nullptr;  // for the keyboard hook, which has no context pointer

class Win32FrontEnd : public FrontEnd {
  public:
    explicit Win32FrontEnd(Interface& iface) : iface_(iface), thread_(GetCurrentThreadId()) {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES |
                                                           ICC_PROGRESS_CLASS |
                                                           ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
        current = this;
        // Esc reaches the focused control, not the window: a hook on this thread's keyboard
        // input sees it first.
        hook_ = SetWindowsHookExW(WH_KEYBOARD, keyboardHook, nullptr, thread_);
    }

    ~Win32FrontEnd() override {
        if (hook_) {
            UnhookWindowsHookEx(hook_);
        }
        current = nullptr;
        // The update window is owned by the main one and goes first.
        for (auto it = closed_.rbegin(); it != closed_.rend(); ++it) {
            DestroyWindow(*it);
        }
        for (int slot : {1, 0}) {
            if (views_[slot]) {
                DestroyWindow(views_[slot]->window);
            }
        }
        forgetRecords();
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
        slot = buildWindow(iface_, window, owner);
        if (window == WindowId::Main) {
            applyOutline(slot->window);
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
        // window goes when the front end does.
        closed_.push_back(slot->window);
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

    // The launcher window that has the keyboard now, if any: the one Esc would close.
    std::optional<WindowId> escapeTarget() {
        // The window of the focused control: without a window manager (Wine on a bare X
        // display) the system may not have made that window the active one.
        HWND focus = GetFocus();
        HWND active = focus ? GetAncestor(focus, GA_ROOT) : GetActiveWindow();
        for (WindowId window : {WindowId::Update, WindowId::Main}) {
            auto& slot = view(window);
            if (slot && slot->window == active) {
                return window;
            }
        }
        return std::nullopt;
    }

    static LRESULT CALLBACK keyboardHook(int code, WPARAM key, LPARAM flags) {
        // Bit 31 clear: pressed; bit 30 clear: not a repeat.
        bool pressed = (flags & 0x80000000) == 0;
        bool repeat = (flags & 0x40000000) != 0;
        if (code == HC_ACTION && current && pressed) {
            if (key == VK_ESCAPE && !repeat && !comboDropped() && current->escape()) {
                return 1;
            }
            if (key == VK_TAB && current->moveFocus(GetKeyState(VK_SHIFT) < 0)) {
                return 1;
            }
        }
        return CallNextHookEx(nullptr, code, key, flags);
    }

    bool escape() {
        auto window = escapeTarget();
        if (!window) {
            return false;
        }
        Interface& iface = iface_;
        WindowId target = *window;
        iface.loop().post([&iface, target] { iface.escape(target); });
        return true;
    }

    // Tab and Shift+Tab go from field to field as in a dialog; no press event is raised.
    bool moveFocus(bool back) {
        auto window = escapeTarget();
        if (!window) {
            return false;
        }
        HWND next = nextTabStop(*view(*window), GetFocus(), back);
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
    std::vector<HWND> closed_;
};

}  // namespace

std::unique_ptr<FrontEnd> makeFrontEnd(Interface& iface) {
    return std::make_unique<Win32FrontEnd>(iface);
}

}  // namespace ui::win32
