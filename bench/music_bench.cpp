// The music on the real SDL path with SDL's disk audio driver (real time, no
// sound card): how long opening the music and each change of piece keep the
// main thread, how long after opening the soundfont is ready, and how loud each
// committed piece comes out (RMS and peak over its first seconds, in dBFS).
//   kuzari-music-bench DATA_DIR [SECONDS_PER_PIECE]
#include <SDL.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "audio/audio.h"
#include "audio/audio_internal.h"
#include "hosts/desktop/sdl_platform.h"

namespace {

using Clock = std::chrono::steady_clock;

double ms_since(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::string output_path;

size_t written_frames() { return size_t(std::filesystem::file_size(output_path) / 4); }

// The disk driver keeps real time: waits until `seconds` more have been written.
void let_play(double seconds) {
    const size_t target = written_frames() + size_t(seconds * 44100);
    while (written_frames() < target) SDL_Delay(5);
}

std::vector<int16_t> read_output() {
    std::ifstream file(output_path, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    std::vector<int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

void print_level(const char* piece, const std::vector<int16_t>& samples, size_t from, size_t to) {
    double sum = 0;
    int top = 0;
    for (size_t i = 2 * from; i < 2 * to && i < samples.size(); ++i) {
        sum += double(samples[i]) * samples[i];
        top = std::max(top, std::abs(int(samples[i])));
    }
    const double rms = std::sqrt(sum / double(2 * (to - from)));
    std::printf("  %-16s RMS %6.2f dBFS, peak %6.2f dBFS\n", piece, 20 * std::log10(rms / 32768),
                20 * std::log10(top / 32768.0));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s DATA_DIR [SECONDS_PER_PIECE]\n", argv[0]);
        return 2;
    }
    const double seconds = argc > 2 ? std::atof(argv[2]) : 8.0;
    char dir[] = "/tmp/kuzari-music-bench-XXXXXX";
    if (!mkdtemp(dir)) return 1;
    output_path = std::string(dir) + "/out.raw";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", output_path.c_str(), 1);
    if (chdir(argv[1]) != 0 || SDL_Init(0) != 0 || !init_sound()) return 1;

    const auto opening = Clock::now();
    if (!init_music(nullptr)) return 1;
    std::printf("opening the music: %.2f ms on the main thread\n", ms_since(opening));
    while (sdl_music_soundfont() == SdlSoundfont::loading) SDL_Delay(1);
    std::printf("soundfont %s %.1f ms after opening began\n",
                sdl_music_soundfont() == SdlSoundfont::ready ? "ready" : "missing", ms_since(opening));

    // Changes of piece as the game makes them, three rounds, the first piece
    // already playing; each piece then plays on for a while.
    const char* const pieces[] = {"title", "main", "hue", "end", "miss"};
    std::vector<double> changes;
    std::printf("music changes (main thread, play_music):");
    for (int round = 0; round < 3; ++round)
        for (const char* piece : pieces) {
            const std::string path = std::string("midi/") + piece + ".mid";
            const auto start = Clock::now();
            play_music(path.c_str(), true);
            changes.push_back(ms_since(start));
            std::printf(" %.3f", changes.back());
            std::fflush(stdout);
            let_play(0.3);
        }
    std::sort(changes.begin(), changes.end());
    std::printf("\n  median %.3f ms, longest %.3f ms\n", changes[changes.size() / 2], changes.back());

    // Levels: each piece from its start, alone.
    std::printf("levels over the first %.0f s of each piece:\n", seconds);
    for (const char* piece : pieces) {
        stop_music();
        let_play(0.5);
        const std::string path = std::string("midi/") + piece + ".mid";
        const size_t from = written_frames();
        play_music(path.c_str(), true);
        let_play(seconds);
        print_level(piece, read_output(), from, from + size_t(seconds * 44100));
    }
    release_music();
    release_sound();
    std::filesystem::remove_all(dir);
    return 0;
}
