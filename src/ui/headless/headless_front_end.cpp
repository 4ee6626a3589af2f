#include "ui/headless/headless_front_end.h"

#include <charconv>
#include <stdexcept>

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
    if (waitTimer_) {
        ui_.loop().stopTimer(waitTimer_);
    }
}

void HeadlessFrontEnd::start() {
    reader_ = std::make_unique<platform::InputStream>(
        ui_.loop(), input_, [this](std::string chunk) { readInput(std::move(chunk)); });
    waitTimer_ = ui_.loop().startTimer(5ms, true, [this] { checkWaiting(); });
}

void HeadlessFrontEnd::exited(int code) {
    emit({{"ev", "exit"}, {"code", code}});
}

// --- input ----------------------------------------------------------------------------

void HeadlessFrontEnd::readInput(std::string chunk) {
    if (chunk.empty()) {
        // End of input closes the launcher as `quit` does, after the commands before it.
        if (!partial_.empty()) {
            commands_.push_back(partial_);
            partial_.clear();
        }
        commands_.push_back("quit");
    } else {
        partial_.append(chunk);
        size_t newline;
        while ((newline = partial_.find('\n')) != std::string::npos) {
            // Windows tools end their lines in "\r\n": the "\r" belongs to the line end.
            size_t length = newline > 0 && partial_[newline - 1] == '\r' ? newline - 1 : newline;
            commands_.push_back(partial_.substr(0, length));
            partial_.erase(0, newline + 1);
        }
    }
    runCommands();
}

// Commands run one after the other and never inside each other: a command that lets the
// loop run (a handler's modal window) finds later commands waiting for it.
void HeadlessFrontEnd::runCommands() {
    if (running_) {
        return;
    }
    running_ = true;
    while (!waiting_ && !commands_.empty()) {
        std::string line = commands_.front();
        commands_.pop_front();
        try {
            execute(line);
        } catch (const std::exception& error) {
            emit({{"ev", "error"}, {"message", error.what()}});
        }
    }
    running_ = false;
}

void HeadlessFrontEnd::checkWaiting() {
    if (!waiting_) {
        return;
    }
    bool seen = waiting_->event && written_[*waiting_->event] > waiting_->seenBefore;
    if (!seen && platform::EventLoop::Clock::now() < waiting_->deadline) {
        return;
    }
    std::optional<std::string> event = waiting_->event;
    waiting_.reset();
    if (event) {
        emit({{"ev", "waited"}, {"for", *event}, {"seen", seen}});
    }
    runCommands();
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
    if (command == "key") {
        std::string key = nextWord(rest);
        if (key != "Esc") {
            throw std::invalid_argument("unknown key '" + key + "'");
        }
        ui_.escape(window);
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
        throw std::invalid_argument(std::string("the ") + windowName(window) +
                                    " window is not open");
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
        emit({{"ev", "ignored"}, {"window", windowName(window)}, {"control", name}});
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
    if (!answers_.empty()) {
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
