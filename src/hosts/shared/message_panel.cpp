#include "hosts/shared/message_panel.h"

#include <algorithm>

namespace {

constexpr int picture_width = 320, picture_height = 240;
constexpr int panel_margin = 16;  // between the panel and the picture's edge
constexpr int text_margin = 8;    // between the panel's edge and its text
constexpr OverlayColour shade_colour = 0x80000000;
constexpr OverlayColour panel_colour = 0xE8101828;
constexpr OverlayColour text_colour = 0xFFFFFFFF;
constexpr OverlayColour closing_colour = 0xFFFFD860;

// Bytes in the UTF-8 character that starts at `at`.
size_t character_length(const std::string& text, size_t at) {
    const unsigned char lead = static_cast<unsigned char>(text[at]);
    const size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    return std::min(length, text.size() - at);
}

void wrap_line(const PixelFont& font, const std::string& line, int width, std::vector<std::string>* lines) {
    size_t start = 0;
    while (start < line.size()) {
        // As many characters as fit, at least one, so that the text always goes on.
        size_t end = start + character_length(line, start), space = std::string::npos;
        while (end < line.size()) {
            const size_t next = end + character_length(line, end);
            if (pixel_text_width(font, line.substr(start, next - start).c_str()) > width) break;
            if (line[end] == ' ') space = end;
            end = next;
        }
        if (end < line.size() && space != std::string::npos) end = space;
        lines->push_back(line.substr(start, end - start));
        start = end;
        while (start < line.size() && line[start] == ' ') ++start;
    }
}

}  // namespace

std::vector<std::string> wrap_pixel_text(const PixelFont& font, const std::string& text, int width) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (;;) {
        const size_t end = std::min(text.find('\n', start), text.size());
        const std::string line = text.substr(start, end - start);
        if (line.empty()) lines.push_back("");
        else wrap_line(font, line, width, &lines);
        if (end == text.size()) break;
        start = end + 1;
    }
    return lines;
}

void draw_message_panel(OverlayImage* image, const PixelFont& font, const std::string& text,
                        const std::string& closing) {
    clear_overlay(image, picture_width, picture_height);
    fill_overlay_box(image, 0, 0, picture_width, picture_height, shade_colour);
    const int text_width = picture_width - 2 * (panel_margin + text_margin);
    std::vector<std::string> lines = wrap_pixel_text(font, text, text_width);
    // What does not fit the picture is left off; its end is on standard error.
    const int room = (picture_height - 2 * (panel_margin + text_margin)) / pixel_font_line_height - 2;
    if (int(lines.size()) > room) lines.resize(size_t(std::max(room, 0)));
    const int height = (int(lines.size()) + 2) * pixel_font_line_height + 2 * text_margin;
    const int top = (picture_height - height) / 2;
    fill_overlay_box(image, panel_margin, top, picture_width - 2 * panel_margin, height, panel_colour);
    int y = top + text_margin;
    for (const std::string& line : lines) {
        draw_pixel_text(image, font, panel_margin + text_margin, y, line.c_str(), text_colour);
        y += pixel_font_line_height;
    }
    const int closing_x = (picture_width - pixel_text_width(font, closing.c_str())) / 2;
    draw_pixel_text(image, font, closing_x, y + pixel_font_line_height, closing.c_str(), closing_colour);
}
