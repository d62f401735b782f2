// The hints' words for the page: which hint line the game shows, where, and
// the words for the device the page says the player has in hand, with the
// keys and pad buttons the options keep.
#include <string>

#include "core/data_file.h"
#include "hosts/shared/hints.h"
#include "hosts/shared/options_menu.h"
#include "hosts/web/web_host.h"

namespace {

std::string words;
int place[4];  // left, top, width, height

}  // namespace

// The hint line showing now: a GameHint (0 none, 1 the title's, 2 the refill's).
WEB_EXPORT("web_hint_shown") int web_hint_shown() { return int(game_hint_now()); }

// The words for the hint showing now on the device (an InputDevice: 0 the
// keyboard, 1 a pad, 2 a touch screen); "" where the game's own line is right.
WEB_EXPORT("web_hint_words") const char* web_hint_words(int device) {
    const MenuValues& values = web_menu_values();
    const InputDevice hand = device == device_pad || device == device_touch ? InputDevice(device) : device_keyboard;
    words = hint_words(game_hint_now(), hand, game_language() == language_english,
                       HintBindings{values.keys, values.buttons, true});
    return words.c_str();
}

// The line's place on the picture in game pixels: left, top, width, height.
WEB_EXPORT("web_hint_place") const int* web_hint_place(int hint) {
    const HintPlace at = hint_place(hint == hint_title ? hint_title : hint == hint_refill ? hint_refill : hint_none);
    place[0] = at.left;
    place[1] = at.top;
    place[2] = at.width;
    place[3] = at.height;
    return place;
}
