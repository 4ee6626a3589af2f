#pragma once

#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "platform/event_loop.h"
#include "ui/control.h"
#include "ui/front_end.h"
#include "ui/window_model.h"

namespace ui {

// Message box flags and results the launcher uses.
inline constexpr int mbOk = 0;
inline constexpr int mbIconInformation = 0x40;
inline constexpr int mbYesNo = 0x04;
inline constexpr int idOk = 0;
inline constexpr int idYes = 5;
inline constexpr int idNo = 6;

enum class Event { Created, Clicked, LeftButtonDown, Tick, DataArrival };

// Arguments of a left-button-down event: position inside the field and the key state
// (1 Ctrl, 2 Shift, 4 Alt, added together).
struct Press {
    int x = 0;
    int y = 0;
    int keys = 0;
};

// The interface services every operation uses, over the control model of both windows.
// Operations never touch a widget: they call these, and the attached front end draws.
// Texts are GBK; control names are the launcher's control names.
class Interface {
  public:
    explicit Interface(platform::EventLoop& loop);
    ~Interface();

    void attach(FrontEnd* frontEnd) { frontEnd_ = frontEnd; }
    platform::EventLoop& loop() { return loop_; }

    // --- services -------------------------------------------------------------------
    // A box without a title shows "信息：". Modal for the whole launcher: while it is open
    // no control takes the player's input, and no window closes under it.
    int messageBox(const std::string& text, int flags,
                   const std::optional<std::string>& title = std::nullopt);
    // Queued: the window closes once no handler is running any more. A handler may be
    // inside a message box or the modal update window, whose loops run further handlers
    // (replies, ticks); the close waits for the outermost one, so none of them finds its
    // window gone before it has finished its remaining steps.
    void closeWindow(WindowId window);

    void show(WindowId window, std::string_view name);
    void hide(WindowId window, std::string_view name);
    void enable(WindowId window, std::string_view name);
    void disable(WindowId window, std::string_view name);
    std::string text(WindowId window, std::string_view name) const;
    void setText(WindowId window, std::string_view name, const std::string& text);
    int selection(WindowId window, std::string_view name) const;
    void addItem(WindowId window, std::string_view name, const std::string& text,
                 std::int32_t data);
    void setRows(WindowId window, std::string_view name, std::vector<ListRow> rows);
    void setPosition(WindowId window, std::string_view name, int position);

    // --- windows --------------------------------------------------------------------
    // Builds the main window, runs its created event and tells the front end it is ready.
    void openMainWindow();
    // Opens the update window over the main one and runs the loop until it has closed or
    // is asked to close, as is the main window. Opens no second one while one is open, and
    // none once the main window is closing.
    void runModalUpdateWindow();
    bool isOpen(WindowId window) const;
    // A close has been asked for and waits for the running handlers to end.
    bool isClosing(WindowId window) const;
    const WindowModel* window(WindowId window) const;

    // --- bindings -------------------------------------------------------------------
    // Each refuses, when it is called, a control the window's layout does not have
    // (UnknownControl) and an event its kind never raises (WrongKind): a misspelled
    // binding fails as the launcher starts rather than leaving a dead control. The created
    // event is the window's own, bound with an empty name.
    using Handler = std::function<void()>;
    using PressHandler = std::function<void(const Press&)>;
    void bind(WindowId window, std::string_view control, Event event, Handler handler);
    void bindCreated(WindowId window, Handler handler);
    void bindLeftButtonDown(WindowId window, std::string_view control, PressHandler handler);
    // An event that is not the player's input (a connection's data arrival): runs its
    // handler as every handler runs.
    void raise(WindowId window, std::string_view control, Event event);

    // --- the player's input, from front ends ------------------------------------------
    // Each returns false, doing nothing, when the control cannot be reached now: a disabled
    // button, a hidden control, one inside a hidden parent or on a page not shown, any
    // control while a message box is open, a window that is closing, or a window behind
    // the modal update window. A control of a kind the input does not apply to (a click on
    // a field, say), an unknown control or an item out of range throws, reachable or not.
    bool click(WindowId window, std::string_view name);
    bool type(WindowId window, std::string_view name, const std::string& text);
    bool pressLeft(WindowId window, std::string_view name, const Press& press);
    bool pressOther(WindowId window, std::string_view name);
    bool select(WindowId window, std::string_view name, int index);
    // Esc: closes the window at once, without a question. False, doing nothing, when the
    // window is not open or cannot take keys now (the main window behind the update one).
    bool escape(WindowId window);

  private:
    // Counts a running handler or an open box for as long as it lives; the last one to end
    // queues the closes asked for meanwhile.
    class Busy {
      public:
        enum What { Handler, Box };
        explicit Busy(Interface& ui, What what = Handler);
        ~Busy();
        Busy(const Busy&) = delete;
        Busy& operator=(const Busy&) = delete;

      private:
        Interface& ui_;
        bool box_;
    };

    Control& control(WindowId window, std::string_view name);
    const Control& control(WindowId window, std::string_view name) const;
    Control* inputTarget(WindowId window, std::string_view name, std::initializer_list<Kind> kinds,
                         const char* input);
    bool reachable(WindowId window, const Control& control) const;
    void changed(WindowId window, const Control& control, Change change);
    void setVisible(WindowId window, std::string_view name, bool visible);
    void setEnabled(WindowId window, std::string_view name, bool enabled);
    void open(WindowId window);
    void finishClose(WindowId window);
    void finishRequestedCloses();
    void runHandler(WindowId window, std::string_view control, Event event);

    platform::EventLoop& loop_;
    FrontEnd* frontEnd_ = nullptr;
    std::unique_ptr<WindowModel> windows_[2];
    bool closing_[2] = {false, false};
    int busy_ = 0;  // handlers running and boxes open, nested ones included
    int boxesOpen_ = 0;
    std::vector<platform::EventLoop::TimerId> updateTimers_;
    std::map<std::tuple<WindowId, std::string, Event>, Handler> handlers_;
    std::map<std::pair<WindowId, std::string>, PressHandler> pressHandlers_;
};

// Raised by control access and bindings on a name the window does not have: a
// programming error.
struct UnknownControl : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Raised by the player's input addressed to a control it does not apply to, and by a
// binding of an event the control never raises.
struct WrongKind : std::invalid_argument {
    using std::invalid_argument::invalid_argument;
};

}  // namespace ui
