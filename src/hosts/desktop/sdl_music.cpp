// MIDI music on one FluidSynth synthesiser for the whole run, mixed in through
// SDL2_mixer's music hook. The synthesiser is made and the soundfont loaded
// once, on a thread of their own, so that start-up does not wait for them; a piece asked for before then
// starts when it is ready. Changing pieces only swaps the synthesiser's MIDI
// player, so the main thread neither builds a synthesiser nor reads a soundfont.
#include <SDL_mixer.h>
#include <fluidsynth.h>
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "core/file_read.h"
#include "core/shown_text.h"
#include "platform/platform.h"
#include "hosts/desktop/sdl_platform.h"

struct PlatformMusic {
    std::vector<uint8_t> bytes;  // checked at load; the player takes a copy
};

// FluidSynth's reverb and chorus, as SDL2_mixer's back end had them, at the
// gain that keeps the music as loud beside the effects and voices as it was.
SdlMusicSettings sdl_music_settings{"", 1.2f, true, true};

namespace {

// Debian's small General MIDI soundfont first: it loads in a few tens of ms.
const char* const soundfont_candidates[] = {
    "/usr/share/sounds/sf2/TimGM6mb.sf2",
    "/usr/share/sounds/sf3/default-GM.sf3",
    "/usr/share/sounds/sf2/default-GM.sf2",
    "/usr/share/sounds/sf2/FluidR3_GM.sf2",
};

constexpr int render_frames = 256;  // the hook renders the device's buffer in pieces of this size

bool music_open = false;
// Whether the music is synthesised at all (not with the sound off). The
// synthesiser itself is made on the loader's thread, after the first picture
// as often as not, and only touched once the soundfont is ready.
bool synthesising = false;
fluid_settings_t* settings = nullptr;
fluid_synth_t* synth = nullptr;
int device_channels = 2;
// Still joinable when the game exits from elsewhere, a std::thread's
// destructor would end it in std::terminate: it is let go instead.
struct LoaderThread {
    std::thread thread;
    ~LoaderThread() {
        if (thread.joinable()) thread.detach();
    }
};
LoaderThread soundfont_loader;
std::atomic<SdlSoundfont> soundfont_state{SdlSoundfont::missing};
std::atomic<float> volume{1.0f};
std::atomic<bool> paused{false};

// Held by the hook while it renders and by any thread that changes the player,
// which must never change while the synthesiser renders. Nothing calls into
// SDL2_mixer while holding it: the hook runs under SDL's own audio lock.
std::mutex synth_lock;
fluid_player_t* player = nullptr;              // the piece playing, if any
const PlatformMusic* playing_piece = nullptr;  // whose bytes it plays
const PlatformMusic* pending_piece = nullptr;  // asked for while the soundfont loads
int pending_plays = 0;

bool file_exists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// A soundfont the player named: FluidSynth gets only a regular file it can
// open, and one it cannot get is said, the music then staying silent.
bool soundfont_usable(const std::string& path) {
    std::string reason;
    if (readable_regular_file(path, &reason)) return true;
    std::fprintf(stderr, "kuzari: the soundfont %s cannot be used: %s\n", shown_text(path).c_str(), reason.c_str());
    return false;
}

// The first source that names a soundfont decides: the setting, then the
// player's SDL_SOUNDFONTS (paths separated by colons, as SDL2_mixer reads it),
// then the first of Debian's that is installed. Only regular files that open count.
std::vector<std::string> choose_soundfonts() {
    std::vector<std::string> chosen;
    const char* listed = std::getenv("SDL_SOUNDFONTS");
    if (!sdl_music_settings.soundfont.empty()) {
        if (soundfont_usable(sdl_music_settings.soundfont)) chosen.push_back(sdl_music_settings.soundfont);
    } else if (listed && *listed) {
        const std::string paths = listed;
        size_t start = 0;
        while (start <= paths.size()) {
            const size_t end = std::min(paths.find(':', start), paths.size());
            const std::string path = paths.substr(start, end - start);
            if (!path.empty() && soundfont_usable(path)) chosen.push_back(path);
            start = end + 1;
        }
    } else {
        for (const char* candidate : soundfont_candidates)
            if (file_exists(candidate)) {
                chosen.push_back(candidate);
                break;
            }
    }
    return chosen;
}

// Call with synth_lock held and the soundfont ready. Stops and forgets the
// player, and silences the synthesiser at once, as a new one would start:
// the reset clears channels and the reverb's and chorus's tails but lets
// voices fade out, so the voices are then cut off.
void drop_player() {
    if (player) {
        fluid_player_stop(player);
        delete_fluid_player(player);
        player = nullptr;
    }
    playing_piece = nullptr;
    fluid_synth_system_reset(synth);
    fluid_synth_all_sounds_off(synth, -1);
}

// A player for the piece, not yet playing. FluidSynth plays its list
// `loop` times in all (0 would still play it once).
fluid_player_t* make_player(const PlatformMusic* music, int plays) {
    fluid_player_t* made = new_fluid_player(synth);
    if (!made) return nullptr;
    if (fluid_player_add_mem(made, music->bytes.data(), music->bytes.size()) != FLUID_OK) {
        delete_fluid_player(made);
        return nullptr;
    }
    fluid_player_set_loop(made, std::max(plays, 1));
    return made;
}

// Call with synth_lock held and the soundfont ready.
void start_player(fluid_player_t* next, const PlatformMusic* music) {
    drop_player();
    if (!next) return;
    player = next;
    playing_piece = music;
    fluid_player_play(player);
}

void load_soundfonts(std::vector<std::string> paths) {
    synth = new_fluid_synth(settings);
    // Each one loaded stacks on the last, as SDL2_mixer did.
    bool loaded = false;
    if (synth)
        for (const std::string& path : paths) loaded |= fluid_synth_sfload(synth, path.c_str(), 1) != FLUID_FAILED;
    std::lock_guard<std::mutex> hold(synth_lock);
    if (!loaded) {
        pending_piece = nullptr;
        soundfont_state = SdlSoundfont::missing;
        return;
    }
    soundfont_state = SdlSoundfont::ready;
    if (pending_piece) start_player(make_player(pending_piece, pending_plays), pending_piece);
    pending_piece = nullptr;
}

int16_t to_sample(float value, float scale) {
    return int16_t(std::lrint(std::clamp(value * scale, -32768.0f, 32767.0f)));
}

// The mixer's music hook: the stream arrives silent, and the sound effects
// are mixed on top of what is written here. The player moves on only as
// samples are rendered, so when nothing is rendered it stands still.
void SDLCALL render_music(void*, Uint8* stream, int length) {
    std::lock_guard<std::mutex> hold(synth_lock);
    if (!player || paused || soundfont_state != SdlSoundfont::ready) return;
    if (fluid_player_get_status(player) != FLUID_PLAYER_PLAYING) return;
    const float scale = 32767.0f * volume;
    auto* out = reinterpret_cast<int16_t*>(stream);
    int frames = length / int(sizeof(int16_t)) / device_channels;
    float left[render_frames], right[render_frames];
    while (frames > 0) {
        const int count = std::min(frames, render_frames);
        fluid_synth_write_float(synth, count, left, 0, 1, right, 0, 1);
        for (int i = 0; i < count; ++i) {
            if (device_channels == 1) {
                *out++ = to_sample((left[i] + right[i]) * 0.5f, scale);
            } else {
                out[0] = to_sample(left[i], scale);
                out[1] = to_sample(right[i], scale);
                out += device_channels;  // any further channels stay silent
            }
        }
        frames -= count;
    }
}

}  // namespace

// False only when FluidSynth cannot be set up for the device; a synthesiser
// or soundfont that cannot be had shows as every piece failing to load.
bool platform_music_open() {
    if (music_open) return true;
    if (sdl_playing_silently()) {  // no synthesiser: every piece loads and nothing plays
        music_open = true;
        return true;
    }
    int frequency = 0, channels = 0;
    Uint16 format = 0;
    if (!Mix_QuerySpec(&frequency, &format, &channels) || format != AUDIO_S16SYS) return false;
    settings = new_fluid_settings();
    if (!settings) return false;
    fluid_settings_setnum(settings, "synth.sample-rate", double(frequency));
    fluid_settings_setnum(settings, "synth.gain", double(sdl_music_settings.gain));
    fluid_settings_setint(settings, "synth.reverb.active", sdl_music_settings.reverb);
    fluid_settings_setint(settings, "synth.chorus.active", sdl_music_settings.chorus);
    // Players keep time by the samples rendered in the hook, not by a timer thread.
    fluid_settings_setstr(settings, "player.timing-source", "sample");
    synthesising = true;
    device_channels = channels;
    std::vector<std::string> soundfonts = choose_soundfonts();
    soundfont_state = soundfonts.empty() ? SdlSoundfont::missing : SdlSoundfont::loading;
    if (!soundfonts.empty()) {
        try {
            soundfont_loader.thread = std::thread(load_soundfonts, std::move(soundfonts));
        } catch (const std::system_error&) {
            soundfont_state = SdlSoundfont::missing;  // no thread to load it on: no music
        }
    }
    Mix_HookMusic(render_music, nullptr);
    music_open = true;
    sdl_profile_step("music");
    return true;
}

void platform_music_close() {
    if (!music_open) return;
    music_open = false;
    if (!synthesising) return;
    synthesising = false;
    // Once this returns the hook has finished and is not called again.
    if (Mix_QuerySpec(nullptr, nullptr, nullptr)) Mix_HookMusic(nullptr, nullptr);
    if (soundfont_loader.thread.joinable()) soundfont_loader.thread.join();
    if (player) delete_fluid_player(player);
    player = nullptr;
    playing_piece = pending_piece = nullptr;
    if (synth) delete_fluid_synth(synth);
    delete_fluid_settings(settings);
    synth = nullptr;
    settings = nullptr;
    soundfont_state = SdlSoundfont::missing;
}

// FluidSynth takes any bytes here and reads them only when it first plays
// them, so what its reader would refuse is refused now.
namespace {

PlatformMusic* load_piece(const uint8_t* bytes, size_t size) {
    if (music_open && !synthesising) return new PlatformMusic{std::vector<uint8_t>(bytes, bytes + size)};
    if (!music_open || soundfont_state == SdlSoundfont::missing) return nullptr;
    if (!sdl_music_readable(bytes, size)) return nullptr;
    return new PlatformMusic{std::vector<uint8_t>(bytes, bytes + size)};
}

void play_piece(PlatformMusic* music, int plays) {
    if (!synthesising || !music) return;
    std::unique_lock<std::mutex> hold(synth_lock);
    // While the soundfont loads its thread holds the synthesiser: only note the piece.
    if (soundfont_state == SdlSoundfont::loading) {
        pending_piece = music;
        pending_plays = plays;
        return;
    }
    if (soundfont_state != SdlSoundfont::ready) return;
    hold.unlock();
    fluid_player_t* next = make_player(music, plays);  // not playing: the hook may render meanwhile
    hold.lock();
    start_player(next, music);
}

void stop_piece() {
    if (!synthesising) return;
    std::lock_guard<std::mutex> hold(synth_lock);
    pending_piece = nullptr;
    if (soundfont_state == SdlSoundfont::ready) drop_player();
}

void free_piece(PlatformMusic* music) {
    if (!music) return;
    if (synthesising) {
        std::lock_guard<std::mutex> hold(synth_lock);
        if (pending_piece == music) pending_piece = nullptr;
        if (playing_piece == music && soundfont_state == SdlSoundfont::ready) drop_player();
    }
    delete music;
}

}  // namespace

// Each call timed for KUZARI_PROFILE: the main thread's share of a change of music.
PlatformMusic* platform_music_load(const uint8_t* bytes, size_t size) {
    const double began = sdl_profile_clock();
    PlatformMusic* music = load_piece(bytes, size);
    sdl_profile_music(began);
    return music;
}

void platform_music_play(PlatformMusic* music, int plays) {
    const double began = sdl_profile_clock();
    play_piece(music, plays);
    sdl_profile_music(began);
}

void platform_music_stop() {
    const double began = sdl_profile_clock();
    stop_piece();
    sdl_profile_music(began);
}

void platform_music_free(PlatformMusic* music) {
    const double began = sdl_profile_clock();
    free_piece(music);
    sdl_profile_music(began);
}

void sdl_music_set_volume(float scale) { volume = std::clamp(scale, 0.0f, 1.0f); }

void sdl_music_pause(bool pause) { paused = pause; }

SdlSoundfont sdl_music_soundfont() { return soundfont_state; }
