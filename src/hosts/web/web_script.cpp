// The page's test mode: a kuzari-replay script played as the headless host
// plays it, through the hosts' shared script player. The clock starts at
// 1000 ms and moves 17 ms a wait; the seed and edition are the script's.
#include <string>
#include <vector>

#include "core/data_file.h"
#include "hosts/shared/input_feed.h"
#include "hosts/web/web_host.h"

namespace {

uint32_t clock_ms = 1000;
uint32_t seed = 1;
std::string script_text;
std::string script_error;

}  // namespace

// Room for a script of `size` bytes, which the page writes there.
WEB_EXPORT("web_script_buffer") char* web_script_buffer(uint32_t size) {
    script_text.assign(size, '\0');
    return script_text.data();
}

// Reads the script written into the buffer and puts the game in test mode:
// 1 when it is good, 0 with the reason in web_script_error.
WEB_EXPORT("web_use_script") int web_use_script() {
    script_error.clear();
    std::vector<InputRun> runs;
    if (!parse_script(script_text, &runs, &script_error)) return 0;
    const ScriptHeader header = script_header(script_text);
    seed = header.seed;
    if (header.language == "en") set_game_language(language_english);
    clock_ms = 1000;
    feed_play_script(std::move(runs));
    web_trace_frames();
    return 1;
}

WEB_EXPORT("web_script_error") const char* web_script_error() { return script_error.c_str(); }

bool web_script_running() { return input_feed.playing; }
void web_script_waited() { clock_ms += 17; }
uint32_t web_script_clock() { return clock_ms; }
uint32_t web_script_seed() { return seed; }
