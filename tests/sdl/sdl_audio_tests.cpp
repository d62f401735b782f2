// The audio subsystem on the real SDL2_mixer path, with SDL's "disk" audio
// driver writing the mixed output to a file that the tests then read back.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_mixer.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>

#include "audio/audio.h"
#include "audio/audio_internal.h"
#include "platform/sdl/sdl_platform.h"
#include "support/audio_files.h"
#include "support/scratch_dir.h"

namespace {

// A folder of its own for each use, all under one scratch folder that goes
// when the suite ends.
std::string new_folder() {
    static const ScratchDir scratch;
    static int made = 0;
    const std::string folder = scratch.path + "/" + std::to_string(made++);
    std::filesystem::create_directories(folder);
    return folder;
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

void count_mixed(void*, Uint8*, int length) {
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
    EXPECT_TRUE(init_sound());
    EXPECT_TRUE(init_music(nullptr));
    Mix_SetPostMix(count_mixed, nullptr);
    return output;
}

// Waits until the mixer has produced `seconds` more of output (bounded, so
// that a stuck device fails the test instead of hanging it).
void let_mix(double seconds) {
    const uint64_t target = mixed_bytes + uint64_t(seconds * device_rate()) * 4;
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (mixed_bytes < target && std::chrono::steady_clock::now() < give_up) SDL_Delay(5);
    ASSERT_GE(mixed_bytes, target) << "the mixer stalled";
}

// Shuts the services down in the game's order and reads the output back.
std::vector<int16_t> stop_audio(const std::string& output) {
    Mix_SetPostMix(nullptr, nullptr);
    release_music();
    release_sound();
    std::ifstream file(output, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    std::vector<int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

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
    let_mix(0.6);
    stop_music();
    const auto samples = stop_audio(output);
    EXPECT_GT(sounding_frames(samples), 44100u / 10);
    EXPECT_GT(peak(samples), 500);
}

TEST(SdlAudio, EveryCommittedPieceRendersToSound) {
    for (const char* name : {"title", "main", "hue", "end", "miss"}) {
        const std::string output = start_audio(KUZARI_DATA_DIR);
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

TEST(SdlAudio, APieceTheEngineCannotLoadTurnsMusicOff) {
    const std::string dir = test_data();
    // No soundfont to play with: the player's own choice is honoured, and fails.
    setenv("SDL_SOUNDFONTS", (dir + "/none.sf2").c_str(), 1);
    const std::string output = start_audio(dir);
    EXPECT_FALSE(play_music("midi/note.mid", true));
    EXPECT_FALSE(music_performance);
    EXPECT_FALSE(play_music("midi/note.mid", true));
    let_mix(0.3);
    const auto samples = stop_audio(output);
    EXPECT_EQ(peak(samples), 0);
    unsetenv("SDL_SOUNDFONTS");
}

TEST(SdlAudio, APlayersSoundfontIsUsed) {
    const char* soundfont = "/usr/share/sounds/sf2/TimGM6mb.sf2";
    if (!std::filesystem::exists(soundfont)) GTEST_SKIP() << "no " << soundfont;
    setenv("SDL_SOUNDFONTS", soundfont, 1);
    const std::string output = start_audio(test_data());
    EXPECT_STREQ(Mix_GetSoundFonts(), soundfont);
    ASSERT_TRUE(play_music("midi/note.mid", false));
    let_mix(0.4);
    EXPECT_GT(peak(stop_audio(output)), 500);
}

TEST(SdlAudio, ReleasesMayRunTwice) {
    start_audio(test_data());
    play_music("midi/note.mid", true);
    play_voice("voice/a.wav");
    for (int i = 0; i < 2; ++i) {
        release_music();
        release_sound();
    }
    EXPECT_EQ(music_segment, nullptr);
    EXPECT_FALSE(sound_device);
    EXPECT_EQ(Mix_QuerySpec(nullptr, nullptr, nullptr), 0) << "the device is closed";
}
