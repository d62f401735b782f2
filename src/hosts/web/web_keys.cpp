// The page's keys for each of the game's keys (KeyboardEvent.code values),
// read from the table the desktop takes its defaults from, so that the page
// keeps no list of its own.
#include "hosts/shared/game_keys.h"
#include "hosts/web/web_host.h"

WEB_EXPORT("web_key_count") int web_key_count() { return game_key_count; }

// The key's code number `index`, or null past its last.
WEB_EXPORT("web_key_code") const char* web_key_code(int key, int index) {
    if (key < 0 || key >= game_key_count || index < 0 || index >= most_default_keys) return nullptr;
    return game_keys[key].page_codes[index];
}
