// What the audio subsystem's own files (and its tests) share.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "audio/audio.h"
#include "audio/wave_reader.h"
#include "platform/platform.h"

static_assert(voice_slot == sound_slot_count - 1, "the voice channel is the last slot");

// One slot's clip: made for the clip's own format, then filled with its
// samples, which the platform takes in that format for the slot's channel.
struct SoundBuffer {
    int slot;
    WaveFormat format;
    uint32_t byte_count;  // the most bytes it takes, in the clip's own format
};

extern bool sound_device;  // the output device is open
extern SoundBuffer* sound_buffers[sound_slot_count];

bool load_wave(const char* path, int slot);
bool create_sound_buffer(int slot, uint32_t byte_count, const WaveFormat& format);
bool fill_sound_buffer(SoundBuffer* buffer, const uint8_t* data, uint32_t byte_count);

extern bool music_performance;        // the MIDI engine is on
extern PlatformMusic* music_segment;  // the one loaded piece, or null

PlatformMusic* load_music_segment(const char* path);
