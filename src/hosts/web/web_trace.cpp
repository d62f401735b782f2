// What the page's tests read back: each frame's picture hash (the trace's
// "fb"), and a recording of the input as a kuzari-replay script, which plays
// to the same pictures.
#include <string>

#include "core/data_file.h"
#include "core/observer.h"
#include "graphics/graphics.h"
#include "hosts/shared/input_feed.h"
#include "hosts/web/web_host.h"

namespace {

std::string recording;

void report_frame(bool presented, uint64_t hash) {
    host_frame_finished(presented ? 1 : 0, uint32_t(hash >> 32), uint32_t(hash));
}

void trace_frame(bool presented) {
    const uint64_t hash = back_buffer_hash();
    feed_frame_shown(hash);
    web_records_frame();
    report_frame(presented, hash);
}

// The page's observer: the voices for the captions always, the frames only
// when traced.
GameObserver page_observer = {
    nullptr, nullptr, web_caption_voice_asked, nullptr, nullptr, nullptr, nullptr,
};

}  // namespace

void web_observe() { add_game_observer(&page_observer); }

void web_trace_frames() {
    page_observer.frame_finished = trace_frame;
    web_observe();
}

bool web_tracing() { return page_observer.frame_finished != nullptr; }

WEB_EXPORT("web_trace") void web_trace() { web_trace_frames(); }

// The picture before the first frame, reported as frame 0.
WEB_EXPORT("web_report_frame0") void web_report_frame0() { report_frame(false, back_buffer_hash()); }

void web_record_seed(uint32_t seed) { feed_record(seed, game_language() == language_english); }

void web_record_escape() { feed_escape(); }

// The recording so far, as the desktop's --record writes it.
WEB_EXPORT("web_recording") const char* web_recording() {
    recording = recording_text(input_feed.recorder);
    return recording.c_str();
}
