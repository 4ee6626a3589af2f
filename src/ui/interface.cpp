#include "ui/interface.h"

#include <stdexcept>

#include "platform/encoding.h"
#include "platform/process.h"

namespace ui {
namespace {

int slot(WindowId window) {
    return window == WindowId::Main ? 0 : 1;
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
    return frontEnd_ ? frontEnd_->messageBox(text, flags, shownTitle) : idOk;
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
    // The handler that asked finishes its remaining steps first.
    loop_.post([this, window] { finishClose(window); });
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

void Interface::startProgram(const std::string& commandLine) {
    if (frontEnd_) {
        frontEnd_->programStarting(commandLine);
    }
    platform::startProgram(commandLine);
}

void Interface::startProgramFile(const std::string& path) {
    if (frontEnd_) {
        frontEnd_->programStarting(path);
    }
    platform::startProgramFile(path);
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
    open(WindowId::Update);
    loop_.runUntil([this] { return !isOpen(WindowId::Update); });
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

const WindowModel* Interface::window(WindowId window) const {
    return windows_[slot(window)].get();
}

// --- bindings -----------------------------------------------------------------------------

void Interface::bind(WindowId window, std::string_view control, Event event, Handler handler) {
    handlers_[{window, std::string(control), event}] = std::move(handler);
}

void Interface::bindCreated(WindowId window, Handler handler) {
    bind(window, "", Event::Created, std::move(handler));
}

void Interface::bindLeftButtonDown(WindowId window, std::string_view control,
                                   PressHandler handler) {
    pressHandlers_[{window, std::string(control)}] = std::move(handler);
}

void Interface::runHandler(WindowId window, std::string_view control, Event event) {
    auto it = handlers_.find({window, std::string(control), event});
    if (it != handlers_.end()) {
        Handler handler = it->second;
        handler();
    }
}

// --- input ----------------------------------------------------------------------------------

Control* Interface::reachableControl(WindowId window, std::string_view name) {
    WindowModel* model = windows_[slot(window)].get();
    if (!model) {
        return nullptr;
    }
    Control* c = model->find(name);
    if (!c) {
        throw UnknownControl(std::string(windowName(window)) + " has no control " +
                             std::string(name));
    }
    // The update window is modal: the main window takes no input while it is open.
    bool blocked = window == WindowId::Main && isOpen(WindowId::Update);
    return !blocked && !closing_[slot(window)] && model->reachable(*c) ? c : nullptr;
}

bool Interface::click(WindowId window, std::string_view name) {
    Control* c = reachableControl(window, name);
    if (!c || (c->kind() != Kind::Button && c->kind() != Kind::PicBtn)) {
        return false;
    }
    runHandler(window, name, Event::Clicked);
    return true;
}

bool Interface::type(WindowId window, std::string_view name, const std::string& text) {
    Control* c = reachableControl(window, name);
    if (!c || c->kind() != Kind::EditBox) {
        return false;
    }
    c->text = text;
    return true;
}

bool Interface::pressLeft(WindowId window, std::string_view name, const Press& press) {
    Control* c = reachableControl(window, name);
    if (!c || c->kind() != Kind::EditBox) {
        return false;
    }
    auto it = pressHandlers_.find({window, std::string(name)});
    if (it != pressHandlers_.end()) {
        PressHandler handler = it->second;
        handler(press);
    }
    return true;
}

bool Interface::pressOther(WindowId window, std::string_view name) {
    Control* c = reachableControl(window, name);
    return c && c->kind() == Kind::EditBox;
}

bool Interface::select(WindowId window, std::string_view name, int index) {
    Control* c = reachableControl(window, name);
    if (!c) {
        return false;
    }
    if (c->kind() == Kind::ComboBox) {
        if (index < -1 || index >= static_cast<int>(c->items.size())) {
            throw std::out_of_range("no item " + std::to_string(index));
        }
        c->selection = index;
        return true;
    }
    if (c->kind() == Kind::PageControl) {
        if (index < 0 || index >= static_cast<int>(c->layout->tabs.size())) {
            throw std::out_of_range("no page " + std::to_string(index));
        }
        c->page = index;
        return true;
    }
    return false;
}

void Interface::escape(WindowId window) {
    bool blocked = window == WindowId::Main && isOpen(WindowId::Update);
    if (!blocked) {
        closeWindow(window);
    }
}

}  // namespace ui
