#include "core/shown_text.h"

#include <cstdio>

std::string shown_text(const std::string& text) {
    std::string shown;
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const bool c1_control = c == 0xC2 && i + 1 < text.size() && (static_cast<unsigned char>(text[i + 1]) & 0xE0) == 0x80;
        if (c == 0) {
            shown += "\\0";
        } else if (c == '\\') {
            shown += "\\\\";
        } else if (c < 0x20 || c == 0x7F || c1_control) {
            const unsigned char escaped = c1_control ? static_cast<unsigned char>(text[++i]) : c;
            char code[8];
            std::snprintf(code, sizeof code, "\\x%02X", escaped);
            shown += code;
        } else {
            shown += char(c);
        }
    }
    return shown;
}
