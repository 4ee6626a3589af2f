#include "ui/headless/headless_front_end.h"

#include <charconv>
#include <stdexcept>
#include <utility>

#include "platform/encoding.h"
#include "platform/line_output.h"
#include "ui/layout.h"

namespace ui {
namespace {

using namespace std::chrono_literals;

std::string utf8(const std::string& gbkText) {
    return platform::gbkToUtf8(gbkText);
}

WindowId parseWindow(const std::string& word) {
    if (word == "main") {
        return WindowId::Main;
    }
    if (word == "update") {
        return WindowId::Update;
    }
    throw std::invalid_argument("unknown window '" + word + "'");
}

int parseInt(const std::string& word) {
    int value = 0;
    auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (error != std::errc() || end != word.data() + word.size()) {
        throw std::invalid_argument("not a number: '" + word + "'");
    }
    return value;
}

// Splits off the next blank-separated word; the rest stays in `line`.
std::string nextWord(std::string& line) {
    size_t start = line.find_first_not_of(' ');
    if (start == std::string::npos) {
        line.clear();
        return "";
    }
    size_t end = line.find(' ', start);
    std::string word = line.substr(start, end - start);
    line = end == std::string::npos ? "" : line.substr(end + 1);
    return word;
}

const char* changeEvent(Change change) {
    switch (change) {
        case Change::Show:
            return "show";
        case Change::Hide:
            return "hide";
        case Change::Enable:
            return "enable";
        case Change::Disable:
            return "disable";
        case Change::Text:
            return "text";
        case Change::AddItem:
            return "addItem";
        case Change::Rows:
            return "rows";
        case Change::Position:
            return "position";
    }
    return "?";
}

bool hasText(Kind kind) {
    return kind == Kind::EditBox || kind == Kind::Label || kind == Kind::TransLabel ||
           kind == Kind::GroupBox || kind == Kind::Button;
}

}  // namespace

HeadlessFrontEnd::HeadlessFrontEnd(Interface& ui, int input, std::FILE* output)
    : ui_(ui), input_(input), output_(output) {
    platform::keepLineEnds(output_);
}

HeadlessFrontEnd::~HeadlessFrontEnd() {
    if (resumeTimer_) {
        ui_.loop().stopTimer(resumeTimer_);
    }
}

void HeadlessFrontEnd::start() {
    reader_ = std::make_unique<platform::InputStream>(
        ui_.loop(), input_, [this](std::string chunk) { readInput(std::move(chunk)); });
    resumeTimer_ = ui_.loop().startTimer(5ms, true, [this] { resume(); });
}

void HeadlessFrontEnd::exited(int code) {
    emit({{"ev", "exit"}, {"code", code}});
}

// --- input ----------------------------------------------------------------------------

void HeadlessFrontEnd::readInput(std::string chunk) {
    std::vector<CommandLines::Line> complete;
    if (chunk.empty()) {
        complete = lines_.end();
        inputEnded_ = true;
    } else {
        complete = lines_.add(chunk);
    }
    for (auto& line : complete) {
        commands_.push_back(std::move(line));
    }
    runCommands();
}

// Commands run one after the other and never inside each other: a command that lets the
// loop run (a handler's modal window) finds later commands waiting for it. A held box is
// the exception: the commands after it are what the player does while it is open, so they
// run inside it.
void HeadlessFrontEnd::runCommands() {
    if (running_) {
        return;
    }
    running_ = true;
    while (!heldBack() && !commands_.empty()) {
        CommandLines::Line line = std::move(commands_.front());
        commands_.pop_front();
        try {
            if (!line.problem.empty()) {
                throw std::invalid_argument(line.problem);
            }
            execute(line.text);
        } catch (const std::exception& error) {
            emit({{"ev", "error"}, {"message", error.what()}});
        }
    }
    if (inputEnded_ && !endHandled_ && !heldBack() && commands_.empty()) {
        // End of input closes the launcher as `quit` does, after the commands before it,
        // unless they have asked for the close already.
        endHandled_ = true;
        if (!ui_.isClosing(WindowId::Main)) {
            ui_.closeWindow(WindowId::Main);
        }
    }
    running_ = false;
}

bool HeadlessFrontEnd::heldBack() const {
    // After `release` the commands wait until the box has closed and its handler has
    // finished.
    bool releasing = !held_.empty() && held_.back()->result;
    return waiting_ || releasing;
}

// Commands queued behind a wait or a held box go on once it is over.
void HeadlessFrontEnd::resume() {
    if (waiting_) {
        bool seen = waiting_->event && written_[*waiting_->event] > waiting_->seenBefore;
        if (!seen && platform::EventLoop::Clock::now() < waiting_->deadline) {
            return;
        }
        std::optional<std::string> event = waiting_->event;
        waiting_.reset();
        if (event) {
            emit({{"ev", "waited"}, {"for", *event}, {"seen", seen}});
        }
    }
    runCommands();
}

void HeadlessFrontEnd::release(int result) {
    if (held_.empty()) {
        throw std::invalid_argument("no message box is held open");
    }
    held_.back()->result = result;
}

void HeadlessFrontEnd::ignored(WindowId window, const char* member, const std::string& name) {
    emit({{"ev", "ignored"}, {"window", windowName(window)}, {member, name}});
}

void HeadlessFrontEnd::execute(const std::string& line) {
    std::string rest = line;
    std::string command = nextWord(rest);
    if (command.empty()) {
        return;
    }
    if (command == "answer") {
        answers_.push_back(parseInt(nextWord(rest)));
        return;
    }
    if (command == "hold") {
        ++holds_;
        return;
    }
    if (command == "release") {
        release(parseInt(nextWord(rest)));
        return;
    }
    if (command == "wait" || command == "waitfor") {
        Waiting wait;
        if (command == "waitfor") {
            wait.event = nextWord(rest);
            wait.seenBefore = written_[*wait.event];
        }
        int ms = parseInt(nextWord(rest));
        wait.deadline = platform::EventLoop::Clock::now() + std::chrono::milliseconds(ms);
        waiting_ = wait;
        return;
    }
    if (command == "quit") {
        ui_.closeWindow(WindowId::Main);
        return;
    }
    if (command != "key" && command != "dump" && command != "click" && command != "type" &&
        command != "press" && command != "select") {
        throw std::invalid_argument("unknown command '" + command + "'");
    }

    WindowId window = parseWindow(nextWord(rest));
    auto notOpen = [&] {
        return std::invalid_argument(std::string("the ") + windowName(window) +
                                     " window is not open");
    };
    if (command == "key") {
        std::string key = nextWord(rest);
        if (key != "Esc") {
            throw std::invalid_argument("unknown key '" + key + "'");
        }
        if (!ui_.isOpen(window)) {
            throw notOpen();
        }
        if (!ui_.escape(window)) {
            ignored(window, "key", key);
        }
        return;
    }

    // `type` keeps everything after the one blank that follows the control name.
    size_t start = rest.find_first_not_of(' ');
    if (start == std::string::npos) {
        throw std::invalid_argument("missing control in '" + line + "'");
    }
    size_t end = rest.find(' ', start);
    std::string name = rest.substr(start, end - start);
    std::string argument = end == std::string::npos ? "" : rest.substr(end + 1);
    if (!ui_.isOpen(window)) {
        throw notOpen();
    }

    bool reached;
    if (command == "dump") {
        dump(window, name);
        return;
    } else if (command == "click") {
        reached = ui_.click(window, name);
    } else if (command == "type") {
        if (end == std::string::npos) {
            throw std::invalid_argument("type needs a text after the control");
        }
        reached = ui_.type(window, name, platform::utf8ToGbk(argument));
    } else if (command == "press") {
        if (argument == "left") {
            reached = ui_.pressLeft(window, name, Press{});
        } else if (argument == "right") {
            reached = ui_.pressOther(window, name);
        } else {
            throw std::invalid_argument("press takes left or right");
        }
    } else {
        reached = ui_.select(window, name, parseInt(argument));
    }
    if (!reached) {
        ignored(window, "control", name);
    }
}

// --- output ---------------------------------------------------------------------------

void HeadlessFrontEnd::emit(Json line) {
    std::string event = line["ev"];
    std::string text = line.dump(-1, ' ', false, Json::error_handler_t::replace);
    std::lock_guard lock(outputMutex_);
    std::fprintf(output_, "%s\n", text.c_str());
    std::fflush(output_);
    ++written_[event];
}

HeadlessFrontEnd::Json HeadlessFrontEnd::rowsOf(const Control& control) const {
    Json rows = Json::array();
    size_t columns = control.layout->columns.size();
    for (const ListRow& row : control.rows) {
        Json cells = Json::array();
        for (size_t i = 0; i < columns; ++i) {
            cells.push_back(i < row.cells.size() ? utf8(row.cells[i]) : "");
        }
        rows.push_back(cells);
    }
    return rows;
}

void HeadlessFrontEnd::dump(WindowId window, const std::string& name) {
    const WindowModel* model = ui_.window(window);
    const Control* control = model->find(name);
    if (!control) {
        throw std::invalid_argument(std::string(windowName(window)) + " has no control " + name);
    }
    Json line = {{"ev", "state"},
                 {"window", windowName(window)},
                 {"control", name},
                 {"kind", kindName(control->kind())},
                 {"visible", control->visible},
                 {"enabled", control->enabled}};
    Kind kind = control->kind();
    if (hasText(kind)) {
        line["text"] = utf8(control->text);
    }
    if (kind == Kind::ComboBox) {
        Json items = Json::array();
        for (const ComboItem& item : control->items) {
            items.push_back(utf8(item.text));
        }
        line["items"] = items;
        line["selection"] = control->selection;
    }
    if (kind == Kind::PageControl) {
        line["page"] = control->page;
    }
    if (kind == Kind::ListView) {
        line["rows"] = rowsOf(*control);
    }
    if (kind == Kind::ProcessBar) {
        line["position"] = control->position;
    }
    emit(line);
}

void HeadlessFrontEnd::windowOpened(WindowId window) {
    if (window == WindowId::Update) {
        emit({{"ev", "open"}, {"window", windowName(window)}});
    }
}

void HeadlessFrontEnd::controlChanged(WindowId window, const Control& control, Change change) {
    Json line = {{"ev", changeEvent(change)},
                 {"window", windowName(window)},
                 {"control", std::string(control.name())}};
    switch (change) {
        case Change::Text:
            line["value"] = utf8(control.text);
            break;
        case Change::AddItem:
            line["value"] = utf8(control.items.back().text);
            line["data"] = control.items.back().data;
            break;
        case Change::Rows:
            line["rows"] = rowsOf(control);
            break;
        case Change::Position:
            line["value"] = control.position;
            break;
        default:
            break;
    }
    emit(line);
}

int HeadlessFrontEnd::messageBox(const std::string& text, int flags, const std::string& title) {
    int result = 0;
    if (holds_ > 0) {
        --holds_;
        emit({{"ev", "boxOpen"}, {"text", utf8(text)}, {"title", utf8(title)}, {"flags", flags}});
        HeldBox box;
        held_.push_back(&box);
        // The loop runs as under a real box, and the commands go on inside it.
        bool wasRunning = std::exchange(running_, false);
        runCommands();
        // Nobody is left to release a box once the input is over.
        ui_.loop().runUntil([&] { return box.result || endHandled_; });
        held_.pop_back();
        running_ = wasRunning;
        result = box.result.value_or(0);
    } else if (!answers_.empty()) {
        result = answers_.front();
        answers_.pop_front();
    }
    emit({{"ev", "messageBox"},
          {"text", utf8(text)},
          {"title", utf8(title)},
          {"flags", flags},
          {"result", result}});
    return result;
}

void HeadlessFrontEnd::closeRequested(WindowId window) {
    emit({{"ev", "close"}, {"window", windowName(window)}});
}

void HeadlessFrontEnd::windowClosed(WindowId window) {
    emit({{"ev", "closed"}, {"window", windowName(window)}});
}

void HeadlessFrontEnd::programStarting(const std::string& commandLine) {
    emit({{"ev", "start"}, {"cmdline", utf8(commandLine)}});
}

void HeadlessFrontEnd::ready() {
    emit({{"ev", "ready"}});
}

}  // namespace ui
