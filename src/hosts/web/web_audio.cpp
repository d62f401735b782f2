// Effects and voices through Web Audio: each slot's clip goes to the page in
// its own format when it is bound, and the page makes a sound of it.
#include "hosts/web/web_host.h"

namespace {

bool audio_open = false;
bool clip_bound[sound_slot_count];

bool slot_in_range(int slot) { return slot >= 0 && slot < sound_slot_count; }

}  // namespace

bool platform_audio_open() {
    audio_open = host_audio_open() != 0;
    return audio_open;
}

void platform_audio_close() {
    if (!audio_open) return;
    for (int slot = 0; slot < sound_slot_count; ++slot) platform_clip_unbind(slot);
    host_audio_close();
    audio_open = false;
}

bool platform_clip_bind(int slot, const uint8_t* samples, uint32_t byte_count, const ClipFormat& format) {
    platform_clip_unbind(slot);
    if (!audio_open || !slot_in_range(slot)) return false;
    clip_bound[slot] =
        host_clip_bind(slot, samples, byte_count, format.rate, format.bits_per_sample, format.channels) != 0;
    if (clip_bound[slot]) web_clip_bound(slot, byte_count, format.rate, format.bits_per_sample, format.channels);
    return clip_bound[slot];
}

void platform_clip_unbind(int slot) {
    if (!slot_in_range(slot) || !clip_bound[slot]) return;
    host_clip_unbind(slot);
    clip_bound[slot] = false;
}

void platform_clip_play(int slot) {
    if (!slot_in_range(slot) || !clip_bound[slot]) return;
    host_clip_play(slot);
    web_clip_played(slot);
}
