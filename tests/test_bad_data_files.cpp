// The game run through kuzari-replay with each of its 27 data files missing,
// empty or cut to half: an effect file ends the start with the sound box and
// exit code 0; a bitmap shows its box each time it is read; a piece of music
// turns music off for good; a voice leaves the voice channel silent. Nothing
// else changes: every frame's state matches the same run on sound data.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "hosts/shared/input_script.h"
#include "support/audio_files.h"
#include "support/replay_run.h"
#include "support/scratch_dir.h"

using nlohmann::json;
namespace fs = std::filesystem;

namespace {

enum class Damage { missing, empty, half };
const Damage every_damage[] = {Damage::missing, Damage::empty, Damage::half};

// Under the sanitizers the game runs many times slower: there each file gets
// one of the damages in turn, so that every file and every damage still come up.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool every_damage_of_every_file = false;
#else
constexpr bool every_damage_of_every_file = true;
#endif

bool try_damage(int file_index, Damage damage) {
    return every_damage_of_every_file || int(damage) == file_index % 3;
}

const char missing_caption[] = "ファイルが見つかりませーん";
const char sound_failed_text[] = "DirectSoundの初期化に失敗しました。\nアプリケーションを終了します。";

// Visits the explanation, starts a round, empties the stock (with refills so
// that both first-throw voices come up), loses, leaves the game-over screen
// and is back on the title.
const char losing_script[] =
    "83\n1 down\n20\n1 enter\n150\n1 enter\n150\n1 up\n20\n1 enter\n300\n400 enter\n"
    "1 shift\n60\n1 enter\n100\n1 shift\n60\n1 enter\n100\n1 shift\n60\n1 enter\n100\n"
    "1 shift\n60\n1 enter\n1600\n1 enter\n200\n";
// The recorded perfect round reaches the staff screen; the title is back by this frame.
constexpr long long winning_frames = 10300;

std::string damage_name(Damage damage) {
    return damage == Damage::missing ? "missing" : damage == Damage::empty ? "empty" : "half";
}

void damage_file(const std::string& path, Damage damage) {
    if (damage == Damage::missing) {
        fs::remove(path);
        return;
    }
    const auto size = fs::file_size(path);
    fs::resize_file(path, damage == Damage::empty ? 0 : size / 2);
}

// The kind of a data file by its folder: "bitmap", "wave", "voice" or "midi".
std::string kind_of(const std::string& file) { return file.substr(0, file.find('/')); }

// What the checks need of one trace line (run with --trace-playing). The game's
// state is the line without the parts broken data may change: the events, what
// sounds and the picture.
struct Frame {
    long long number = -1;
    std::string state;
    json events = json::array();
    int voice_cooldown = 0, music_plays = 0, voice_bound = 0;
};

struct Trace {
    int exit_status = -1;
    std::string error_output;
    std::vector<Frame> frames;
};

Frame read_frame(const std::string& line) {
    Frame frame;
    const size_t sound = line.find("\"sound\":["), playing = line.find(",\"playing\":[");
    const size_t events = line.find(",\"events\":"), presented = line.find(",\"presented\":");
    const size_t fb = line.find(",\"fb\":");
    if (sound == std::string::npos || playing == std::string::npos || events == std::string::npos ||
        presented == std::string::npos || fb == std::string::npos)
        return frame;
    std::sscanf(line.c_str(), "{\"frame\":%lld", &frame.number);
    int se_enabled;
    std::sscanf(line.c_str() + sound, "\"sound\":[%d,%d]", &se_enabled, &frame.voice_cooldown);
    std::sscanf(line.c_str() + playing, ",\"playing\":[%d,%d]", &frame.music_plays, &frame.voice_bound);
    frame.state = line.substr(0, events) + line.substr(presented, fb - presented);
    const std::string event_text = line.substr(events + 10, presented - events - 10);
    if (event_text != "[]") frame.events = json::parse(event_text);
    return frame;
}

bool event_names(const json& event, const std::string& file) {
    const std::string kind = kind_of(file);
    const std::string name = kind == "bitmap" ? "sheet" : kind;
    return event[0] == (kind == "midi" ? "music" : name) && event[1] == file;
}

std::vector<long long> reads_of(const Trace& run, const std::string& file) {
    std::vector<long long> frames;
    for (const Frame& frame : run.frames)
        for (const json& e : frame.events)
            if (event_names(e, file)) {
                frames.push_back(frame.number);
                break;
            }
    return frames;
}

long long next_music_after(const Trace& run, long long from) {
    for (long long f = from + 1; f < (long long)run.frames.size(); ++f)
        for (const json& e : run.frames[f].events)
            if (e[0] == "music") return f;
    return -1;
}

bool has_voice(const Frame& frame) {
    for (const json& e : frame.events)
        if (e[0] == "voice") return true;
    return false;
}

bool ran_clean(const Trace& run) {
    return run.error_output.find("Sanitizer") == std::string::npos &&
           run.error_output.find("runtime error") == std::string::npos;
}

struct Play {
    std::string script;
    unsigned seed;
    long long frames;  // -1: the whole script
};

Play losing_play() { return Play{losing_script, 1, -1}; }

Play winning_play() {
    std::ifstream file(KUZARI_SOURCE_DIR "/docs/screenshots/perfect.txt");
    std::stringstream text;
    text << file.rdbuf();
    const std::string script = text.str();
    uint32_t seed = 0;
    EXPECT_TRUE(script_seed(script, &seed)) << "the recorded round names its seed";
    return Play{script, seed, winning_frames};
}

Trace run_play(const Play& play, long long frames, const std::string& data_dir) {
    ReplayOptions options;
    options.script = play.script;
    options.seed = play.seed;
    options.frames = frames;
    options.data_dir = data_dir;
    options.parse = false;
    options.extra_args = {"--trace-playing"};
    const ReplayResult result = run_replay(options);
    Trace run{result.exit_status, result.error_output, {}};
    for (const std::string& line : result.lines) run.frames.push_back(read_frame(line));
    return run;
}

Trace run_with_damage(const Play& play, long long frames, const std::vector<std::string>& files, Damage damage) {
    const ScratchDir scratch;
    fs::copy(KUZARI_DATA_DIR, scratch.path, fs::copy_options::recursive);
    for (const std::string& file : files) damage_file(scratch.path + "/" + file, damage);
    return run_play(play, frames, scratch.path);
}

// Checks the run with `files` damaged against the reference run on sound data.
void check_damaged_run(const Trace& reference, const Play& play, const std::vector<std::string>& files,
                       Damage damage) {
    // Trace until every read of a damaged file is past: a bitmap or voice 100
    // frames beyond its last read, music until the piece asked for after it.
    long long frames = 0;
    for (const std::string& file : files) {
        const std::vector<long long> reads = reads_of(reference, file);
        ASSERT_FALSE(reads.empty()) << file << " is read by the script";
        const long long until = kind_of(file) == "midi" ? next_music_after(reference, reads[0]) : reads.back() + 100;
        ASSERT_GT(until, 0) << "music is asked for again after " << file;
        frames = std::max(frames, std::min(until + 5, (long long)reference.frames.size() - 1));
    }
    const Trace result = run_with_damage(play, frames, files, damage);
    const std::string what = "damage " + damage_name(damage) + " of " + files[0] + (files.size() > 1 ? "..." : "");
    // A picture that cannot be read shows a box: the replay tool says so, and fails.
    bool boxed_picture = false;
    for (const std::string& file : files) boxed_picture |= kind_of(file) == "bitmap";
    ASSERT_EQ(result.exit_status, boxed_picture ? 1 : 0) << what << ": " << result.error_output;
    EXPECT_EQ(result.error_output.find("the game showed a box: ") != std::string::npos, boxed_picture) << what;
    EXPECT_TRUE(ran_clean(result)) << what << ": " << result.error_output;
    ASSERT_EQ((long long)result.frames.size(), frames + 1) << what;
    for (long long f = 0; f <= frames; ++f)
        ASSERT_EQ(result.frames[f].state, reference.frames[f].state) << what << ", frame " << f;

    std::set<std::string> boxed;
    for (const Frame& frame : result.frames)
        for (const json& e : frame.events)
            if (e[0] == "box") {
                EXPECT_EQ(e[2], missing_caption) << what;
                boxed.insert(e[1].get<std::string>());
            }
    for (const std::string& file : files) {
        const std::string kind = kind_of(file);
        const std::vector<long long> reads = reads_of(result, file);
        ASSERT_FALSE(reads.empty()) << what << ": " << file;
        if (kind == "bitmap") {
            // One box per read, in the frame of the read, and nothing else.
            for (long long f : reads) {
                int boxes = 0;
                for (const json& e : result.frames[f].events) boxes += e == json::array({"box", file, missing_caption});
                EXPECT_EQ(boxes, 1) << what << ", frame " << f;
            }
            size_t box_frames = 0;
            for (const Frame& frame : result.frames)
                for (const json& e : frame.events) box_frames += e[0] == "box" && e[1] == file;
            EXPECT_EQ(box_frames, reads.size()) << what;
            boxed.erase(file);
        } else if (kind == "voice") {
            // The channel is silent from the request until the next voice; the
            // cooldown still starts.
            for (long long f : reads) {
                EXPECT_EQ(result.frames[f].voice_cooldown, 80) << what << ", frame " << f;
                for (long long g = f; g < (long long)result.frames.size(); ++g) {
                    if (g > f && has_voice(result.frames[g])) break;
                    ASSERT_EQ(result.frames[g].voice_bound, 0) << what << ", frame " << g;
                }
            }
        } else if (kind == "midi") {
            // Music is off from the failed piece on, even for pieces that load.
            const long long failed = reads[0];
            EXPECT_GT(next_music_after(result, failed), failed) << what;
            for (long long f = failed; f <= frames; ++f)
                ASSERT_EQ(result.frames[f].music_plays, 0) << what << ", frame " << f;
        }
    }
    EXPECT_TRUE(boxed.empty()) << what << ": a box for " << *boxed.begin();
}

Trace reference_run(const Play& play) {
    const Trace run = run_play(play, play.frames, KUZARI_DATA_DIR);
    EXPECT_EQ(run.exit_status, 0) << run.error_output;
    // On sound data every piece plays and every voice sounds.
    for (const Frame& frame : run.frames) {
        EXPECT_FALSE(frame.state.empty()) << "a trace line as expected";
        for (const json& e : frame.events) {
            if (e[0] == "music") {
                EXPECT_GT(frame.music_plays, 0) << frame.number;
            }
            if (e[0] == "voice") {
                EXPECT_EQ(frame.voice_bound, 1) << frame.number;
            }
            EXPECT_NE(e[0], "box") << frame.number;
        }
    }
    return run;
}

}  // namespace

TEST(BadDataFiles, AnEffectFileThatCannotBeReadEndsTheStartWithTheSoundBox) {
    for (Damage damage : every_damage) {
        for (int slot = 0; slot < 7; ++slot) {
            const std::string file = "wave/0" + std::to_string(slot) + ".wav";
            const Trace result = run_with_damage(losing_play(), -1, {file}, damage);
            const std::string what = "damage " + damage_name(damage) + " of " + file;
            EXPECT_EQ(result.exit_status, 1) << what << ": " << result.error_output;
            EXPECT_TRUE(ran_clean(result)) << what << ": " << result.error_output;
            ASSERT_EQ(result.frames.size(), 1u) << what << ": no frame runs";
            EXPECT_EQ(result.frames[0].events,
                      json::array({json::array({"sheet", "bitmap/title.bmp"}),
                                   json::array({"box", sound_failed_text, ""})}))
                << what;
        }
    }
}

// Every file the losing script reads, each damaged on its own.
TEST(BadDataFiles, EachFileOfALostRoundDamagedInTurn) {
    const Play play = losing_play();
    const Trace reference = reference_run(play);
    ASSERT_FALSE(HasFailure());
    const char* files[] = {
        "bitmap/title.bmp", "bitmap/setumei.bmp", "bitmap/main.bmp", "bitmap/gameover.bmp",
        "midi/title.mid", "midi/main.mid", "midi/miss.mid",
        "voice/hajimaru.wav", "voice/setumei.wav", "voice/onaka.wav", "voice/oraora.wav",
        "voice/kono.wav", "voice/tama.wav", "voice/hin.wav", "voice/uwa.wav",
    };
    for (Damage damage : every_damage)
        for (int i = 0; i < int(std::size(files)); ++i)
            if (try_damage(i, damage)) check_damaged_run(reference, play, {files[i]}, damage);
}

// The files only a won round reads: the time-up music on its own (it turns
// music off before the next piece is read), the rest together.
TEST(BadDataFiles, TheFilesOfAWonRoundDamaged) {
    const Play play = winning_play();
    ASSERT_FALSE(play.script.empty());
    const Trace reference = reference_run(play);
    ASSERT_FALSE(HasFailure());
    ASSERT_FALSE(reads_of(reference, "bitmap/staff.bmp").empty());
    for (Damage damage : every_damage) {
        if (try_damage(0, damage)) check_damaged_run(reference, play, {"midi/hue.mid"}, damage);
        if (try_damage(1, damage))
            check_damaged_run(reference, play,
                              {"bitmap/end.bmp", "bitmap/staff.bmp", "voice/itadaki.wav", "midi/end.mid"}, damage);
    }
}
