// A message in the game's own window, in its pixel font, for a desktop that
// has no dialog tool to show it: the text wrapped on a dark panel over the
// picture, with how to close it at its foot.
#pragma once

#include <string>
#include <vector>

#include "hosts/shared/overlay_image.h"
#include "hosts/shared/pixel_font.h"

// The text's lines as they fit `width` pixels: its own line breaks kept, a
// longer line broken after its last space that fits, or where it reaches the
// edge when it has none there (Japanese has no spaces).
std::vector<std::string> wrap_pixel_text(const PixelFont& font, const std::string& text, int width);

// A picture-sized image (320 x 240) holding the panel.
void draw_message_panel(OverlayImage* image, const PixelFont& font, const std::string& text,
                        const std::string& closing);
