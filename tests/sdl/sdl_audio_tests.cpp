// The audio subsystem on the real SDL2_mixer and FluidSynth path, with SDL's
// "disk" audio driver writing the mixed output to a file that the tests then
// read back.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_mixer.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>

#include "audio/audio.h"
#include "audio/audio_internal.h"
#include "hosts/desktop/sdl_platform.h"
#include "support/audio_files.h"
#include "support/scratch_dir.h"

namespace {

// A folder of its own for each use, under one scratch folder that goes when
// the suite ends; a test's own go when its audio stops.
std::vector<std::string> temp_dirs;

std::string new_folder() {
    static const ScratchDir scratch;
    static int made = 0;
    temp_dirs.push_back(scratch.path + "/" + std::to_string(made++));
    std::filesystem::create_directories(temp_dirs.back());
    return temp_dirs.back();
}

// The device's sample frames a second.
int device_rate() {
    int frequency = 0, channels = 0;
    Uint16 format = 0;
    Mix_QuerySpec(&frequency, &format, &channels);
    return frequency;
}

// The slot's clip as the device plays it (16-bit stereo): frame n, channel c.
std::vector<int16_t> device_clip(int slot) {
    uint32_t bytes = 0;
    const uint8_t* samples = sdl_clip_samples(slot, &bytes);
    std::vector<int16_t> values(bytes / 2);
    if (samples) std::memcpy(values.data(), samples, values.size() * 2);
    return values;
}

std::atomic<uint64_t> mixed_bytes{0};
std::atomic<int> mix_buffer_bytes{0};
// The mixer's output as it left the mixer. The device's file is no measure of
// where the mix was: SDL writes silence there while the device stands paused,
// longer on a busy machine, and the mix count would no longer line up with it.
std::vector<int16_t> mixed_samples;

void count_mixed(void*, Uint8* stream, int length) {
    const size_t had = mixed_samples.size();
    mixed_samples.resize(had + size_t(length) / 2);
    std::memcpy(mixed_samples.data() + had, stream, size_t(length) / 2 * 2);
    mixed_bytes += uint64_t(length);
    mix_buffer_bytes = length;
}

// Sends the output to a file and opens the device with sound and music, as at start-up.
std::string start_audio(const std::string& data_dir) {
    const std::string output = new_folder() + "/out.raw";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
    EXPECT_EQ(chdir(data_dir.c_str()), 0);
    se_enabled = true;  // as the game starts, should an earlier test in this process have changed them
    voice_cooldown = 0;
    mixed_bytes = 0;
    mixed_samples.clear();
    Mix_SetPostMix(count_mixed, nullptr);  // from the first buffer: the count is the place in the output
    EXPECT_TRUE(init_sound());
    EXPECT_TRUE(init_music(nullptr));
    return output;
}

// Waits (bounded) for the soundfont's background load to end.
void wait_for_soundfont() {
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (sdl_music_soundfont() == SdlSoundfont::loading && std::chrono::steady_clock::now() < give_up)
        SDL_Delay(5);
    ASSERT_NE(sdl_music_soundfont(), SdlSoundfont::loading) << "the soundfont never finished loading";
}

// Waits until the mixer has produced `seconds` more of output (bounded, so
// that a stuck device fails the test instead of hanging it).
void let_mix(double seconds) {
    const uint64_t target = mixed_bytes + uint64_t(seconds * device_rate()) * 4;
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (mixed_bytes < target && std::chrono::steady_clock::now() < give_up) SDL_Delay(5);
    ASSERT_GE(mixed_bytes, target) << "the mixer stalled";
}

// Shuts the services down in the game's order and removes the test's files;
// the mixer's output, which the device also wrote to `output`.
std::vector<int16_t> stop_audio(const std::string& output) {
    Mix_SetPostMix(nullptr, nullptr);
    release_music();
    release_sound();
    EXPECT_TRUE(std::filesystem::exists(output)) << "the device wrote nothing";
    for (const std::string& dir : temp_dirs) std::filesystem::remove_all(dir);
    temp_dirs.clear();
    return std::move(mixed_samples);
}

// Where the output has got to: the frames mixed so far (the buffer being
// mixed at this moment may not be counted yet).
size_t mixed_frame() { return size_t(mixed_bytes / 4); }
size_t buffer_frames() { return size_t(mix_buffer_bytes / 4); }

int peak(const std::vector<int16_t>& samples) {
    int top = 0;
    for (int16_t s : samples) top = std::max(top, std::abs(int(s)));
    return top;
}

size_t sounding_frames(const std::vector<int16_t>& samples) {
    size_t frames = 0;
    for (size_t i = 0; i + 1 < samples.size(); i += 2)
        if (samples[i] != 0 || samples[i + 1] != 0) ++frames;
    return frames;
}

std::string test_data() {
    const std::string dir = new_folder();
    write_audio_data(dir);
    return dir;
}

// Louder than the tail of reverb and released voices a note leaves (the
// pieces here peak near 15 000).
bool sounding(const std::vector<int16_t>& samples, size_t frame) {
    return std::abs(int(samples[2 * frame])) > 500 || std::abs(int(samples[2 * frame + 1])) > 500;
}

bool quiet_between(const std::vector<int16_t>& samples, size_t from, size_t to) {
    for (size_t frame = from; frame < to && 2 * frame + 1 < samples.size(); ++frame)
        if (sounding(samples, frame)) return false;
    return true;
}

// Stretches of sound parted by at least a fifth of a second of quiet.
int sounding_stretches(const std::vector<int16_t>& samples) {
    int stretches = 0;
    size_t quiet = 44100;
    for (size_t frame = 0; 2 * frame + 1 < samples.size(); ++frame) {
        if (!sounding(samples, frame)) {
            ++quiet;
            continue;
        }
        if (quiet >= 44100 / 5) ++stretches;
        quiet = 0;
    }
    return stretches;
}

// Variable-length delta time.
Bytes delta(uint32_t ticks) {
    Bytes out{uint8_t(ticks & 0x7F)};
    while (ticks >>= 7) out.insert(out.begin(), uint8_t(0x80 | (ticks & 0x7F)));
    return out;
}

// An organ chord held for `sound` seconds between rests, at 960 ticks a second.
Bytes chord_piece(double rest_before, double sound, double rest_after) {
    return midi_file(Bytes{0x00, 0xC0, 19} + delta(uint32_t(rest_before * 960)) +
                     Bytes{0x90, 60, 110, 0x00, 0x90, 67, 110} + delta(uint32_t(sound * 960)) +
                     Bytes{0x80, 60, 0, 0x00, 0x80, 67, 0} + delta(uint32_t(rest_after * 960)) +
                     Bytes{0xB0, 7, 100});
}


}  // namespace

TEST(SdlAudio, StartsWithAShortBufferInTheFormatAskedFor) {
    const std::string output = start_audio(test_data());
    int frequency = 0, channels = 0;
    Uint16 format = 0;
    ASSERT_NE(Mix_QuerySpec(&frequency, &format, &channels), 0);
    EXPECT_EQ(frequency, 44100);
    EXPECT_EQ(format, AUDIO_S16SYS);
    EXPECT_EQ(channels, 2);
    // Each clip, one second of 16-bit mono at 44100 Hz, is now 16-bit stereo.
    for (int slot = 0; slot < 8; ++slot) {
        const std::vector<int16_t> clip = device_clip(slot);
        ASSERT_EQ(clip.size(), 44100u * 2) << slot;
        const int level = slot == 7 ? 2000 : 1000 * (slot + 1);
        EXPECT_EQ(clip[200], level) << slot;
        EXPECT_EQ(clip[44099 * 2 + 1], level) << slot;
    }
    let_mix(0.1);
    // An effect asked for waits at most for the buffer being played and the one being mixed.
    const int frames = mix_buffer_bytes / 4;
    std::cout << "mix buffer: " << frames << " frames, " << 1000.0 * frames / device_rate()
              << " ms" << std::endl;
    EXPECT_LE(2 * 1000 * frames / device_rate(), 25) << "an effect starts within 25 ms";
    stop_audio(output);
}

TEST(SdlAudio, ConvertsEveryClipOnceToTheDeviceFormatAtItsOwnPitch) {
    const std::string dir = test_data();
    const std::string output = start_audio(dir);
    // 8-bit mono at a quarter of the device rate: each sample becomes four stereo frames.
    write_bytes(dir + "/low.wav", constant_wave(1, 11025, 8, 1000, 0xC0));
    ASSERT_TRUE(load_wave("low.wav", 7));
    const std::vector<int16_t> low = device_clip(7);
    EXPECT_NEAR(double(low.size()), 4000.0 * 2, 32.0) << "the same length in time";
    // The resampler's filter may move a level by a fraction of a percent.
    EXPECT_NEAR(low[2000 * 2], 0x40 << 8, 100);
    EXPECT_NEAR(low[2000 * 2 + 1], 0x40 << 8, 100);

    // 16-bit stereo at 48 kHz comes down to 44.1 kHz.
    write_bytes(dir + "/high.wav", constant_wave(2, 48000, 16, 4800, -3000));
    ASSERT_TRUE(load_wave("high.wav", 7));
    const std::vector<int16_t> high = device_clip(7);
    EXPECT_NEAR(double(high.size()), 4410.0 * 2, 32.0);
    EXPECT_NEAR(high[2000 * 2 + 1], -3000, 20);
    stop_audio(output);
}

TEST(SdlAudio, AClipThatWouldConvertToMoreThan64MiBIsRefused) {
    const std::string dir = test_data();
    const std::string output = start_audio(dir);
    // At 100 Hz every 8-bit mono sample becomes 441 stereo frames of 16 bits:
    // 200,000 of them well over 64 MiB, 2,000 of them well under.
    write_bytes(dir + "/huge.wav", constant_wave(1, 100, 8, 200000, 0xC0));
    write_bytes(dir + "/small.wav", constant_wave(1, 100, 8, 2000, 0xC0));
    play_voice("huge.wav");
    EXPECT_EQ(sound_buffers[voice_slot], nullptr);
    EXPECT_TRUE(device_clip(voice_slot).empty());
    voice_cooldown = 0;
    play_voice("small.wav");
    ASSERT_NE(sound_buffers[voice_slot], nullptr);
    EXPECT_NEAR(double(device_clip(voice_slot).size()), 2000.0 * 441 * 2, 2000.0);
    stop_audio(output);
}

TEST(SdlAudio, ASlotStartedAgainRestartsItsClipInsteadOfDoublingIt) {
    const std::string output = start_audio(test_data());
    play_se(0);
    let_mix(0.3);
    play_se(0);
    let_mix(1.5);
    const auto samples = stop_audio(output);
    EXPECT_EQ(peak(samples), 1000) << "never two copies of the clip at once";
    // One second of clip, cut off after at least 0.3 s and started again.
    EXPECT_GE(sounding_frames(samples), size_t(44100 * 1.3));
    EXPECT_LE(sounding_frames(samples), size_t(44100 * 1.3) + 44100 / 5);
}

TEST(SdlAudio, DifferentSlotsAndTheVoiceSoundTogether) {
    const std::string output = start_audio(test_data());
    play_se(0);
    play_se(2);
    play_voice("voice/a.wav");
    let_mix(1.2);
    const auto samples = stop_audio(output);
    EXPECT_EQ(peak(samples), 1000 + 3000 + 7000);
}

TEST(SdlAudio, EffectsOffSilenceEffectsButNotTheVoice) {
    const std::string output = start_audio(test_data());
    se_enabled = false;
    play_se(6);
    play_voice("voice/a.wav");
    let_mix(0.7);
    const auto samples = stop_audio(output);
    EXPECT_EQ(peak(samples), 7000);
}

TEST(SdlAudio, AMidiPieceRendersToSound) {
    const std::string output = start_audio(test_data());
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(play_music("midi/note.mid", false));
    const auto loaded = std::chrono::steady_clock::now();
    std::cout << "loading the piece took "
              << std::chrono::duration<double, std::milli>(loaded - start).count() << " ms" << std::endl;
    // Asked for while the soundfont still loads, the piece begins once it is in.
    wait_for_soundfont();
    let_mix(0.6);
    stop_music();
    const auto samples = stop_audio(output);
    EXPECT_GT(sounding_frames(samples), 44100u / 10);
    EXPECT_GT(peak(samples), 500);
}

TEST(SdlAudio, EveryCommittedPieceRendersToSound) {
    for (const char* name : {"title", "main", "hue", "end", "miss"}) {
        const std::string output = start_audio(KUZARI_DATA_DIR);
        wait_for_soundfont();
        const std::string path = std::string("midi/") + name + ".mid";
        const auto start = std::chrono::steady_clock::now();
        ASSERT_TRUE(play_music(path.c_str(), true)) << path;
        std::cout << path << " loaded in "
                  << std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count()
                  << " ms" << std::endl;
        let_mix(0.6);
        const auto samples = stop_audio(output);
        EXPECT_GT(sounding_frames(samples), 44100u / 10) << path;
        EXPECT_GT(peak(samples), 500) << path;
    }
}

TEST(SdlAudio, WithNoSoundfontMusicIsOffAndEffectsStillSound) {
    const std::string dir = test_data();
    // The player's own choice is honoured, and there is nothing there.
    setenv("SDL_SOUNDFONTS", (dir + "/none.sf2").c_str(), 1);
    const std::string output = start_audio(dir);
    unsetenv("SDL_SOUNDFONTS");
    EXPECT_FALSE(play_music("midi/note.mid", true));
    EXPECT_FALSE(music_performance);
    EXPECT_FALSE(play_music("midi/note.mid", true));
    play_se(0);
    let_mix(0.3);
    EXPECT_EQ(peak(stop_audio(output)), 1000) << "the effect alone";
}

TEST(SdlAudio, ASoundfontThatFailsToLoadSilencesTheMusic) {
    const std::string dir = test_data();
    write_bytes(dir + "/broken.sf2", Bytes{'R', 'I', 'F', 'F', 4, 0, 0, 0, 's', 'f', 'b', 'k'});
    setenv("SDL_SOUNDFONTS", (dir + "/broken.sf2").c_str(), 1);
    const std::string output = start_audio(dir);
    unsetenv("SDL_SOUNDFONTS");
    play_music("midi/note.mid", true);  // may come before the load has failed
    wait_for_soundfont();
    EXPECT_EQ(sdl_music_soundfont(), SdlSoundfont::missing);
    EXPECT_FALSE(play_music("midi/note.mid", true)) << "once it is known, music goes off";
    EXPECT_FALSE(music_performance);
    let_mix(0.3);
    EXPECT_EQ(peak(stop_audio(output)), 0);
}

TEST(SdlAudio, ASoundfontFromTheSettingsComesBeforeSdlSoundfonts) {
    const char* soundfont = "/usr/share/sounds/sf2/TimGM6mb.sf2";
    if (!std::filesystem::exists(soundfont)) GTEST_SKIP() << "no " << soundfont;
    const std::string dir = test_data();
    setenv("SDL_SOUNDFONTS", (dir + "/none.sf2").c_str(), 1);
    sdl_music_settings.soundfont = soundfont;
    const std::string output = start_audio(dir);
    unsetenv("SDL_SOUNDFONTS");
    sdl_music_settings.soundfont.clear();
    ASSERT_TRUE(play_music("midi/note.mid", false));
    wait_for_soundfont();  // on a busy machine the load can outlast the mixing below
    let_mix(0.4);
    EXPECT_GT(peak(stop_audio(output)), 500);
}

TEST(SdlAudio, APieceTheSynthesiserCannotReadTurnsMusicOffForGood) {
    const std::string dir = test_data();
    // Our MIDI check lets a two-byte tempo through; FluidSynth's reader does not.
    write_bytes(dir + "/midi/bad.mid", midi_file({0x00, 0xFF, 0x51, 0x02, 0x07, 0xA1, 0x00, 0x90, 60, 100}));
    const std::string output = start_audio(dir);
    EXPECT_FALSE(play_music("midi/bad.mid", true));
    EXPECT_FALSE(music_performance);
    EXPECT_FALSE(play_music("midi/note.mid", true));
    stop_music();
    play_se(1);
    let_mix(0.3);
    EXPECT_EQ(peak(stop_audio(output)), 2000) << "the effect alone";
}

TEST(SdlAudio, AChangeOfPieceStopsTheOldAtOnceAndStartsTheNew) {
    const std::string dir = test_data();
    write_bytes(dir + "/midi/old.mid", chord_piece(0, 10, 0));
    write_bytes(dir + "/midi/new.mid", chord_piece(0.5, 10, 0));  // half a second's rest first
    const std::string output = start_audio(dir);
    wait_for_soundfont();
    ASSERT_TRUE(play_music("midi/old.mid", true));
    let_mix(0.5);
    ASSERT_TRUE(play_music("midi/new.mid", true));
    const size_t changed = mixed_frame();
    let_mix(1.0);
    const auto samples = stop_audio(output);
    const size_t buffer = buffer_frames();

    EXPECT_FALSE(quiet_between(samples, changed - 2 * buffer, changed)) << "the old piece played";
    EXPECT_TRUE(quiet_between(samples, changed + 2 * buffer, changed + 44100 * 4 / 10)) << "the old piece goes on";
    EXPECT_FALSE(quiet_between(samples, changed + 44100 * 6 / 10, changed + 44100)) << "the new piece is silent";
}

TEST(SdlAudio, StopSilencesTheMusicWithinTwoBuffers) {
    const std::string dir = test_data();
    write_bytes(dir + "/midi/chord.mid", chord_piece(0, 10, 0));
    const std::string output = start_audio(dir);
    wait_for_soundfont();
    ASSERT_TRUE(play_music("midi/chord.mid", true));
    let_mix(0.5);
    stop_music();
    const size_t stopped = mixed_frame();
    let_mix(0.5);
    const auto samples = stop_audio(output);
    EXPECT_FALSE(quiet_between(samples, stopped - 2 * buffer_frames(), stopped));
    EXPECT_TRUE(quiet_between(samples, stopped + 2 * buffer_frames(), samples.size() / 2));
}

TEST(SdlAudio, PausedMusicIsSilentAndResumesWhereItStopped) {
    const std::string dir = test_data();
    write_bytes(dir + "/midi/beat.mid", chord_piece(0, 0.25, 0.25));  // played once: half a second
    const std::string output = start_audio(dir);
    wait_for_soundfont();
    sdl_music_pause(true);  // before a sample of it is rendered: it waits at its start
    ASSERT_TRUE(play_music("midi/beat.mid", false));
    let_mix(1.0);
    sdl_music_pause(false);
    let_mix(1.0);
    const auto samples = stop_audio(output);
    EXPECT_EQ(sounding_stretches(samples), 1);
    EXPECT_TRUE(quiet_between(samples, 0, 44100 * 9 / 10)) << "paused";
}

TEST(SdlAudio, TheMusicVolumeScalesTheMusic) {
    // A fresh synthesiser renders a piece the same every time, so only the volume differs.
    int peaks[2] = {};
    for (int run = 0; run < 2; ++run) {
        const std::string dir = test_data();
        write_bytes(dir + "/midi/chord.mid", chord_piece(0, 10, 0));
        const std::string output = start_audio(dir);
        sdl_music_set_volume(run == 0 ? 1.0f : 0.5f);  // over the player's volume, set as the device opens
        wait_for_soundfont();
        ASSERT_TRUE(play_music("midi/chord.mid", true));
        let_mix(0.5);
        peaks[run] = peak(stop_audio(output));
    }
    sdl_music_set_volume(1.0f);
    EXPECT_GT(peaks[0], 5000);
    EXPECT_NEAR(peaks[1], peaks[0] / 2, 1);
}

TEST(SdlAudio, APieceIsPlayedAsManyTimesAsAskedThenFallsSilent) {
    const Bytes beat = chord_piece(0, 0.2, 0.6);  // 0.8 s a play
    for (int plays : {1, 2}) {
        const std::string output = start_audio(test_data());
        wait_for_soundfont();
        PlatformMusic* piece = platform_music_load(beat.data(), beat.size());
        ASSERT_TRUE(piece);
        platform_music_play(piece, plays);
        let_mix(2.5);
        platform_music_free(piece);
        EXPECT_EQ(sounding_stretches(stop_audio(output)), plays);
    }
    // The game's looping piece goes on.
    const std::string data = test_data();
    write_bytes(data + "/midi/beat.mid", beat);
    const std::string output = start_audio(data);
    wait_for_soundfont();
    ASSERT_TRUE(play_music("midi/beat.mid", true));
    let_mix(3.5);
    EXPECT_GE(sounding_stretches(stop_audio(output)), 4);
}

TEST(SdlAudio, ReleasesMayRunTwice) {
    const std::string output = start_audio(test_data());
    play_music("midi/note.mid", true);
    play_voice("voice/a.wav");
    for (int i = 0; i < 2; ++i) {
        release_music();
        release_sound();
    }
    EXPECT_EQ(music_segment, nullptr);
    EXPECT_FALSE(sound_device);
    EXPECT_EQ(Mix_QuerySpec(nullptr, nullptr, nullptr), 0) << "the device is closed";
    stop_audio(output);
}
