// What the tests of the real game ask of the X server, without a window
// manager to ask:
//
//   x11-probe find NAME          prints the id of the window NAME; exits 1 without one
//   x11-probe close NAME         asks the window NAME to close, as a window
//                                manager's close button does (WM_DELETE_WINDOW)
//   x11-probe picture            prints the box round the screen's non-black
//                                pixels, "X Y W H", and a hash of what is in it
//   x11-probe shot FILE.png      saves the whole screen
//   x11-probe take-focus SECONDS opens a window of its own, gives it the
//                                keyboard focus and keeps it that long
//
// Exits 0 on success, 1 when the server or the window cannot be reached, 2 on
// a usage mistake.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/fnv1a.h"
#include "hosts/shared/png/png_file.h"

namespace {

// A window may go while the tree is walked; that is no reason to stop.
int ignore_error(Display*, XErrorEvent*) { return 0; }

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

int close_window(Display* display, const char* name) {
    const Window window = find_window(display, DefaultRootWindow(display), name);
    if (!window) return 1;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
    return 0;
}

// The whole screen as 8-bit RGB rows.
std::vector<uint8_t> grab_screen(Display* display, int* width, int* height) {
    const Window root = DefaultRootWindow(display);
    XWindowAttributes attributes;
    XGetWindowAttributes(display, root, &attributes);
    *width = attributes.width;
    *height = attributes.height;
    XImage* image = XGetImage(display, root, 0, 0, unsigned(*width), unsigned(*height), AllPlanes, ZPixmap);
    std::vector<uint8_t> rgb;
    if (!image) return rgb;
    rgb.reserve(size_t(*width) * size_t(*height) * 3);
    for (int y = 0; y < *height; ++y)
        for (int x = 0; x < *width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            rgb.push_back(uint8_t((pixel & image->red_mask) >> 16));
            rgb.push_back(uint8_t((pixel & image->green_mask) >> 8));
            rgb.push_back(uint8_t(pixel & image->blue_mask));
        }
    XDestroyImage(image);
    return rgb;
}

int print_picture(Display* display) {
    int width, height;
    const std::vector<uint8_t> rgb = grab_screen(display, &width, &height);
    if (rgb.empty()) return 1;
    int left = width, top = height, right = -1, bottom = -1;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint8_t* p = &rgb[(size_t(y) * size_t(width) + size_t(x)) * 3];
            if (p[0] | p[1] | p[2]) {
                if (x < left) left = x;
                if (x > right) right = x;
                if (y < top) top = y;
                if (y > bottom) bottom = y;
            }
        }
    uint64_t hash = fnv1a_start;
    for (int y = top; y <= bottom; ++y)
        hash = fnv1a(&rgb[(size_t(y) * size_t(width) + size_t(left)) * 3], size_t(right + 1 - left) * 3, hash);
    if (right < 0) std::printf("0 0 0 0 0\n");
    else std::printf("%d %d %d %d %016llx\n", left, top, right - left + 1, bottom - top + 1, (unsigned long long)hash);
    return 0;
}

int save_shot(Display* display, const char* path) {
    int width, height;
    const std::vector<uint8_t> rgb = grab_screen(display, &width, &height);
    return !rgb.empty() && write_png(path, width, height, 3, rgb.data()) ? 0 : 1;
}

int take_focus(Display* display, int seconds) {
    const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 16, 16, 0, 0, 0);
    XMapWindow(display, window);
    XSync(display, False);
    usleep(100000);  // mapped before it can take the focus
    XSetInputFocus(display, window, RevertToNone, CurrentTime);
    XSync(display, False);
    sleep(unsigned(seconds));
    XDestroyWindow(display, window);
    XSync(display, False);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || (argc != 3 && std::strcmp(argv[1], "picture") != 0)) {
        std::fprintf(stderr, "usage: x11-probe find NAME | close NAME | picture | shot FILE.png | take-focus SECONDS\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) return 1;
    XSetErrorHandler(ignore_error);
    int status = 2;
    if (std::strcmp(argv[1], "find") == 0) {
        const Window window = find_window(display, DefaultRootWindow(display), argv[2]);
        if (window) std::printf("%lu\n", window);
        status = window ? 0 : 1;
    } else if (std::strcmp(argv[1], "close") == 0) status = close_window(display, argv[2]);
    else if (std::strcmp(argv[1], "picture") == 0) status = print_picture(display);
    else if (std::strcmp(argv[1], "shot") == 0) status = save_shot(display, argv[2]);
    else if (std::strcmp(argv[1], "take-focus") == 0) status = take_focus(display, std::atoi(argv[2]));
    XCloseDisplay(display);
    return status;
}
