#include "gui/screen.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xfixes.h>
#include <X11/extensions/shape.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

extern char** environ;

namespace gui_test {

int startXdotool(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    std::string program = "xdotool";
    argv.push_back(program.data());
    for (const auto& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, "xdotool", nullptr, nullptr, argv.data(), environ) != 0) {
        throw std::runtime_error("cannot run xdotool");
    }
    return pid;
}

void finishXdotool(int pid) {
    if (pid > 0) {
        waitpid(pid, nullptr, 0);
    }
}

void xdotool(platform::EventLoop& loop, const std::vector<std::string>& args) {
    pid_t pid = startXdotool(args);
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        loop.runOnce(std::chrono::milliseconds(5));
    }
    settle(loop);
}

void settle(platform::EventLoop& loop, std::chrono::milliseconds time) {
    loop.runFor(time);
}

bool eventually(platform::EventLoop& loop, const std::function<bool()>& condition) {
    for (int i = 0; i < 150 && !condition(); ++i) {
        loop.runFor(std::chrono::milliseconds(20));
    }
    return condition();
}

Screen::Screen() : display_(XOpenDisplay(nullptr)) {
    if (!display_) {
        throw std::runtime_error("no display");
    }
}

Screen::~Screen() {
    XCloseDisplay(display_);
}

ui::Color Screen::pixel(int x, int y) const {
    XImage* image =
        XGetImage(display_, DefaultRootWindow(display_), x, y, 1, 1, AllPlanes, ZPixmap);
    unsigned long value = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    return {static_cast<std::uint8_t>((value >> 16) & 0xFF),
            static_cast<std::uint8_t>((value >> 8) & 0xFF),
            static_cast<std::uint8_t>(value & 0xFF)};
}

Screen::Window Screen::findWindow(int width, int height) const {
    ::Window root = DefaultRootWindow(display_), parent = 0, *children = nullptr;
    unsigned int count = 0;
    Window found = 0;
    if (XQueryTree(display_, root, &root, &parent, &children, &count)) {
        for (unsigned int i = 0; i < count; ++i) {
            XWindowAttributes a;
            if (XGetWindowAttributes(display_, children[i], &a) && a.map_state == IsViewable &&
                a.width == width && a.height == height) {
                found = children[i];
            }
        }
        XFree(children);
    }
    return found;
}

unsigned long Screen::cursorSerial() const {
    XFixesCursorImage* image = XFixesGetCursorImage(display_);
    if (!image) {
        return 0;
    }
    unsigned long serial = image->cursor_serial;
    XFree(image);
    return serial;
}

int Screen::windowCount() const {
    ::Window root = DefaultRootWindow(display_), parent = 0, *children = nullptr;
    unsigned int count = 0;
    int mapped = 0;
    if (XQueryTree(display_, root, &root, &parent, &children, &count)) {
        for (unsigned int i = 0; i < count; ++i) {
            XWindowAttributes a;
            mapped += XGetWindowAttributes(display_, children[i], &a) && a.map_state == IsViewable;
        }
        XFree(children);
    }
    return mapped;
}

Screen::Window Screen::findWindow(const std::string& wanted) const {
    ::Window root = DefaultRootWindow(display_), parent = 0, *children = nullptr;
    unsigned int count = 0;
    Window found = 0;
    if (XQueryTree(display_, root, &root, &parent, &children, &count)) {
        for (unsigned int i = 0; i < count; ++i) {
            XWindowAttributes a;
            if (XGetWindowAttributes(display_, children[i], &a) && a.map_state == IsViewable &&
                title(children[i]) == wanted) {
                found = children[i];
            }
        }
        XFree(children);
    }
    return found;
}

void Screen::origin(Window window, int& x, int& y) const {
    ::Window child;
    XTranslateCoordinates(display_, window, DefaultRootWindow(display_), 0, 0, &x, &y, &child);
}

long Screen::outlineArea(Window window) const {
    int count = 0, ordering = 0;
    XRectangle* rects = XShapeGetRectangles(display_, window, ShapeBounding, &count, &ordering);
    if (!rects) {
        return -1;
    }
    long area = 0;
    for (int i = 0; i < count; ++i) {
        area += static_cast<long>(rects[i].width) * rects[i].height;
    }
    XFree(rects);
    return area;
}

bool Screen::skipsTaskbar(Window window) const {
    Atom state = XInternAtom(display_, "_NET_WM_STATE", False);
    Atom skip = XInternAtom(display_, "_NET_WM_STATE_SKIP_TASKBAR", False);
    Atom type;
    int format;
    unsigned long count = 0, after;
    unsigned char* data = nullptr;
    XGetWindowProperty(display_, window, state, 0, 64, False, XA_ATOM, &type, &format, &count,
                       &after, &data);
    bool skips = false;
    for (unsigned long i = 0; data && i < count; ++i) {
        skips = skips || reinterpret_cast<Atom*>(data)[i] == skip;
    }
    if (data) {
        XFree(data);
    }
    return skips;
}

std::string Screen::title(Window window) const {
    char* name = nullptr;
    std::string result;
    if (XFetchName(display_, window, &name) && name) {
        result = name;
        XFree(name);
    }
    return result;
}

void Screen::save(Window window, const std::string& path) const {
    // From the root window, so the picture shows what the player sees, outline included.
    XWindowAttributes a;
    XGetWindowAttributes(display_, window, &a);
    int x = 0, y = 0;
    origin(window, x, y);
    std::string geometry = std::to_string(a.width) + "x" + std::to_string(a.height) + "+" +
                           std::to_string(x) + "+" + std::to_string(y);
    std::string command =
        "import -silent -window root -crop " + geometry + " +repage '" + path + "'";
    if (std::system(command.c_str()) != 0) {
        throw std::runtime_error("screenshot failed: " + path);
    }
}

}  // namespace gui_test
