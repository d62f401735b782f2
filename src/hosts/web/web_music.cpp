// Music rendered when the site was built: each MIDI file the build rendered is
// known by a hash of its bytes, and the page plays its recording. Bytes the
// build did not render are a piece this engine cannot play.
#include "core/fnv1a.h"
#include "hosts/web/web_host.h"

struct PlatformMusic {
    int piece;  // the page's number for the recording
};

namespace {

bool music_open = false;
const PlatformMusic* playing = nullptr;

}  // namespace

bool platform_music_open() {
    if (!music_open) music_open = host_music_open() != 0;
    return music_open;
}

void platform_music_close() {
    if (!music_open) return;
    host_music_close();
    playing = nullptr;
    music_open = false;
}

PlatformMusic* platform_music_load(const uint8_t* bytes, size_t size) {
    if (!music_open || size > UINT32_MAX) return nullptr;
    const uint64_t hash = fnv1a(bytes, size);
    const int piece = host_music_find(uint32_t(hash >> 32), uint32_t(hash), uint32_t(size));
    return piece > 0 ? new PlatformMusic{piece} : nullptr;
}

void platform_music_play(PlatformMusic* music, int plays) {
    if (!music_open || !music) return;
    host_music_play(music->piece, plays);
    playing = music;
}

void platform_music_stop() {
    if (!music_open) return;
    host_music_stop();
    playing = nullptr;
}

void platform_music_free(PlatformMusic* music) {
    if (!music) return;
    if (music == playing) platform_music_stop();
    delete music;
}
