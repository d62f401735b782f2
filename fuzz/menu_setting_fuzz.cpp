// Kept settings read back into the options menu's values, on arbitrary text
// (the browser keeps them where the player, or anything, may change them).
// Whatever it takes stays within what the menu could have chosen.
#include <cstdlib>
#include <string>

#include "hosts/shared/menu_setting.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    MenuValues values;
    const int refused = apply_menu_settings_text(&values, text);
    if (refused < 0 || size_t(refused) > size) std::abort();
    for (int percent : {values.volume, values.music_volume, values.effects_volume})
        if (percent < 0 || percent > 100) std::abort();
    if (values.scale < 0 || values.scale > 16) std::abort();
    if (values.captions != captions_auto && values.captions != captions_on && values.captions != captions_off)
        std::abort();
    for (int key = 0; key < game_key_count; ++key)
        for (const auto* names : {&values.keys[key], &values.buttons[key]})
            for (const std::string& name : *names)
                if (name.empty() || name.front() == ' ' || name.back() == ' ' || name.find(',') != std::string::npos)
                    std::abort();
    return 0;
}
