// The trace: one JSON line per frame with the game's state, the events of the
// frame and a hash of the back buffer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "hosts/headless/headless.h"

// The line of one frame, line break and all; `events` are those that happened
// in it. With `with_playing`, a last key "playing" tells what really sounds.
std::string trace_line(uint64_t frame, bool presented, const std::vector<HeadlessEvent>& events,
                       bool with_playing);

std::string json_string(const std::string& text);
