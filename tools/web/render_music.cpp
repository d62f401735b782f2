// render_music: records one piece as the desktop game plays it, for the web
// edition. The synthesiser is set up as the desktop's (FluidSynth, gain 1.2,
// reverb and chorus, the player timed by the samples rendered) and the piece
// played with the same loop count, then written as 16-bit stereo WAV.
//
//   render_music [--loop] SOUNDFONT PIECE.mid OUT.wav
//
// Once: the piece is played once, to where the desktop's player stops (its
// notes' release included). --loop: three passes are played, and what is kept
// is the first pass's opening (`head`), which starts from silence, then the
// whole second pass, which starts with the tails of the pass before it and is
// the part that repeats. A pass is the head and then the second pass from the
// same point on. Two seams are faded over: the head's end into the second
// pass at that point, and the second pass's end into the first pass's end,
// which leads into the second pass's start, so that jumping back from its end
// to its start is seamless. Standard output gets one JSON line: the rate and,
// in sample frames, where one play of a piece played once ends, the head's
// length and the part that repeats.
#include <fluidsynth.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int rate = 48000;         // the page's audio runs at this rate: the loop points are whole samples
constexpr int block = 64;           // FluidSynth's block: the player moves on at its boundaries
constexpr size_t crossfade = 2400;  // 50 ms
// The opening kept from the first pass: by then the tails of a pass before
// have died away (below -80 dB in ours).
constexpr size_t head_frames = size_t(rate) * 4;
constexpr size_t max_frames = size_t(rate) * 60 * 20;  // no piece of ours is near 20 minutes

struct Render {
    std::vector<float> left, right;
    std::vector<size_t> pass_starts;  // where each pass after the first began
};

[[noreturn]] void fail(const std::string& message) {
    std::fprintf(stderr, "render_music: %s\n", message.c_str());
    std::exit(1);
}

std::vector<char> read_file(const char* path) {
    std::FILE* file = std::fopen(path, "rb");
    if (!file) fail(std::string("cannot read ") + path);
    std::vector<char> bytes;
    char chunk[65536];
    size_t count;
    while ((count = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.insert(bytes.end(), chunk, chunk + count);
    std::fclose(file);
    return bytes;
}

// Plays the piece `plays` times through a synthesiser set up as the desktop's,
// until its player stops.
Render render(const char* soundfont, const std::vector<char>& midi, int plays) {
    fluid_settings_t* settings = new_fluid_settings();
    fluid_settings_setnum(settings, "synth.sample-rate", double(rate));
    fluid_settings_setnum(settings, "synth.gain", 1.2);
    fluid_settings_setint(settings, "synth.reverb.active", 1);
    fluid_settings_setint(settings, "synth.chorus.active", 1);
    fluid_settings_setstr(settings, "player.timing-source", "sample");
    fluid_synth_t* synth = new_fluid_synth(settings);
    if (!synth || fluid_synth_sfload(synth, soundfont, 1) == FLUID_FAILED) fail("cannot load the soundfont");
    fluid_player_t* player = new_fluid_player(synth);
    if (!player || fluid_player_add_mem(player, midi.data(), midi.size()) != FLUID_OK) fail("cannot read the piece");
    fluid_player_set_loop(player, plays);
    fluid_player_play(player);

    Render out;
    float left[block], right[block];
    int last_tick = -1;
    while (fluid_player_get_status(player) == FLUID_PLAYER_PLAYING) {
        if (out.left.size() >= max_frames) fail("the piece does not end");
        fluid_synth_write_float(synth, block, left, 0, 1, right, 0, 1);
        // The player runs at the start of each block: a tick that went back
        // means a new pass began with this block.
        const int tick = fluid_player_get_current_tick(player);
        if (tick < last_tick) out.pass_starts.push_back(out.left.size());
        last_tick = tick;
        out.left.insert(out.left.end(), left, left + block);
        out.right.insert(out.right.end(), right, right + block);
    }
    delete_fluid_player(player);
    delete_fluid_synth(synth);
    delete_fluid_settings(settings);
    return out;
}

// As the desktop's music hook converts the synthesiser's output.
int16_t to_sample(float value) { return int16_t(std::lrint(std::clamp(value * 32767.0f, -32768.0f, 32767.0f))); }

void put_u32(std::vector<uint8_t>& out, uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(value >> (8 * i)));
}

void put_u16(std::vector<uint8_t>& out, uint16_t value) {
    out.push_back(uint8_t(value));
    out.push_back(uint8_t(value >> 8));
}

void write_wav(const char* path, const Render& music, size_t frames) {
    std::vector<uint8_t> out;
    const uint32_t data_bytes = uint32_t(frames * 4);
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    put_u32(out, 36 + data_bytes);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put_u32(out, 16);
    put_u16(out, 1);  // PCM
    put_u16(out, 2);
    put_u32(out, rate);
    put_u32(out, rate * 4);
    put_u16(out, 4);
    put_u16(out, 16);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    put_u32(out, data_bytes);
    for (size_t i = 0; i < frames; ++i) {
        put_u16(out, uint16_t(to_sample(music.left[i])));
        put_u16(out, uint16_t(to_sample(music.right[i])));
    }
    std::FILE* file = std::fopen(path, "wb");
    if (!file || std::fwrite(out.data(), 1, out.size(), file) != out.size() || std::fclose(file) != 0)
        fail(std::string("cannot write ") + path);
}

// The frames [from, from + count) of a render.
Render part(const Render& music, size_t from, size_t count) {
    Render out;
    out.left.assign(music.left.begin() + long(from), music.left.begin() + long(from + count));
    out.right.assign(music.right.begin() + long(from), music.right.begin() + long(from + count));
    return out;
}

// The last `crossfade` frames of `piece` go over, linearly, into the
// `crossfade` frames of `music` that end at `into_end`.
void fade_end_into(Render& piece, const Render& music, size_t into_end) {
    const size_t at = piece.left.size() - crossfade, from = into_end - crossfade;
    for (size_t i = 0; i < crossfade; ++i) {
        const float weight = float(i + 1) / float(crossfade);
        piece.left[at + i] += weight * (music.left[from + i] - piece.left[at + i]);
        piece.right[at + i] += weight * (music.right[from + i] - piece.right[at + i]);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const bool loop = argc == 5 && std::strcmp(argv[1], "--loop") == 0;
    if (argc != (loop ? 5 : 4)) fail("usage: render_music [--loop] SOUNDFONT PIECE.mid OUT.wav");
    const char* soundfont = argv[argc - 3];
    const char* out_path = argv[argc - 1];
    const std::vector<char> midi = read_file(argv[argc - 2]);

    if (!loop) {
        const Render once = render(soundfont, midi, 1);
        write_wav(out_path, once, once.left.size());
        std::printf("{\"rate\": %d, \"once_end\": %zu, \"head\": 0, \"loop_start\": 0, \"loop_end\": 0}\n", rate,
                    once.left.size());
        return 0;
    }
    const Render passes = render(soundfont, midi, 3);
    if (passes.pass_starts.size() != 2) fail("three passes were asked for and not played");
    const size_t second = passes.pass_starts[0], pass = passes.pass_starts[1] - second;
    if (second < head_frames || pass < head_frames + crossfade) fail("the piece is too short to loop");
    Render head = part(passes, 0, head_frames);
    fade_end_into(head, passes, second + head_frames);
    Render repeated = part(passes, second, pass);
    fade_end_into(repeated, passes, second);
    head.left.insert(head.left.end(), repeated.left.begin(), repeated.left.end());
    head.right.insert(head.right.end(), repeated.right.begin(), repeated.right.end());
    write_wav(out_path, head, head.left.size());
    std::printf("{\"rate\": %d, \"once_end\": %zu, \"head\": %zu, \"loop_start\": %zu, \"loop_end\": %zu}\n", rate,
                pass, head_frames, head_frames, head_frames + pass);
    return 0;
}
