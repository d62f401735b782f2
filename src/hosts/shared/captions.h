// Captions for the voices: while a voice clip plays the host shows its words
// (in the Japanese edition) or their meaning (in the English one) in a band
// over the bottom of the picture. They are the host's, not the game's: no
// picture hash sees them.
#pragma once

#include <cstdint>

#include "hosts/shared/overlay_image.h"
#include "platform/platform.h"
#include "hosts/shared/pixel_font.h"

enum CaptionMode { captions_auto, captions_on, captions_off };  // auto: on in the English edition

struct VoiceCaption {
    const char* file;     // the clip, as the game names it ("voice/hajimaru.wav")
    const char* words;    // what is said, in Japanese
    const char* meaning;  // in English
};

extern const VoiceCaption voice_captions[];
extern const int voice_caption_count;

bool captions_wanted(CaptionMode mode, bool english);
// "auto", "on", "off" <-> the mode; false for anything else.
bool parse_caption_mode(const char* text, CaptionMode* mode);
const char* caption_mode_name(CaptionMode mode);

// The game asked for a voice (the observer's voice_started), then its clip
// started to play, lasting clip_ms; a clip the game failed to load never plays.
void caption_voice_asked(const char* path);
void caption_voice_played(uint32_t clip_ms, uint32_t now_ms);
// How long a clip of this many bytes plays, in milliseconds (0 for a format
// that cannot play).
uint32_t clip_milliseconds(uint32_t byte_count, const ClipFormat& format);
// Forget the voice (a new game, the sound closing).
void reset_captions();
// The caption to show now, or null.
const VoiceCaption* caption_showing(uint32_t now_ms);

constexpr int caption_band_height = 16;  // in game pixels
// Draws the caption's text for the edition into a band caption_band_width x
// caption_band_height, centred, on a translucent strip.
constexpr int caption_band_width = 320;
void draw_caption(OverlayImage* band, const PixelFont& font, const VoiceCaption& caption, bool english);
