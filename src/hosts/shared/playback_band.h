// The band over the top of the picture while a recording is watched: paused
// or playing, the speed, the time and frame reached, and the keys while
// paused. The host's, like the captions: no picture hash or screenshot sees it.
#pragma once

#include <cstdint>

#include "hosts/shared/overlay_image.h"
#include "hosts/shared/pixel_font.h"
#include "hosts/shared/playback_control.h"

constexpr int playback_band_width = 320;
constexpr int playback_band_line = 12;  // a line's height in game pixels

// Draws the band for frame `frame` of `frames`: one line, or two while paused.
void draw_playback_band(OverlayImage* band, const PixelFont& font, const PlaybackControl& control, uint64_t frame,
                        uint64_t frames, bool english);
// The keys, shown while paused.
const char* playback_hint(bool english);
// "m:ss" of a frame count at the game's pace.
void playback_time(uint64_t frames, char* text, int size);
