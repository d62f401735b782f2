// Effect slots, the voice channel and the device start-up, run in this
// process on the headless host.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "audio/audio.h"
#include "audio/audio_internal.h"
#include "hosts/headless/headless.h"
#include "support/audio_files.h"
#include "support/scratch_dir.h"
#include "support/headless_game.h"
#include "support/replay_run.h"

namespace {

// Opens the sound device only, on a data folder of our own test clips.
void start_sound_in(const std::string& dir) {
    ASSERT_EQ(chdir(dir.c_str()), 0);
    headless_configure(HeadlessConfig{});
    ASSERT_TRUE(init_sound());
}

std::vector<HeadlessEvent> events_of(HeadlessEvent::Kind kind) {
    std::vector<HeadlessEvent> found;
    for (const HeadlessEvent& e : headless_take_events())
        if (e.kind == kind) found.push_back(e);
    return found;
}

// Sample n of a 16-bit mono clip as it was handed to the platform: little-endian
// as in the file, whatever the machine's own order.
int16_t mono_sample(const std::vector<uint8_t>& samples, size_t frame) {
    return int16_t(uint16_t(samples[frame * 2] | samples[frame * 2 + 1] << 8));
}

bool same_format(const ClipFormat& a, const ClipFormat& b) {
    return a.rate == b.rate && a.bits_per_sample == b.bits_per_sample && a.channels == b.channels;
}

}  // namespace

TEST(SoundStartUp, LoadsSevenEffectsAndASpareOfTheSecondIntoTheVoiceSlot) {
    const ScratchDir scratch;
    const std::string& dir = scratch.path;
    write_audio_data(dir);
    start_sound_in(dir);
    for (int slot = 0; slot < 8; ++slot) {
        ASSERT_TRUE(headless_clip_bound(slot)) << slot;
        const auto& samples = headless_clip_samples(slot);
        ASSERT_EQ(samples.size(), 44100u * 2) << "one second of 16-bit mono, as in the file";
        EXPECT_TRUE(same_format(headless_clip_format(slot), ClipFormat{44100, 16, 1})) << slot;
        const int level = slot == 7 ? 2000 : 1000 * (slot + 1);
        EXPECT_EQ(mono_sample(samples, 100), level) << slot;
        EXPECT_EQ(mono_sample(samples, 44099), level) << slot;
    }
}

TEST(SoundStartUp, AMissingFourthEffectStopsAfterThreeSlotsWhichAreReleased) {
    const ScratchDir scratch;
    const std::string& dir = scratch.path;
    write_audio_data(dir);
    std::filesystem::remove(dir + "/wave/03.wav");
    ASSERT_EQ(chdir(dir.c_str()), 0);
    headless_configure(HeadlessConfig{});
    EXPECT_FALSE(init_sound());
    for (int slot = 0; slot < 8; ++slot) EXPECT_EQ(headless_clip_bound(slot), slot < 3) << slot;
    release_sound();
    for (int slot = 0; slot < 8; ++slot) EXPECT_FALSE(headless_clip_bound(slot)) << slot;
    EXPECT_EQ(headless_release_log(), std::vector<std::string>{"audio"});
}

TEST(SoundStartUp, ABrokenEffectFileEndsTheGameWithTheSoundBox) {
    const Bytes float_format = riff_wave(riff_chunk("fmt ", format_body(1, 44100, 32, 3)) +
                                         riff_chunk("data", Bytes(400, 0)));
    Bytes cut_short = constant_wave(1, 44100, 16, 200, 5);
    cut_short.resize(300);
    for (const Bytes& broken : {float_format, cut_short, Bytes{}}) {
        const ScratchDir scratch;
        const std::string data = scratch.path + "/data";
        std::filesystem::copy(KUZARI_DATA_DIR, data, std::filesystem::copy_options::recursive);
        write_bytes(data + "/wave/05.wav", broken);
        ReplayOptions options;
        options.frames = 10;
        options.data_dir = data;
        const ReplayResult result = run_replay(options);
        ASSERT_EQ(result.exit_status, 1) << result.error_output;
        ASSERT_EQ(result.frames.size(), 1u) << "no frame runs";
        const nlohmann::json box = {"box", "DirectSoundの初期化に失敗しました。\nアプリケーションを終了します。", ""};
        EXPECT_EQ(result.frames[0]["events"].back(), box);
    }
}

TEST(LoadWave, HandsEachClipToThePlatformInItsOwnFormatInWholeFrames) {
    const ScratchDir scratch;
    const std::string& dir = scratch.path;
    write_audio_data(dir);
    start_sound_in(dir);
    write_bytes(dir + "/low.wav", constant_wave(1, 11025, 8, 1000, 0xC0));
    ASSERT_TRUE(load_wave("low.wav", 7));
    EXPECT_TRUE(same_format(headless_clip_format(7), ClipFormat{11025, 8, 1}));
    EXPECT_EQ(headless_clip_samples(7), Bytes(1000, 0xC0));

    // A data chunk of 4801 frames and one byte: the odd byte is left out.
    Bytes samples;
    for (int i = 0; i < 4801 * 2; ++i) append_u16(&samples, uint16_t(i));
    samples.push_back(0x55);
    write_bytes(dir + "/high.wav", riff_wave(riff_chunk("fmt ", format_body(2, 48000, 16)) + riff_chunk("data", samples)));
    ASSERT_TRUE(load_wave("high.wav", 7));
    EXPECT_TRUE(same_format(headless_clip_format(7), ClipFormat{48000, 16, 2}));
    samples.pop_back();
    EXPECT_EQ(headless_clip_samples(7), samples);
}

TEST(LoadWave, AClipThePlatformRefusesLeavesTheSlotEmpty) {
    const ScratchDir scratch;
    const std::string& dir = scratch.path;
    write_audio_data(dir);
    ASSERT_EQ(chdir(dir.c_str()), 0);
    HeadlessConfig config;
    config.largest_clip_bytes = 44100 * 2;  // the effects, not a longer voice
    headless_configure(config);
    ASSERT_TRUE(init_sound());
    write_bytes(dir + "/long.wav", constant_wave(1, 44100, 16, 44101, 5));
    play_voice("long.wav");
    EXPECT_FALSE(headless_clip_bound(voice_slot));
    EXPECT_EQ(sound_buffers[voice_slot], nullptr);
    EXPECT_EQ(headless_clip_plays(voice_slot), 0u);

    // At start-up a refused effect ends the sound start-up, as a missing one does.
    release_sound();
    config.largest_clip_bytes = 44100 * 2 - 1;
    headless_configure(config);
    EXPECT_FALSE(init_sound());
    EXPECT_EQ(sound_buffers[0], nullptr);
}

TEST(LoadWave, AFileTheSlotCannotHoldLeavesTheSlotEmpty) {
    const ScratchDir scratch;
    const std::string& dir = scratch.path;
    write_audio_data(dir);
    start_sound_in(dir);
    const Bytes format = riff_chunk("fmt ", format_body(1, 22050, 16));
    const struct {
        const char* what;
        Bytes file;
    } cases[] = {
        {"declared size far beyond the file", riff_wave(format + riff_chunk("data", Bytes(16, 1), 0x40000000))},
        {"no samples", riff_wave(format + riff_chunk("data", {}))},
        {"24-bit", riff_wave(riff_chunk("fmt ", format_body(1, 22050, 24)) + riff_chunk("data", Bytes(30, 1)))},
        {"no channels", riff_wave(riff_chunk("fmt ", format_body(0, 22050, 16)) + riff_chunk("data", Bytes(8, 1)))},
        {"a rate of 1 Hz", riff_wave(riff_chunk("fmt ", format_body(1, 1, 8)) + riff_chunk("data", Bytes(8, 1)))},
    };
    for (const auto& c : cases) {
        write_bytes(dir + "/bad.wav", c.file);
        play_voice("bad.wav");
        EXPECT_FALSE(headless_clip_bound(voice_slot)) << c.what;
        EXPECT_EQ(sound_buffers[voice_slot], nullptr) << c.what;
        voice_cooldown = 0;
    }
    EXPECT_FALSE(load_wave("wave/00.wav", 8)) << "there is no ninth slot";
    EXPECT_FALSE(load_wave("wave", 6)) << "a folder";
}

TEST(Effects, EverySlotStartsItsOwnClipAndOnlyWhileEffectsAreOn) {
    const ScratchDir scratch;
    const std::string& dir = scratch.path;
    write_audio_data(dir);
    start_sound_in(dir);
    headless_take_events();
    play_se(3);
    play_se(3);
    play_se(6);
    EXPECT_EQ(headless_clip_plays(3), 2u) << "a second start restarts the same channel";
    EXPECT_EQ(headless_clip_plays(6), 1u);
    auto started = events_of(HeadlessEvent::se);
    ASSERT_EQ(started.size(), 3u);
    EXPECT_EQ(started[2].number, 6);

    se_enabled = false;
    play_se(0);
    se_enabled = true;
    EXPECT_EQ(headless_clip_plays(0), 0u) << "a request while off is not remembered";
    EXPECT_TRUE(events_of(HeadlessEvent::se).empty());

    for (int slot : {-1, 8, 1000}) play_se(slot);
    EXPECT_TRUE(events_of(HeadlessEvent::se).empty()) << "slots outside 0..7 sound nothing";
}

TEST(Voice, ANewVoiceIsRefusedFor79FramesAndAcceptedInThe80th) {
    const ScratchDir scratch;
    const std::string& dir = scratch.path;
    write_audio_data(dir);
    start_sound_in(dir);
    headless_take_events();

    // Frame by frame as the loop runs them: the cooldown tick, then the scene.
    std::vector<int> accepted;
    for (int frame = 1; frame <= 200; ++frame) {
        tick_voice_cooldown();
        const int32_t before = voice_cooldown;
        play_voice("voice/a.wav");
        if (before == 0) accepted.push_back(frame);
        EXPECT_GE(voice_cooldown, 0);
    }
    EXPECT_EQ(accepted, (std::vector<int>{1, 81, 161}));
    EXPECT_EQ(events_of(HeadlessEvent::voice).size(), 3u);
    EXPECT_EQ(headless_clip_plays(voice_slot), 3u);
    EXPECT_EQ(voice_cooldown, 41) << "39 frames after the last one";

    voice_cooldown = 0;
    tick_voice_cooldown();
    EXPECT_EQ(voice_cooldown, 0) << "never below zero";
}

TEST(Voice, PlaysWithEffectsOffAndReplacesTheSpareClip) {
    const ScratchDir scratch;
    const std::string& dir = scratch.path;
    write_audio_data(dir);
    start_sound_in(dir);
    headless_take_events();
    se_enabled = false;
    play_voice("voice/a.wav");
    EXPECT_EQ(headless_clip_plays(voice_slot), 1u);
    const auto& samples = headless_clip_samples(voice_slot);
    ASSERT_EQ(samples.size(), 22050u * 2);
    EXPECT_EQ(mono_sample(samples, 10), 7000);
    const auto voices = events_of(HeadlessEvent::voice);
    ASSERT_EQ(voices.size(), 1u);
    EXPECT_EQ(voices[0].text, "voice/a.wav");
}

TEST(Voice, AMissingFileSilencesTheChannelUntilTheNextVoice) {
    const ScratchDir scratch;
    const std::string& dir = scratch.path;
    write_audio_data(dir);
    start_sound_in(dir);
    play_voice("voice/a.wav");
    voice_cooldown = 0;
    headless_take_events();

    play_voice("voice/none.wav");
    EXPECT_FALSE(headless_clip_bound(voice_slot)) << "the voice that was sounding is gone";
    EXPECT_EQ(headless_clip_plays(voice_slot), 1u) << "nothing more played";
    EXPECT_EQ(voice_cooldown, 80) << "the cooldown starts all the same";
    EXPECT_EQ(events_of(HeadlessEvent::voice).size(), 1u) << "the request was accepted";

    voice_cooldown = 0;
    play_voice("voice/a.wav");
    EXPECT_TRUE(headless_clip_bound(voice_slot));
    EXPECT_EQ(headless_clip_plays(voice_slot), 2u);
}

TEST(Voice, EveryCommittedVoiceClipLoads) {
    ASSERT_TRUE(start_headless_game());
    for (const char* name : {"hajimaru", "setumei", "onaka", "oraora", "kono", "tama", "hin", "itadaki", "uwa"}) {
        voice_cooldown = 0;
        const std::string path = std::string("voice/") + name + ".wav";
        play_voice(path.c_str());
        EXPECT_TRUE(headless_clip_bound(voice_slot)) << path;
    }
}

TEST(SoundRelease, ReleasesEverySlotAndTheDeviceOnceAndMayRunAgain) {
    const ScratchDir scratch;
    const std::string& dir = scratch.path;
    write_audio_data(dir);
    start_sound_in(dir);
    play_voice("voice/a.wav");
    release_sound();
    for (int slot = 0; slot < 8; ++slot) EXPECT_EQ(sound_buffers[slot], nullptr);
    release_sound();
    EXPECT_EQ(headless_release_log(), std::vector<std::string>{"audio"});
    EXPECT_EQ(voice_cooldown, 80) << "the switch and the cooldown keep their values";
    play_se(0);
    voice_cooldown = 0;
    play_voice("voice/a.wav");
    EXPECT_EQ(headless_clip_plays(0), 0u) << "nothing is left to play";
    EXPECT_FALSE(headless_clip_bound(voice_slot)) << "nor a device to load a voice for";
}
