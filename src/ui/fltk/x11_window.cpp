#include "ui/fltk/x11_window.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <FL/Fl_Window.H>
#include <FL/x.H>

#include <vector>

namespace ui::fltk {

void keepTaskbarEntry(Fl_Window& window) {
    if (!window.shown()) {
        return;
    }
    Display* display = fl_display;
    ::Window xid = fl_xid(&window);
    Atom state = XInternAtom(display, "_NET_WM_STATE", False);
    Atom skip = XInternAtom(display, "_NET_WM_STATE_SKIP_TASKBAR", False);

    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, xid, state, 0, 64, False, XA_ATOM, &type, &format, &count,
                           &after, &data) != Success) {
        return;
    }
    std::vector<Atom> kept;
    bool skipped = false;
    if (data && format == 32) {
        auto* atoms = reinterpret_cast<Atom*>(data);
        for (unsigned long i = 0; i < count; ++i) {
            if (atoms[i] == skip) {
                skipped = true;
            } else {
                kept.push_back(atoms[i]);
            }
        }
    }
    if (data) {
        XFree(data);
    }
    if (!skipped) {
        return;
    }
    XChangeProperty(display, xid, state, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(kept.data()), static_cast<int>(kept.size()));
    // A window manager that already manages the window learns of the change by message.
    XEvent message{};
    message.xclient.type = ClientMessage;
    message.xclient.window = xid;
    message.xclient.message_type = state;
    message.xclient.format = 32;
    message.xclient.data.l[0] = 0;  // remove
    message.xclient.data.l[1] = static_cast<long>(skip);
    message.xclient.data.l[3] = 1;  // from a normal application
    XSendEvent(display, RootWindow(display, fl_screen), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &message);
    XFlush(display);
}

void giveFocus(Fl_Window& window) {
    if (!window.shown()) {
        return;
    }
    XWindowAttributes attributes;
    ::Window xid = fl_xid(&window);
    if (XGetWindowAttributes(fl_display, xid, &attributes) && attributes.map_state == IsViewable) {
        XSetInputFocus(fl_display, xid, RevertToParent, CurrentTime);
        XFlush(fl_display);
    }
}

}  // namespace ui::fltk
