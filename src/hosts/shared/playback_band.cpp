#include "hosts/shared/playback_band.h"

#include <cstdio>

namespace {

constexpr OverlayColour strip_colour = 0xB0101020;  // as the captions' strip
constexpr OverlayColour text_colour = 0xFFFCFCFC;
constexpr OverlayColour hint_colour = 0xFFC0C8FC;
constexpr int margin = 4;

const char* const hint_english = "Space: play  .: step  -/+: speed  ←/→: 10 s  Home: start";
const char* const hint_japanese = "Space:再生  .:1コマ  -/+:速さ  ←/→:10秒  Home:最初";

}  // namespace

const char* playback_hint(bool english) { return english ? hint_english : hint_japanese; }

void playback_time(uint64_t frames, char* text, int size) {
    // 17 ms a frame, as the game's clock paces it.
    const uint64_t seconds = frames * 17 / 1000;
    std::snprintf(text, size_t(size), "%llu:%02llu", static_cast<unsigned long long>(seconds / 60),
                  static_cast<unsigned long long>(seconds % 60));
}

void draw_playback_band(OverlayImage* band, const PixelFont& font, const PlaybackControl& control, uint64_t frame,
                        uint64_t frames, bool english) {
    const int lines = control.paused ? 2 : 1;
    clear_overlay(band, playback_band_width, playback_band_line * lines);
    fill_overlay_box(band, 0, 0, playback_band_width, band->height, strip_colour);
    char now[24], total[24], line[128];
    playback_time(frame, now, sizeof now);
    playback_time(frames, total, sizeof total);
    std::snprintf(line, sizeof line, "%s %s  %s / %s", control.paused ? "||" : ">",
                  playback_speed_name(control.speed), now, total);
    const int top = (playback_band_line - pixel_font_cell) / 2;
    draw_pixel_text(band, font, margin, top, line, text_colour);
    std::snprintf(line, sizeof line, "%llu / %llu", static_cast<unsigned long long>(frame),
                  static_cast<unsigned long long>(frames));
    draw_pixel_text(band, font, playback_band_width - margin - pixel_text_width(font, line), top, line, text_colour);
    if (control.paused) {
        draw_pixel_text(band, font, margin, playback_band_line + top, playback_hint(english), hint_colour);
    }
}
