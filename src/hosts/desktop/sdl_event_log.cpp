#include "hosts/desktop/sdl_event_log.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "scenes/scenes.h"

namespace {

int log_fd = -1;
unsigned long long shown = 0;
int last_title = -1, last_round = -1, last_paused = 0;

// One write a line, so that a reader never sees half of one.
void put_line(const char* line, int length) {
    if (length > 0 && write(log_fd, line, size_t(length)) < 0) {
        close(log_fd);  // a test that stopped reading: nothing more to tell it
        log_fd = -1;
    }
}

void put(const char* format, long long value = 0) {
    char line[48];
    put_line(line, std::snprintf(line, sizeof line, format, value));
}

}  // namespace

void sdl_event_log_start() {
    const char* path = std::getenv("KUZARI_EVENT_LOG");
    if (!path || !*path) return;
    log_fd = open(path, O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC | O_NONBLOCK, 0644);
    if (log_fd < 0) std::perror("kuzari: KUZARI_EVENT_LOG");
}

void sdl_event_log_shown() {
    if (log_fd < 0) return;
    put("shown %lld\n", static_cast<long long>(++shown));
    if (title_state != last_title) put("title %lld\n", last_title = title_state);
    if (round_state != last_round) put("round %lld\n", last_round = round_state);
}

void sdl_event_log_voice(uint32_t clip_ms) {
    if (log_fd >= 0) put("voice %lld\n", clip_ms);
}

void sdl_event_log_paused(bool paused) {
    if (log_fd < 0 || int(paused) == last_paused) return;
    last_paused = paused;
    put(paused ? "paused\n" : "running\n");
}

void sdl_event_log_hint(const char* words) {
    if (log_fd < 0) return;
    char line[160];
    const int length = std::snprintf(line, sizeof line, *words ? "hint %s\n" : "hint\n", words);
    put_line(line, std::min(length, int(sizeof line) - 1));
}
