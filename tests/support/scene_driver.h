// Drives the scenes in this process on the headless host: the recorded
// events as short texts, and the A button held or pressed for the next call.
#pragma once

#include <string>
#include <vector>

#include "hosts/headless/headless.h"
#include "core/input.h"

// The events recorded since the last call, e.g. "se 0", "voice voice/uwa.wav",
// "music midi/end.mid 0", "stop_music", "sheet bitmap/end.bmp".
inline std::vector<std::string> take_event_texts() {
    std::vector<std::string> texts;
    for (const HeadlessEvent& e : headless_take_events()) {
        switch (e.kind) {
        case HeadlessEvent::se: texts.push_back("se " + std::to_string(e.number)); break;
        case HeadlessEvent::voice: texts.push_back("voice " + e.text); break;
        case HeadlessEvent::music: texts.push_back("music " + e.text + " " + std::to_string(e.number)); break;
        case HeadlessEvent::stop_music: texts.push_back("stop_music"); break;
        case HeadlessEvent::sheet: texts.push_back("sheet " + e.text); break;
        case HeadlessEvent::box: texts.push_back("box " + e.text); break;
        }
    }
    return texts;
}

// Sets button A for the next call: held now and/or in the frame before.
inline void set_button_a(bool now, bool before) {
    input.button_a = now;
    input.button_a_prev = before;
}

// Calls `step` until it returns true, at most `limit` times; the number of
// calls made, or -1 if it never returned true.
template <typename Step>
int calls_until_done(Step step, int limit) {
    for (int i = 1; i <= limit; ++i)
        if (step()) return i;
    return -1;
}
