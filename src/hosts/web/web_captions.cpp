// The voices' captions on the page: the game tells the page's observer which
// voice it asks for (web_trace.cpp), the voice slot's clip says how long it
// plays and when it starts. The captions go by the game's clock, which stands
// still while the game does (the menu open, the page hidden), as the voice does.
#include <cstdio>

#include "audio/audio.h"
#include "core/data_file.h"
#include "hosts/shared/captions.h"
#include "hosts/web/web_host.h"

namespace {

uint32_t voice_ms = 0;  // how long the voice slot's clip plays
const VoiceCaption* drawn = nullptr;
OverlayImage band;

}  // namespace

void web_caption_voice_asked(const char* path) { caption_voice_asked(path); }

void web_clip_bound(int slot, uint32_t byte_count, uint32_t rate, int bits, int channels) {
    if (slot != voice_slot) return;
    voice_ms = clip_milliseconds(byte_count, ClipFormat{rate, uint16_t(bits), uint16_t(channels)});
}

void web_clip_played(int slot) {
    if (slot == voice_slot) caption_voice_played(voice_ms, platform_ticks_ms());
}

// The caption showing now: 0 for none, else its number from 1 (a new number,
// a new band); its band is web_caption_band's.
WEB_EXPORT("web_caption_showing") int web_caption_showing() {
    const bool english = game_language() == language_english;
    if (!captions_wanted(web_caption_mode(), english)) return 0;
    const VoiceCaption* caption = caption_showing(platform_ticks_ms());
    const PixelFont* font = caption ? web_overlay_font() : nullptr;
    if (!font) return 0;
    if (caption != drawn) {
        draw_caption(&band, *font, *caption, english);
        drawn = caption;
    }
    return int(caption - voice_captions) + 1;
}

// The band: caption_band_width x caption_band_height pixels, 0xAARRGGBB.
WEB_EXPORT("web_caption_band") const OverlayColour* web_caption_band() { return band.pixels.data(); }
