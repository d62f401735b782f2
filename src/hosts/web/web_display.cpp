// The picture on the page's canvas. Presenting hands the page the back
// buffer's place; the page converts the latest picture once a refresh.
#include "hosts/web/web_host.h"

bool platform_open_display(PlatformWindow* window, int width, int height) {
    return window && host_open_display(width, height) != 0;
}

void platform_present(const void* pixels, int pitch) {
    host_present(pixels, pitch);
    web_frame_shown();
}

void platform_close_display() { host_close_display(); }
