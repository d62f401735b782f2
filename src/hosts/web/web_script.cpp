// Scripts played on the page through the hosts' shared script player. Test
// mode plays a kuzari-replay script as the headless host plays it, on the
// simulated clock. ?playback= plays a recording as
// the desktop's --playback does: on the page's real clock, with live key-downs
// still heard. Either way the seed is the script's, and so is the edition.
#include <string>
#include <vector>

#include "core/data_file.h"
#include "hosts/shared/input_feed.h"
#include "hosts/shared/simulated_clock.h"
#include "hosts/web/web_host.h"

namespace {

uint32_t clock_ms = simulated_clock_start_ms;
uint32_t seed = 1;
bool own_clock = false;  // test mode's: the script runs on a clock of its own
std::string script_text;
std::string script_error;

// Parses the script written into the buffer; false with the reason in script_error.
bool read_script(std::vector<InputRun>* runs, ScriptHeader* header) {
    script_error.clear();
    if (!parse_script(script_text, runs, &script_error)) return false;
    *header = script_header(script_text);
    seed = header->seed;
    return true;
}

}  // namespace

// Room for a script of `size` bytes, which the page writes there.
WEB_EXPORT("web_script_buffer") char* web_script_buffer(uint32_t size) {
    script_text.assign(size, '\0');
    return script_text.data();
}

// Reads the script written into the buffer and puts the game in test mode:
// 1 when it is good, 0 with the reason in web_script_error.
WEB_EXPORT("web_use_script") int web_use_script() {
    std::vector<InputRun> runs;
    ScriptHeader header;
    if (!read_script(&runs, &header)) return 0;
    if (header.language == "en") set_game_language(language_english);
    clock_ms = simulated_clock_start_ms;
    own_clock = true;
    feed_play_script(std::move(runs));
    web_trace_frames();
    return 1;
}

// Reads the recording written into the buffer to play it back on the real
// clock, in the edition it names (Japanese when it names none, as on the
// desktop): 1 when it is good, 0 with the reason in web_script_error.
WEB_EXPORT("web_use_playback") int web_use_playback() {
    std::vector<InputRun> runs;
    ScriptHeader header;
    if (!read_script(&runs, &header)) return 0;
    // A file cut to nothing would play as a demo of no frames, without a word.
    if (runs.empty()) {
        script_error = script_text.empty() ? "the file is empty" : "it holds no frames to play";
        return 0;
    }
    set_game_language(header.language == "en" ? language_english : language_japanese);
    own_clock = false;
    feed_play_script(std::move(runs));
    web_viewer_begin();
    return 1;
}

WEB_EXPORT("web_script_error") const char* web_script_error() { return script_error.c_str(); }

// 1 when the game plays in English, for the page's own words.
WEB_EXPORT("web_english") int web_english() { return game_language() == language_english ? 1 : 0; }

bool web_script_running() { return input_feed.playing && own_clock; }
bool web_script_seeded() { return input_feed.playing; }
void web_script_waited() { clock_ms += simulated_clock_step_ms; }
uint32_t web_script_clock() { return clock_ms; }
uint32_t web_script_seed() { return seed; }
