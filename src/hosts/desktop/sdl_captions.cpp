// The voices' captions on the desktop: the game tells its observer which
// voice it asks for, the sound device when the clip starts and how long it
// is; the caption's clock stands still while the game does, as the voice does.
#include <SDL.h>

#include "core/observer.h"
#include "hosts/desktop/sdl_options.h"
#include "hosts/desktop/sdl_platform.h"
#include "hosts/shared/captions.h"

namespace {

void voice_started(const char* path) { caption_voice_asked(path); }

// The captions' own listener, beside any other the game has.
const GameObserver observer = {nullptr, nullptr, voice_started, nullptr, nullptr, nullptr, nullptr};
bool english_edition = false;

bool clock_paused = false;
uint32_t paused_since = 0, paused_total = 0;

const VoiceCaption* drawn = nullptr;  // what the band holds
OverlayImage band;

uint32_t caption_clock() { return (clock_paused ? paused_since : SDL_GetTicks()) - paused_total; }

}  // namespace

void sdl_start_captions(bool english) {
    english_edition = english;
    reset_captions();
    drawn = nullptr;
    add_game_observer(&observer);
}

void sdl_caption_voice_played(uint32_t clip_ms) { caption_voice_played(clip_ms, caption_clock()); }

void sdl_captions_pause(bool paused) {
    if (paused == clock_paused) return;
    if (paused) paused_since = SDL_GetTicks();
    else paused_total += SDL_GetTicks() - paused_since;
    clock_paused = paused;
}

const OverlayImage* sdl_caption_band() {
    if (!captions_wanted(host_options.captions, english_edition)) return nullptr;
    const VoiceCaption* caption = caption_showing(caption_clock());
    const PixelFont* font = caption ? sdl_overlay_font() : nullptr;
    if (!font) return nullptr;
    if (caption != drawn) {
        draw_caption(&band, *font, *caption, english_edition);
        drawn = caption;
    }
    return &band;
}
