// The number of the game's keys, for the page; which keys and pad buttons play
// each the module keeps with the options (web_options.cpp: web_key_code,
// web_pad_button), the defaults from the table the desktop takes its own from.
#include "hosts/shared/game_keys.h"
#include "hosts/web/web_host.h"

WEB_EXPORT("web_key_count") int web_key_count() { return game_key_count; }
// The key that ends the game (its KeyboardEvent.code).
WEB_EXPORT("web_quit_code") const char* web_quit_code() { return page_quit_code; }
// The game key's name in the settings ("up", "throw"), which the touch controls go by.
WEB_EXPORT("web_key_name") const char* web_key_name(int key) {
    return key >= 0 && key < game_key_count ? game_keys[key].setting : nullptr;
}
