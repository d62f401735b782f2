// The picture on the page's canvas. Presenting hands the page the back
// buffer's place; the page converts the latest picture once a refresh.
#include "core/picture_hash.h"
#include "hosts/shared/input_feed.h"
#include "hosts/web/web_host.h"

namespace {

int picture_width = 0, picture_height = 0;

}  // namespace

bool platform_open_display(PlatformWindow* window, int width, int height) {
    picture_width = width;
    picture_height = height;
    return window && host_open_display(width, height) != 0;
}

void platform_present(const void* pixels, int pitch) {
    if (web_viewer_shows_frame()) {
        host_present(pixels, pitch);
        web_watch_vibration();  // not while a seek runs through frames unseen
    }
    // Live play is always recorded, so that a crash can hand the player a
    // recording for a bug report; a traced run records every frame itself.
    if (!web_tracing()) {
        feed_frame_shown(picture_hash(static_cast<const uint16_t*>(pixels), picture_width, picture_height, pitch / 2));
        web_records_frame();  // a best round's recording closes on this frame
    }
    web_frame_shown();
}

void platform_close_display() { host_close_display(); }
