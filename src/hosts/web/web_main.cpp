// The game's entry points for the page, which cannot block: start once, then
// steps on the page's clock, each a message or a frame and the wait for the
// next, then the shutdown. The page drives them from its refresh callbacks.
#include "hosts/web/web_host.h"
#include "core/data_file.h"
#include "scenes/scenes.h"
#include "shell/shell.h"

namespace {

uint32_t next_due_ms = 0;

}  // namespace

WEB_EXPORT("web_set_language") void web_set_language(int english) {
    set_game_language(english ? language_english : language_japanese);
}

// 1 when the game is up; 0 when start-up failed (after its box) and it is over.
WEB_EXPORT("web_start") int web_start(uint32_t clock_ms) {
    web_set_clock(clock_ms);
    web_observe();
    return game_start() ? 1 : 0;
}

// One pass of the game's loop with the clock at `clock_ms` (test mode keeps its
// own). 0: the game is over; 1: a message was handled, step again; 2: it
// waits for the clock to reach web_due().
WEB_EXPORT("web_step") int web_step(uint32_t clock_ms) {
    web_set_clock(clock_ms);
    web_viewer_before_step();
    if (!game_step()) return 0;
    return web_take_wait(&next_due_ms) ? 2 : 1;
}

WEB_EXPORT("web_due") uint32_t web_due() { return next_due_ms; }

WEB_EXPORT("web_finish") void web_finish() { game_finish(); }

// The scene on top, 0 the title and 1 a round, for the page's tests.
WEB_EXPORT("web_top_scene") int web_top_scene() { return int(top_scene); }

// The title menu's cursor (a MenuItem), for a tap on an item to know the keys it takes.
WEB_EXPORT("web_title_cursor") int web_title_cursor() { return int(cursor_pos); }
