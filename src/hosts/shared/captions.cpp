// The voices' captions: which clip is sounding, for how long, and its band.
#include "hosts/shared/captions.h"

#include <algorithm>
#include <cstring>

const VoiceCaption voice_captions[] = {
    {"voice/hajimaru.wav", "はじまるよ！", "Here we go!"},
    {"voice/setumei.wav", "せつめいするね。", "Let me explain."},
    {"voice/onaka.wav", "おなか、すいたー。", "I'm so hungry..."},
    {"voice/kono.wav", "このっ！", "Take that!"},
    {"voice/oraora.wav", "おらおらー！", "Come on, come on!"},
    {"voice/tama.wav", "たまが、ない！", "Out of beans!"},
    {"voice/hin.wav", "ひーん。", "Boo-hoo..."},
    {"voice/itadaki.wav", "いただきまーす！", "Time to eat!"},
    {"voice/uwa.wav", "うわーっ！", "Waaah!"},
};
const int voice_caption_count = int(sizeof voice_captions / sizeof voice_captions[0]);

namespace {

const VoiceCaption* asked = nullptr;    // the voice the game asked for last
constexpr uint32_t shortest_caption_ms = 1500;
const VoiceCaption* playing = nullptr;  // the one whose clip sounds, from played_at for played_ms
uint32_t played_at = 0, played_ms = 0;

constexpr OverlayColour strip_colour = 0xB0101020;  // dark, the game showing through
constexpr OverlayColour text_colour = 0xFFFCFCFC;
constexpr int strip_margin = 6;  // on each side of the text

}  // namespace

bool captions_wanted(CaptionMode mode, bool english) {
    switch (mode) {
        case captions_on: return true;
        case captions_off: return false;
        case captions_auto: break;
    }
    return english;
}

bool parse_caption_mode(const char* text, CaptionMode* mode) {
    for (CaptionMode m : {captions_auto, captions_on, captions_off})
        if (std::strcmp(text, caption_mode_name(m)) == 0) {
            *mode = m;
            return true;
        }
    return false;
}

const char* caption_mode_name(CaptionMode mode) {
    switch (mode) {
        case captions_on: return "on";
        case captions_off: return "off";
        case captions_auto: break;
    }
    return "auto";
}

void caption_voice_asked(const char* path) {
    // Asking ends the voice that was sounding, whether or not the new one loads.
    playing = nullptr;
    asked = nullptr;
    for (const VoiceCaption& caption : voice_captions)
        if (std::strcmp(caption.file, path) == 0) asked = &caption;
}

void caption_voice_played(uint32_t clip_ms, uint32_t now_ms) {
    playing = asked;
    asked = nullptr;
    played_at = now_ms;
    // A shout of half a second is gone before it can be read: a caption
    // stays at least this long, unless the next voice takes its place.
    played_ms = std::max(clip_ms, shortest_caption_ms);
}

void reset_captions() {
    asked = playing = nullptr;
    played_at = played_ms = 0;
}

const VoiceCaption* caption_showing(uint32_t now_ms) {
    // Unsigned difference: right across the millisecond clock's wrap too.
    if (playing && now_ms - played_at < played_ms) return playing;
    return nullptr;
}

void draw_caption(OverlayImage* band, const PixelFont& font, const VoiceCaption& caption, bool english) {
    clear_overlay(band, caption_band_width, caption_band_height);
    const char* text = english ? caption.meaning : caption.words;
    const int width = pixel_text_width(font, text);
    const int x = (caption_band_width - width) / 2;
    fill_overlay_box(band, x - strip_margin, 0, width + 2 * strip_margin, caption_band_height, strip_colour);
    draw_pixel_text(band, font, x, (caption_band_height - pixel_font_cell) / 2, text, text_colour);
}

uint32_t clip_milliseconds(uint32_t byte_count, const ClipFormat& format) {
    const uint64_t frame_bytes = uint64_t(format.channels) * (format.bits_per_sample == 8 ? 1 : 2);
    if (!frame_bytes || !format.rate) return 0;
    return uint32_t(uint64_t(byte_count) / frame_bytes * 1000 / format.rate);
}
