// The game's millisecond clock on SDL, and the wait for the next frame.
// Normally it is SDL's own clock. With --vsync on a display that refreshes
// at about 60 or 120 Hz, the clock is tied to the refresh instead: it moves
// 17 ms a refresh at 60 Hz and half that at 120 Hz, so that the game's rule
// (a frame once more than 16 ms have passed) runs one frame a refresh, or one
// every two, each shown equally long.
#include <unistd.h>

#include <cmath>

#include "platform/platform.h"
#include "hosts/desktop/sdl_platform.h"

namespace {

int refreshes_per_frame = 0;  // 0: SDL's own clock
double refresh_ms = 0;
bool refreshes_counted = false;  // a frame has been presented on the refresh
double refresh_zero_ms = 0;      // a moment just after a refresh: the count starts there
long present_refresh = 0;        // the refresh the last frame was presented on
uint32_t last_present_ticks = 0;  // the clock at the start of the frame presented then
uint32_t last_ticks = 0;          // the clock as last read

// A frame may start this much before its refresh: presenting waits for it.
constexpr double early_ms = 1.5;
// A present that took longer than this waited for the refresh, and so marks
// where refreshes fall; a quicker one leaves the count where it was.
constexpr double waited_ms = 0.5;

long refresh_at(double time) { return long(std::floor((time - refresh_zero_ms + early_ms) / refresh_ms)); }

uint32_t vsync_ticks(double now) {
    return last_present_ticks + uint32_t(17 * (refresh_at(now) - present_refresh) / refreshes_per_frame);
}

}  // namespace

double sdl_precise_ms() {
    return double(SDL_GetPerformanceCounter()) * 1000.0 / double(SDL_GetPerformanceFrequency());
}

void sdl_lock_clock_to_refresh(int refresh_rate) {
    refreshes_per_frame = refresh_rate >= 118 ? 2 : 1;
    refresh_ms = 1000.0 / refresh_rate;
}

void sdl_clock_presented(double present_began) {
    if (!refreshes_per_frame) return;
    const double now = sdl_precise_ms();
    if (!refreshes_counted || now - present_began > waited_ms) refresh_zero_ms = now;
    present_refresh = refresh_at(now);
    last_present_ticks = last_ticks;
    refreshes_counted = true;
}

uint32_t platform_ticks_ms() {
    last_ticks = refreshes_counted ? vsync_ticks(sdl_precise_ms()) : SDL_GetTicks();
    return sdl_viewer_clock(last_ticks);
}

// Waits on the event queue for most of the time left, then in short naps for
// the last couple of milliseconds, so that the frame starts on its exact
// millisecond (or refresh) without spinning a core.
void platform_wait_until(uint32_t deadline_ms) {
    const double began = sdl_profile_clock();
    for (;;) {
        // A playback watched off the game's pace waits by its own measure.
        int32_t remaining = sdl_viewer_wait(int32_t(deadline_ms - platform_ticks_ms()));
        if (remaining <= 0) break;
        if (refreshes_counted) {
            // Real time to the refresh at which the clock next moves.
            const double now = sdl_precise_ms();
            const double next = refresh_zero_ms - early_ms + double(refresh_at(now) + 1) * refresh_ms;
            remaining = int32_t(std::ceil(next - now));
        }
        if (remaining > 2) {
            if (SDL_WaitEventTimeout(nullptr, remaining - 2)) break;
        } else {
            SDL_PumpEvents();
            if (SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT)) break;
            usleep(200);
        }
    }
    sdl_profile_waited(began);
}
