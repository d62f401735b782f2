// Small queries over a kuzari-replay trace.
#pragma once

#include <nlohmann/json.hpp>

#include <functional>
#include <vector>

#include "support/replay_run.h"

// Indices into the trace's "scenes" array.
enum SceneField { f_title_state, f_play_state, f_round_state, f_cutin_state, f_cutin_offset,
                  f_result_state, f_result_counter };

inline int scene_field(const nlohmann::json& frame, SceneField field) { return frame["scenes"][int(field)]; }

// The first frame at or after `from` for which `test` holds, or -1.
inline long long first_frame(const ReplayResult& result, const std::function<bool(const nlohmann::json&)>& test,
                             long long from = 0) {
    for (long long i = from; i < (long long)result.frames.size(); ++i)
        if (test(result.frames[i])) return i;
    return -1;
}

// The first frame at or after `from` in which the given scene field holds `value`, or -1.
inline long long first_with(const ReplayResult& result, SceneField field, int value, long long from = 0) {
    return first_frame(result, [&](const nlohmann::json& f) { return scene_field(f, field) == value; }, from);
}

// How many frames carry `event` among their events.
inline size_t count_event(const ReplayResult& result, const nlohmann::json& event) {
    return frames_with_event(result, event).size();
}
