// MIDI music on the headless host, and our check of MIDI files.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "audio/audio.h"
#include "audio/audio_internal.h"
#include "audio/midi_check.h"
#include "graphics/graphics.h"
#include "hosts/headless/headless.h"
#include "core/data_file.h"
#include "support/audio_files.h"
#include "support/scratch_dir.h"
#include "support/headless_game.h"

namespace {

using Log = std::vector<std::string>;

bool check(const Bytes& file) { return midi_file_is_well_formed(file.data(), file.size()); }

std::vector<HeadlessEvent> music_events() {
    std::vector<HeadlessEvent> found;
    for (const HeadlessEvent& e : headless_take_events())
        if (e.kind == HeadlessEvent::music || e.kind == HeadlessEvent::stop_music) found.push_back(e);
    return found;
}

}  // namespace

TEST(Music, ALoopingPiecePlays101TimesAndAnyOtherOnce) {
    ASSERT_TRUE(start_headless_game());
    headless_take_events();
    EXPECT_TRUE(play_music("midi/title.mid", true));
    EXPECT_EQ(headless_music_plays(), 101);
    EXPECT_TRUE(play_music("midi/hue.mid", false));
    EXPECT_EQ(headless_music_plays(), 1);
    EXPECT_TRUE(play_music("midi/hue.mid", false)) << "the same piece again starts afresh";
    EXPECT_TRUE(headless_music_loaded());

    const auto events = music_events();
    ASSERT_EQ(events.size(), 3u) << "the stop inside play_music is not a scene's stop";
    EXPECT_EQ(events[0].text, "midi/title.mid");
    EXPECT_EQ(events[0].number, 1);
    EXPECT_EQ(events[1].number, 0);
}

TEST(Music, StopEndsAndFreesThePieceAndMayRunWithNothingLoaded) {
    ASSERT_TRUE(start_headless_game());
    play_music("midi/main.mid", true);
    headless_take_events();
    stop_music();
    EXPECT_FALSE(headless_music_loaded());
    EXPECT_EQ(headless_music_plays(), 0);
    EXPECT_EQ(music_segment, nullptr);
    stop_music();
    const auto events = music_events();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].kind, HeadlessEvent::stop_music);
    EXPECT_TRUE(music_performance) << "stopping keeps the engine";
    EXPECT_TRUE(play_music("midi/main.mid", true));
}

TEST(Music, APieceThatCannotBeLoadedTurnsMusicOffForTheRestOfTheRun) {
    const ScratchDir scratch;
    const std::string& dir = scratch.path;
    Bytes cut = one_note_midi();
    cut.resize(cut.size() - 3);
    write_bytes(dir + "/short.mid", cut);
    write_bytes(dir + "/text.mid", Bytes{'h', 'e', 'l', 'l', 'o'});
    const std::string broken[] = {"midi/none.mid", dir + "/short.mid", dir + "/text.mid", "midi"};
    for (const std::string& path : broken) {
        ASSERT_TRUE(start_headless_game());
        headless_take_events();
        const auto music_closed = [] {
            const Log& log = headless_release_log();
            return std::count(log.begin(), log.end(), "music");
        };
        const auto closed_before = music_closed();
        EXPECT_TRUE(play_music("midi/title.mid", true));
        EXPECT_FALSE(play_music(path.c_str(), false)) << path;
        EXPECT_FALSE(music_performance);
        EXPECT_FALSE(headless_music_loaded()) << "the piece that played is gone too";

        EXPECT_FALSE(play_music("midi/title.mid", true)) << "no music even for a good file";
        EXPECT_FALSE(headless_music_loaded());
        EXPECT_EQ(headless_music_plays(), 0);
        stop_music();
        EXPECT_EQ(music_events().size(), 4u) << "every call is still recorded";

        release_music();
        release_music();
        EXPECT_EQ(music_closed() - closed_before, 1) << "the engine went with the failed load, once";
        release_sound();
        release_display();  // the next start makes a new back buffer
    }
}

TEST(Music, ReleaseStopsTheEngineOnceAndMayRunTwice) {
    ASSERT_TRUE(start_headless_game());
    play_music("midi/title.mid", true);
    release_music();
    EXPECT_FALSE(headless_music_loaded());
    EXPECT_EQ(music_segment, nullptr);
    release_music();
    EXPECT_EQ(headless_release_log(), Log{"music"});
    EXPECT_FALSE(play_music("midi/title.mid", true));
}

TEST(MidiCheck, AcceptsWellFormedFiles) {
    EXPECT_TRUE(check(one_note_midi()));
    // Running status, a system exclusive message and meta events with text.
    EXPECT_TRUE(check(midi_file({0x00, 0xFF, 0x03, 0x02, 'h', 'i', 0x00, 0xF0, 0x03, 0x7E, 0x7F, 0xF7,
                                 0x00, 0x90, 60, 100, 0x10, 64, 100, 0x81, 0x00, 60, 0, 0x00, 64, 0,
                                 0x00, 0xB0, 7, 100, 0x00, 0xE0, 0, 64})));
    // Two tracks of format 1 with an unknown chunk between them.
    Bytes two = midi_file({0x00, 0x90, 60, 1}, 1, 2);
    const size_t second_track = two.size() - 16;
    two.insert(two.begin() + long(second_track), {'X', 'x', 'x', 'x', 0, 0, 0, 2, 1, 2});
    EXPECT_TRUE(check(two));
}

TEST(MidiCheck, RefusesMalformedFiles) {
    Bytes no_end = midi_file({0x00, 0x90, 60, 100});
    no_end.resize(no_end.size() - 4);  // the End of Track is gone ...
    no_end[21] = uint8_t(no_end[21] - 4);  // ... and the track's length says so
    Bytes long_track = one_note_midi();
    long_track[21] = uint8_t(long_track[21] + 1);
    Bytes missing_track = midi_file({0x00, 0x90, 60, 100}, 1, 2);
    missing_track.resize(missing_track.size() - 16);
    Bytes huge_header = one_note_midi();
    huge_header[4] = 0x7F;
    Bytes smpte = one_note_midi();
    smpte[12] = 0xE7;  // 25 frames a second ...
    smpte[13] = 40;    // ... of 40 ticks: the synthesiser cannot play it
    const struct {
        const char* what;
        Bytes file;
    } cases[] = {
        {"empty", {}},
        {"not MIDI", Bytes(40, 'x')},
        {"no End of Track", no_end},
        {"track longer than the file", long_track},
        {"fewer tracks than declared", missing_track},
        {"header size beyond the file", huge_header},
        {"time in SMPTE frames", smpte},
        {"format 0 with two tracks", midi_file({}, 0, 2)},
        {"format 3", midi_file({}, 3, 1)},
        {"no tracks", Bytes{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 0, 1, 0xE0}},
        {"running status with no status before", midi_file({0x00, 60, 100})},
        {"data byte with its top bit set", midi_file({0x00, 0x90, 0x90, 100})},
        {"a real-time message", midi_file({0x00, 0xF8})},
        {"a delta time of five bytes", midi_file({0x81, 0x81, 0x81, 0x81, 0x01, 0x90, 60, 100})},
        {"meta event longer than its track", midi_file({0x00, 0xFF, 0x01, 0x7F, 'a'})},
        {"system exclusive longer than its track", midi_file({0x00, 0xF0, 0x8F, 0xFF, 0xFF, 0x7F})},
    };
    for (const auto& c : cases) EXPECT_FALSE(check(c.file)) << c.what;
}

TEST(MidiCheck, EveryCommittedPieceIsWellFormed) {
    const std::filesystem::path dir = std::filesystem::path(KUZARI_DATA_DIR) / "midi";
    for (const char* name : {"title.mid", "main.mid", "hue.mid", "end.mid", "miss.mid"}) {
        Bytes bytes;
        ASSERT_TRUE(read_data_file((dir / name).c_str(), size_t(1) << 20, &bytes)) << name;
        EXPECT_TRUE(check(bytes)) << name;
    }
}
