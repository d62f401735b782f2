// KUZARI_PROFILE=1: when the game exits it reports on stderr how its main
// thread spent the time from the first presented frame to the last: the game's
// own frame work, presenting, and waiting for the next frame; the number of
// frames and their intervals; and how long after start-up the first frame was
// presented. Off by default: then it costs one test per frame.
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "platform/sdl/sdl_platform.h"

namespace {

double clock_ms() {
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

struct Profile {
    bool on;
    double started;  // before main, once the program's libraries are loaded
    unsigned long long frames;
    double first_present, last_present, last_present_end;
    double longest_interval;
    unsigned long long late;  // intervals of more than 17.5 ms
    double presenting, waiting;  // totals between the first and the last present
};

Profile profile{std::getenv("KUZARI_PROFILE") != nullptr, clock_ms(), 0, 0, 0, 0, 0, 0, 0, 0};

void report() {
    const Profile& p = profile;
    if (p.frames < 2) {
        std::fprintf(stderr, "kuzari profile: %llu frames presented\n", p.frames);
        return;
    }
    const double span = p.last_present_end - p.first_present;
    const double frames = double(p.frames);
    std::fprintf(stderr,
                 "kuzari profile: %llu frames, mean interval %.3f ms (%.2f fps), %llu longer than 17.5 ms, "
                 "the longest %.1f ms\n"
                 "kuzari profile: per frame %.3f ms frame work, %.3f ms presenting, %.3f ms waiting\n"
                 "kuzari profile: first frame presented %.1f ms after start-up\n",
                 p.frames, (p.last_present - p.first_present) / (frames - 1),
                 1000 * (frames - 1) / (p.last_present - p.first_present), p.late, p.longest_interval,
                 (span - p.presenting - p.waiting) / frames, p.presenting / frames, p.waiting / frames,
                 p.first_present - p.started);
}

}  // namespace

double sdl_profile_clock() { return profile.on ? clock_ms() : 0; }

void sdl_profile_presented(double began) {
    Profile& p = profile;
    if (!p.on) return;
    const double ended = clock_ms();
    if (p.frames == 0) {
        p.first_present = began;
        std::atexit(report);
    } else {
        const double interval = began - p.last_present;
        if (interval > p.longest_interval) p.longest_interval = interval;
        if (interval > 17.5) p.late += 1;
        p.presenting += ended - began;
    }
    p.frames += 1;
    p.last_present = began;
    p.last_present_end = ended;
}

void sdl_profile_waited(double began) {
    if (profile.on && profile.frames > 0) profile.waiting += clock_ms() - began;
}
