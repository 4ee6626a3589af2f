#include "ui/interface.h"

#include <algorithm>
#include <stdexcept>

#include "platform/encoding.h"
#include "ui/layout.h"

namespace ui {
namespace {

int slot(WindowId window) {
    return window == WindowId::Main ? 0 : 1;
}

const ControlSpec* specOf(WindowId window, std::string_view name) {
    for (const ControlSpec& row : layoutOf(window)) {
        if (name == row.name) {
            return &row;
        }
    }
    return nullptr;
}

// Whether the event comes from a control of this kind; the created event comes from the
// window.
bool comesFrom(Event event, Kind kind) {
    switch (event) {
        case Event::Created:
            return kind == Kind::Window;
        case Event::Clicked:
            return kind == Kind::Button || kind == Kind::PicBtn;
        case Event::LeftButtonDown:
            return kind == Kind::EditBox;
        case Event::Tick:
            return kind == Kind::Timer;
        case Event::DataArrival:
            return kind == Kind::Client;
    }
    return false;
}

const char* eventName(Event event) {
    switch (event) {
        case Event::Created:
            return "created";
        case Event::Clicked:
            return "clicked";
        case Event::LeftButtonDown:
            return "left button down";
        case Event::Tick:
            return "tick";
        case Event::DataArrival:
            return "data arrival";
    }
    return "";
}

// Bindings are made at start: a name or event that cannot be right fails there.
void checkEventSource(WindowId window, std::string_view control, Event event) {
    Kind kind = Kind::Window;
    if (!control.empty()) {
        const ControlSpec* row = specOf(window, control);
        if (!row) {
            throw UnknownControl(std::string(windowName(window)) + " has no control " +
                                 std::string(control));
        }
        kind = row->kind;
    }
    if (!comesFrom(event, kind)) {
        throw WrongKind(std::string("no ") + eventName(event) + " event comes from the " +
                        kindName(kind) + " " + std::string(control));
    }
}

}  // namespace

Interface::Interface(platform::EventLoop& loop) : loop_(loop) {}

Interface::~Interface() {
    for (auto id : updateTimers_) {
        loop_.stopTimer(id);
    }
}

// --- services ---------------------------------------------------------------------------

int Interface::messageBox(const std::string& text, int flags,
                          const std::optional<std::string>& title) {
    std::string shownTitle = title ? *title : gbk("信息：");
    if (!frontEnd_) {
        return idOk;
    }
    // The box's own loop runs other handlers meanwhile; the code after the box still needs
    // its windows, so no close is carried out while the box is open.
    Busy box(*this, Busy::Box);
    return frontEnd_->messageBox(text, flags, shownTitle);
}

void Interface::closeWindow(WindowId window) {
    if (!isOpen(window)) {
        return;
    }
    if (frontEnd_) {
        frontEnd_->closeRequested(window);
    }
    if (closing_[slot(window)]) {
        return;
    }
    closing_[slot(window)] = true;
    // Asked from inside a handler, the outermost handler's end carries it out.
    if (busy_ == 0) {
        loop_.post([this] { finishRequestedCloses(); });
    }
}

Interface::Busy::Busy(Interface& ui, What what) : ui_(ui), box_(what == Box) {
    ++ui_.busy_;
    ui_.boxesOpen_ += box_ ? 1 : 0;
}

Interface::Busy::~Busy() {
    ui_.boxesOpen_ -= box_ ? 1 : 0;
    if (--ui_.busy_ == 0 && (ui_.closing_[0] || ui_.closing_[1])) {
        // Queued rather than done here: the front end may still be inside the event of
        // one of the window's own widgets.
        ui_.loop_.post([&ui = ui_] { ui.finishRequestedCloses(); });
    }
}

void Interface::finishRequestedCloses() {
    // A close queued before a handler began is that handler's to carry out at its end.
    if (busy_ > 0) {
        return;
    }
    for (WindowId window : {WindowId::Update, WindowId::Main}) {
        if (closing_[slot(window)]) {
            finishClose(window);
        }
    }
}

void Interface::show(WindowId window, std::string_view name) {
    setVisible(window, name, true);
}
void Interface::hide(WindowId window, std::string_view name) {
    setVisible(window, name, false);
}
void Interface::enable(WindowId window, std::string_view name) {
    setEnabled(window, name, true);
}
void Interface::disable(WindowId window, std::string_view name) {
    setEnabled(window, name, false);
}

std::string Interface::text(WindowId window, std::string_view name) const {
    return control(window, name).text;
}

void Interface::setText(WindowId window, std::string_view name, const std::string& text) {
    Control& c = control(window, name);
    c.text = text;
    changed(window, c, Change::Text);
}

int Interface::selection(WindowId window, std::string_view name) const {
    return control(window, name).selection;
}

void Interface::addItem(WindowId window, std::string_view name, const std::string& text,
                        std::int32_t data) {
    Control& c = control(window, name);
    c.items.push_back({text, data});
    changed(window, c, Change::AddItem);
}

void Interface::setRows(WindowId window, std::string_view name, std::vector<ListRow> rows) {
    Control& c = control(window, name);
    c.rows = std::move(rows);
    changed(window, c, Change::Rows);
}

void Interface::setPosition(WindowId window, std::string_view name, int position) {
    Control& c = control(window, name);
    c.position = position;
    changed(window, c, Change::Position);
}

void Interface::setVisible(WindowId window, std::string_view name, bool visible) {
    Control& c = control(window, name);
    c.visible = visible;
    changed(window, c, visible ? Change::Show : Change::Hide);
}

void Interface::setEnabled(WindowId window, std::string_view name, bool enabled) {
    Control& c = control(window, name);
    c.enabled = enabled;
    changed(window, c, enabled ? Change::Enable : Change::Disable);
}

void Interface::changed(WindowId window, const Control& control, Change change) {
    if (frontEnd_) {
        frontEnd_->controlChanged(window, control, change);
    }
}

Control& Interface::control(WindowId window, std::string_view name) {
    WindowModel* model = windows_[slot(window)].get();
    Control* found = model ? model->find(name) : nullptr;
    if (!found) {
        throw UnknownControl(std::string(windowName(window)) + " has no open control " +
                             std::string(name));
    }
    return *found;
}

const Control& Interface::control(WindowId window, std::string_view name) const {
    return const_cast<Interface*>(this)->control(window, name);
}

// --- windows ------------------------------------------------------------------------------

void Interface::openMainWindow() {
    open(WindowId::Main);
    if (frontEnd_) {
        frontEnd_->ready();
    }
}

void Interface::runModalUpdateWindow() {
    // A second window would start a second download and a second set of ticks, and the
    // front end would lose track of the first one's widgets.
    if (!isOpen(WindowId::Update) && !closing_[slot(WindowId::Main)]) {
        open(WindowId::Update);
    }
    // Inside a handler, the close itself waits for that handler to end, so the wait ends
    // once the close has been asked for.
    loop_.runUntil([this] {
        bool asked = closing_[slot(WindowId::Update)] || closing_[slot(WindowId::Main)];
        return !isOpen(WindowId::Update) || (busy_ > 0 && asked);
    });
}

void Interface::open(WindowId window) {
    windows_[slot(window)] = std::make_unique<WindowModel>(window);
    closing_[slot(window)] = false;
    if (frontEnd_) {
        frontEnd_->windowOpened(window);
    }
    for (const Control& c : windows_[slot(window)]->controls()) {
        if (c.kind() == Kind::Timer) {
            std::string name(c.name());
            updateTimers_.push_back(
                loop_.startTimer(std::chrono::milliseconds(c.layout->interval), true,
                                 [this, window, name] { runHandler(window, name, Event::Tick); }));
        }
    }
    runHandler(window, "", Event::Created);
}

void Interface::finishClose(WindowId window) {
    if (!isOpen(window)) {
        return;
    }
    if (window == WindowId::Main && isOpen(WindowId::Update)) {
        finishClose(WindowId::Update);
    }
    if (window == WindowId::Update) {
        for (auto id : updateTimers_) {
            loop_.stopTimer(id);
        }
        updateTimers_.clear();
    }
    windows_[slot(window)].reset();
    closing_[slot(window)] = false;
    if (frontEnd_) {
        frontEnd_->windowClosed(window);
    }
}

bool Interface::isOpen(WindowId window) const {
    return windows_[slot(window)] != nullptr;
}

bool Interface::isClosing(WindowId window) const {
    return closing_[slot(window)];
}

const WindowModel* Interface::window(WindowId window) const {
    return windows_[slot(window)].get();
}

// --- bindings -----------------------------------------------------------------------------

void Interface::bind(WindowId window, std::string_view control, Event event, Handler handler) {
    checkEventSource(window, control, event);
    if (event == Event::LeftButtonDown) {
        // Its handler takes the press, so runHandler never runs one bound here.
        throw std::invalid_argument("a left-button press is bound with bindLeftButtonDown");
    }
    handlers_[{window, std::string(control), event}] = std::move(handler);
}

void Interface::bindCreated(WindowId window, Handler handler) {
    bind(window, "", Event::Created, std::move(handler));
}

void Interface::bindLeftButtonDown(WindowId window, std::string_view control,
                                   PressHandler handler) {
    checkEventSource(window, control, Event::LeftButtonDown);
    pressHandlers_[{window, std::string(control)}] = std::move(handler);
}

void Interface::raise(WindowId window, std::string_view control, Event event) {
    checkEventSource(window, control, event);
    runHandler(window, control, event);
}

void Interface::runHandler(WindowId window, std::string_view control, Event event) {
    auto it = handlers_.find({window, std::string(control), event});
    if (it != handlers_.end()) {
        Handler handler = it->second;
        Busy busy(*this);
        handler();
    }
}

// --- input ----------------------------------------------------------------------------------

Control* Interface::inputTarget(WindowId window, std::string_view name,
                                std::initializer_list<Kind> kinds, const char* input) {
    WindowModel* model = windows_[slot(window)].get();
    if (!model) {
        return nullptr;
    }
    Control* c = model->find(name);
    if (!c) {
        throw UnknownControl(std::string(windowName(window)) + " has no control " +
                             std::string(name));
    }
    if (std::find(kinds.begin(), kinds.end(), c->kind()) == kinds.end()) {
        throw WrongKind(std::string(input) + " does not apply to the " + kindName(c->kind()) + " " +
                        std::string(name));
    }
    return c;
}

bool Interface::reachable(WindowId window, const Control& control) const {
    // The update window is modal: the main window takes no input while it is open.
    bool blocked = window == WindowId::Main && isOpen(WindowId::Update);
    return !blocked && boxesOpen_ == 0 && !closing_[slot(window)] &&
           windows_[slot(window)]->reachable(control);
}

bool Interface::click(WindowId window, std::string_view name) {
    Control* c = inputTarget(window, name, {Kind::Button, Kind::PicBtn}, "click");
    if (!c || !reachable(window, *c)) {
        return false;
    }
    runHandler(window, name, Event::Clicked);
    return true;
}

bool Interface::type(WindowId window, std::string_view name, const std::string& text) {
    Control* c = inputTarget(window, name, {Kind::EditBox}, "type");
    if (!c || !reachable(window, *c)) {
        return false;
    }
    c->text = text;
    return true;
}

bool Interface::pressLeft(WindowId window, std::string_view name, const Press& press) {
    Control* c = inputTarget(window, name, {Kind::EditBox}, "press");
    if (!c || !reachable(window, *c)) {
        return false;
    }
    auto it = pressHandlers_.find({window, std::string(name)});
    if (it != pressHandlers_.end()) {
        PressHandler handler = it->second;
        Busy busy(*this);
        handler(press);
    }
    return true;
}

bool Interface::pressOther(WindowId window, std::string_view name) {
    Control* c = inputTarget(window, name, {Kind::EditBox}, "press");
    return c && reachable(window, *c);
}

bool Interface::select(WindowId window, std::string_view name, int index) {
    Control* c = inputTarget(window, name, {Kind::ComboBox, Kind::PageControl}, "select");
    if (!c) {
        return false;
    }
    bool combo = c->kind() == Kind::ComboBox;
    int first = combo ? -1 : 0;
    int count = static_cast<int>(combo ? c->items.size() : c->layout->tabs.size());
    if (index < first || index >= count) {
        throw std::out_of_range(std::string(combo ? "no item " : "no page ") +
                                std::to_string(index));
    }
    if (!reachable(window, *c)) {
        return false;
    }
    (combo ? c->selection : c->page) = index;
    return true;
}

bool Interface::escape(WindowId window) {
    bool blocked = window == WindowId::Main && isOpen(WindowId::Update);
    if (!isOpen(window) || blocked) {
        return false;
    }
    closeWindow(window);
    return true;
}

}  // namespace ui
