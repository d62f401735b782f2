// Asks the top-level window with the given name to close, as a window manager
// does when its close button is pressed: a WM_DELETE_WINDOW message. Works
// without a window manager, where wmctrl and xdotool have nothing to ask.
//
//   send-close-request NAME     exit 0 when the request was sent
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstring>

namespace {

Window find_window(Display* display, Window window, const char* name) {
    char* window_name = nullptr;
    if (XFetchName(display, window, &window_name) && window_name) {
        const bool found = std::strcmp(window_name, name) == 0;
        XFree(window_name);
        if (found) return window;
    }
    Window root, parent, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, window, &root, &parent, &children, &count)) return 0;
    Window found = 0;
    for (unsigned i = 0; i < count && !found; ++i) found = find_window(display, children[i], name);
    if (children) XFree(children);
    return found;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: send-close-request WINDOW_NAME\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) return 1;
    const Window window = find_window(display, DefaultRootWindow(display), argv[1]);
    if (!window) {
        XCloseDisplay(display);
        return 1;
    }
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
    XCloseDisplay(display);
    return 0;
}
