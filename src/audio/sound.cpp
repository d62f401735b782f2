// Effects and the voice. A clip is read whole and handed to the platform when
// it loads (which converts it to its device's format then), so that starting
// one in a frame costs nothing more than starting its channel.

#include "audio/audio.h"
#include "audio/audio_internal.h"
#include "core/observer.h"
#include "core/data_file.h"

bool se_enabled = true;
int32_t voice_cooldown = 0;

bool sound_device = false;
SoundBuffer* sound_buffers[sound_slot_count] = {};

namespace {

// The voice slot starts with a spare copy of slot 1's clip; the first voice replaces it.
const char* const se_slot_files[sound_slot_count] = {
    "wave/00.wav", "wave/01.wav", "wave/02.wav", "wave/03.wav",
    "wave/04.wav", "wave/05.wav", "wave/06.wav", "wave/01.wav",
};

constexpr int32_t voice_cooldown_frames = 80;

// Our clips are a few hundred kilobytes; this bound keeps a hostile file
// from making us allocate without end.
constexpr size_t max_wave_file_bytes = size_t(16) << 20;

// The sampling rates a sound buffer accepts, as on the original device.
constexpr uint32_t min_rate = 100;
constexpr uint32_t max_rate = 100000;

bool slot_in_range(int slot) { return slot >= 0 && slot < sound_slot_count; }

void release_slot(int slot) {
    if (!sound_buffers[slot]) return;
    platform_clip_unbind(slot);
    delete sound_buffers[slot];
    sound_buffers[slot] = nullptr;
}

// Whether a sound buffer can hold clips of this format.
bool format_fits(const WaveFormat& format) {
    if (format.bits_per_sample != 8 && format.bits_per_sample != 16) return false;
    if (format.channels < 1 || format.channels > 8) return false;
    if (format.block_align != format.channels * format.bits_per_sample / 8) return false;
    return format.samples_per_sec >= min_rate && format.samples_per_sec <= max_rate;
}

}  // namespace

bool init_sound() {
    sound_device = platform_audio_open();
    if (!sound_device) return false;
    for (int slot = 0; slot < sound_slot_count; ++slot)
        if (!load_wave(se_slot_files[slot], slot)) return false;
    return true;
}

bool load_wave(const char* path, int slot) {
    if (!slot_in_range(slot)) return false;
    std::vector<uint8_t> file;
    if (!read_data_file(path, max_wave_file_bytes, &file)) return false;
    WaveClip clip;
    if (!parse_wave(file.data(), file.size(), &clip)) return false;
    // The samples are used where they lie in the file's bytes, freed on return.
    const uint8_t* samples = file.data() + clip.data_offset;
    if (!create_sound_buffer(slot, clip.data_size, clip.format)) return false;
    if (fill_sound_buffer(sound_buffers[slot], samples, clip.data_size)) return true;
    // A clip the platform refuses leaves the slot empty.
    release_slot(slot);
    return false;
}

bool create_sound_buffer(int slot, uint32_t byte_count, const WaveFormat& format) {
    if (!sound_device || !slot_in_range(slot)) return false;
    if (!format_fits(format)) return false;
    // A buffer holds at least one whole sample frame.
    if (byte_count < format.block_align) return false;
    release_slot(slot);
    sound_buffers[slot] = new SoundBuffer{slot, format, byte_count};
    return true;
}

bool fill_sound_buffer(SoundBuffer* buffer, const uint8_t* data, uint32_t byte_count) {
    if (!buffer) return false;
    // Whole sample frames only, and never more than the buffer was made for.
    uint32_t length = byte_count < buffer->byte_count ? byte_count : buffer->byte_count;
    length -= length % buffer->format.block_align;
    const ClipFormat format{buffer->format.samples_per_sec, buffer->format.bits_per_sample,
                            buffer->format.channels};
    return platform_clip_bind(buffer->slot, data, length, format);
}

void play_se(int slot) {
    if (!se_enabled) return;
    // Only slots that hold a clip can sound; anything else is ignored.
    if (!slot_in_range(slot) || !sound_buffers[slot]) return;
    platform_clip_play(slot);
    observe(&GameObserver::effect_played, slot);
}

void play_voice(const char* path) {
    if (voice_cooldown != 0) return;
    observe(&GameObserver::voice_started, path);
    // Releasing the slot ends the voice that is still sounding. A file that
    // fails to load leaves the channel silent until the next voice.
    release_slot(voice_slot);
    load_wave(path, voice_slot);
    if (sound_buffers[voice_slot]) platform_clip_play(voice_slot);
    voice_cooldown = voice_cooldown_frames;
}

void tick_voice_cooldown() {
    voice_cooldown -= 1;
    if (voice_cooldown <= 0) voice_cooldown = 0;
}

void reset_sound_state() {
    se_enabled = true;
    voice_cooldown = 0;
}

void release_sound() {
    for (int slot = 0; slot < sound_slot_count; ++slot) release_slot(slot);
    if (sound_device) {
        platform_audio_close();
        sound_device = false;
    }
}
