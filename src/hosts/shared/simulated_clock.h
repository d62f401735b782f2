// The clock a scripted run plays on, the same on every host that plays one
// (the headless host, the page's test mode): it starts at the same reading and
// moves the same step at each wait, so a script plays to the same frames.
#pragma once

#include <cstdint>

constexpr uint32_t simulated_clock_start_ms = 1000;
constexpr uint32_t simulated_clock_step_ms = 17;
