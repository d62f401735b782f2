// KUZARI_PROFILE=1: when the game exits it reports on stderr how its main
// thread spent the time from the first presented frame to the last: the game's
// own frame work, presenting, and waiting for the next frame; the frames and
// how their intervals spread; the main thread's time in the music at each
// change of piece; and how long after start-up the first frame was presented.
// Off by default: then it costs one test per frame.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "hosts/desktop/sdl_platform.h"

namespace {

constexpr int max_start_up_steps = 24;

double clock_ms() {
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

struct Profile {
    bool on;
    double started;  // before main, once the program's libraries are loaded
    unsigned long long frames;
    double first_present, first_present_end, last_present, last_present_end;
    double presenting, waiting;  // totals between the first and the last present
    std::vector<float> intervals;  // after the first second, when the start has settled
    double music_in_frame;         // the main thread's time in the music since the last present
    std::vector<float> music_changes;
    // Where start-up's time went before the first picture: each step's end.
    const char* step_names[max_start_up_steps];
    double step_ends[max_start_up_steps];
    int steps;
};

Profile profile{std::getenv("KUZARI_PROFILE") != nullptr, clock_ms(), 0, 0, 0, 0, 0, 0, 0, {}, 0, {}, {}, {}, 0};

float percentile(std::vector<float> values, double share) {
    if (values.empty()) return 0;
    const size_t at = std::min(values.size() - 1, size_t(share * double(values.size())));
    std::nth_element(values.begin(), values.begin() + long(at), values.end());
    return values[at];
}

void report_start_up(const Profile& p) {
    double from = p.started;
    for (int step = 0; step < p.steps; ++step) {
        std::fprintf(stderr, "kuzari profile: start-up %6.1f ms %s\n", p.step_ends[step] - from, p.step_names[step]);
        from = p.step_ends[step];
    }
    if (p.frames > 0)
        std::fprintf(stderr, "kuzari profile: start-up %6.1f ms to the first frame presented\n",
                     p.first_present_end - from);
}

void report() {
    const Profile& p = profile;
    report_start_up(p);
    if (p.frames < 2) {
        std::fprintf(stderr, "kuzari profile: %llu frames presented\n", p.frames);
        return;
    }
    const double span = p.last_present_end - p.first_present;
    const double frames = double(p.frames);
    const long over_18 = std::count_if(p.intervals.begin(), p.intervals.end(), [](float i) { return i > 18; });
    const float longest = p.intervals.empty() ? 0 : *std::max_element(p.intervals.begin(), p.intervals.end());
    std::fprintf(stderr,
                 "kuzari profile: %llu frames, mean interval %.3f ms (%.2f fps)\n"
                 "kuzari profile: after the first second: median interval %.2f ms, 99th percentile %.2f ms, "
                 "longest %.1f ms, %ld over 18 ms\n"
                 "kuzari profile: per frame %.3f ms frame work, %.3f ms presenting, %.3f ms waiting\n"
                 "kuzari profile: first frame on the screen %.1f ms after start-up\n",
                 p.frames, (p.last_present - p.first_present) / (frames - 1),
                 1000 * (frames - 1) / (p.last_present - p.first_present), double(percentile(p.intervals, 0.5)),
                 double(percentile(p.intervals, 0.99)), double(longest), over_18,
                 (span - p.presenting - p.waiting) / frames, p.presenting / frames, p.waiting / frames,
                 p.first_present_end - p.started);
    if (!p.music_changes.empty())
        std::fprintf(stderr, "kuzari profile: %zu changes of music, main thread %.3f ms at the median, %.3f ms at most\n",
                     p.music_changes.size(), double(percentile(p.music_changes, 0.5)),
                     double(*std::max_element(p.music_changes.begin(), p.music_changes.end())));
}

}  // namespace

void sdl_profile_step(const char* name) {
    Profile& p = profile;
    if (!p.on || p.frames > 0 || p.steps == max_start_up_steps) return;
    p.step_names[p.steps] = name;
    p.step_ends[p.steps] = clock_ms();
    p.steps += 1;
}

double sdl_profile_clock() { return profile.on ? clock_ms() : 0; }

void sdl_profile_presented(double began) {
    Profile& p = profile;
    if (!p.on) return;
    const double ended = clock_ms();
    if (p.frames == 0) {
        p.first_present = began;
        p.first_present_end = ended;
        p.intervals.reserve(1 << 16);
        std::atexit(report);
    } else {
        if (began - p.first_present > 1000) p.intervals.push_back(float(began - p.last_present));
        p.presenting += ended - began;
    }
    if (p.music_in_frame > 0) p.music_changes.push_back(float(p.music_in_frame));
    p.music_in_frame = 0;
    p.frames += 1;
    p.last_present = began;
    p.last_present_end = ended;
}

void sdl_profile_waited(double began) {
    if (profile.on && profile.frames > 0) profile.waiting += clock_ms() - began;
}

void sdl_profile_music(double began) {
    if (profile.on) profile.music_in_frame += clock_ms() - began;
}
