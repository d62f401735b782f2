// The page as the game's window: its message queue (key-downs from the page,
// the quit the game posts), the clock the page sets before every step, and the
// wait, which only notes when the next frame is due for the page to come back.
#include <deque>

#include "hosts/shared/input_feed.h"
#include "hosts/web/web_host.h"

namespace {

std::deque<PlatformMessage> messages;
bool quit_posted = false;
uint32_t clock_ms = 0;
uint32_t due_ms = 0;
bool waited = false;

}  // namespace

struct PlatformWindow {};

void web_set_clock(uint32_t ms) { clock_ms = ms; }

// A key went down on the page: the game's window hears of it.
WEB_EXPORT("web_key_message") void web_key_message(int is_escape) {
    if (is_escape) web_record_escape();
    messages.push_back(PlatformMessage{message_key_down, is_escape != 0});
}

// Whether the last step ended in a wait, and for when the next frame is due.
bool web_take_wait(uint32_t* due) {
    const bool was_waiting = waited;
    waited = false;
    *due = due_ms;
    return was_waiting;
}

PlatformWindow* platform_create_window(const char*, int, int) {
    static PlatformWindow window;
    messages.clear();
    quit_posted = false;
    return &window;
}

void platform_destroy_window(PlatformWindow*) {}

// The canvas hides the pointer itself while the game runs.
void platform_hide_cursor() {}

bool platform_take_message(PlatformMessage* message) {
    if (quit_posted) {
        quit_posted = false;
        *message = PlatformMessage{message_quit, false};
        return true;
    }
    if (feed_script_message(message)) return true;
    if (web_script_running()) return false;
    if (messages.empty()) return false;
    *message = messages.front();
    messages.pop_front();
    return true;
}

void platform_post_quit() { quit_posted = true; }

void platform_wait_until(uint32_t deadline_ms) {
    if (web_script_running()) {
        web_script_waited();
        return;
    }
    waited = true;
    due_ms = web_viewer_due(clock_ms, deadline_ms);
}

uint32_t platform_ticks_ms() { return web_script_running() ? web_script_clock() : web_viewer_clock(clock_ms); }

uint32_t platform_calendar_seconds() {
    const uint32_t seed = web_script_seeded() ? web_script_seed() : host_calendar_seconds();
    web_record_seed(seed);
    return seed;
}

void platform_message_box(const char* text, const char* caption, bool error_icon) {
    host_message_box(text, caption, error_icon ? 1 : 0);
}
