// The options menu on the page: the module keeps the menu's values, which the
// page sets from what it keeps (localStorage) for every new game; the page
// feeds the menu its input and draws the picture it returns over the game's.
// The changes go back to the page as "section\tkey\tvalue\n" lines, for it to
// apply and keep.
#include <cstdio>
#include <iterator>
#include <string>

#include "core/data_file.h"
#include "hosts/shared/menu_controls.h"
#include "hosts/shared/menu_setting.h"
#include "hosts/shared/options_menu.h"
#include "hosts/web/web_host.h"

namespace {

std::string text_buffer;
std::string changes_text;
std::string sheet_text;
MenuValues values;
bool values_made = false;
OptionsMenu* menu = nullptr;
OverlayImage menu_picture;

PixelFont font;
enum FontState { font_unread, font_read, font_missing };
FontState font_state = font_unread;

MenuFeatures page_features();

MenuValues& page_values() {
    if (!values_made) {
        const MenuFeatures features = page_features();
        for (int key = 0; key < game_key_count; ++key) {
            values.keys[key] = features.default_keys[key];
            values.buttons[key] = features.default_buttons[key];
        }
        values.english = game_language() == language_english;  // the page's, unless a kept one follows
        values_made = true;
    }
    return values;
}

MenuFeatures page_features() {
    MenuFeatures features;
    features.window_options = false;  // the browser's window is the player's own
    features.pad_buttons = true;
    for (int key = 0; key < game_key_count; ++key) {
        for (const char* code : game_keys[key].page_codes)
            if (code) features.default_keys[key].push_back(code);
        features.default_buttons[key] = {game_keys[key].pad_button};
    }
    features.reserved_keys.assign(std::begin(page_reserved_codes), std::end(page_reserved_codes));
    features.records = web_records_kept();
    return features;
}

const char* bound_name(const std::vector<std::string>* lists, int key, int index) {
    if (key < 0 || key >= game_key_count || index < 0 || index >= int(lists[key].size())) return nullptr;
    return lists[key][size_t(index)].c_str();
}

}  // namespace

const PixelFont* web_overlay_font() {
    if (font_state == font_unread) {
        std::string error;
        font_state = load_pixel_font(&font, &error) ? font_read : font_missing;
        if (font_state == font_missing) std::fprintf(stderr, "the options and captions go without text: %s\n", error.c_str());
    }
    return font_state == font_read ? &font : nullptr;
}

CaptionMode web_caption_mode() { return page_values().captions; }

const MenuValues& web_menu_values() { return page_values(); }
const std::string& web_text() { return text_buffer; }

// Room for text of `size` bytes (settings, a key's name), which the page writes there.
WEB_EXPORT("web_text_buffer") char* web_text_buffer(uint32_t size) {
    text_buffer.assign(size, '\0');
    return text_buffer.data();
}

// The settings in the buffer, "section\tkey\tvalue\n" lines as the changes
// come, set in the menu's values; returns how many lines were not understood.
WEB_EXPORT("web_options_set") int web_options_set() { return apply_menu_settings_text(&page_values(), text_buffer); }

// The game key's bound key `index` (a KeyboardEvent.code) or pad button
// (by name), or null past its last.
WEB_EXPORT("web_key_code") const char* web_key_code(int key, int index) {
    return bound_name(page_values().keys, key, index);
}
WEB_EXPORT("web_pad_button") const char* web_pad_button(int key, int index) {
    return bound_name(page_values().buttons, key, index);
}
// The name of the standard mapping's button `index`, or null past the last.
WEB_EXPORT("web_pad_button_name") const char* web_pad_button_name(int index) {
    return index >= 0 && index < standard_pad_button_count ? standard_pad_buttons[index] : nullptr;
}

// The settings the page applies itself: volumes, mute, pause in the background.
WEB_EXPORT("web_option_volume") int web_option_volume(int which) {
    const MenuValues& v = page_values();
    return which == 0 ? v.volume : which == 1 ? v.music_volume : v.effects_volume;
}
WEB_EXPORT("web_option_mute") int web_option_mute() { return page_values().mute ? 1 : 0; }
WEB_EXPORT("web_option_pause") int web_option_pause() { return page_values().pause_in_background ? 1 : 0; }
WEB_EXPORT("web_option_vibration") int web_option_vibration() { return page_values().vibration ? 1 : 0; }

// Opens the menu over the game: 1, or 0 when it cannot be shown (no font).
// `touch`: its hints speak of taps; `vibration`: the browser can buzz, and
// the menu has the row that turns it off.
WEB_EXPORT("web_menu_open") int web_menu_open(int touch, int vibration) {
    if (!web_overlay_font()) return 0;
    web_records_show(&page_values().records, &page_values().best_round_kept);
    if (!menu) {
        MenuFeatures features = page_features();
        features.touch = touch != 0;
        features.vibration = vibration != 0;
        menu = open_options_menu(page_values(), features, game_language() == language_english);
    }
    return 1;
}

WEB_EXPORT("web_menu_close") void web_menu_close() {
    if (!menu) return;
    values = menu_values(menu);
    close_options_menu(menu);
    menu = nullptr;
}

// MenuInput; returns MenuRequest.
WEB_EXPORT("web_menu_input") int web_menu_input(int input) {
    if (!menu || input < menu_up || input > menu_back) return request_none;
    const MenuRequest request = menu_input(menu, MenuInput(input));
    values = menu_values(menu);
    return request;
}

WEB_EXPORT("web_menu_capturing") int web_menu_capturing() { return menu && menu_capturing(menu) ? 1 : 0; }

// A key (its KeyboardEvent.code) or pad button (its name) in the text buffer
// went down, or is held and repeats; `game_key`: a game key has it. Does what
// the menu's rules say while the menu is open, and returns the MenuAction
// times 4 plus the MenuRequest, for the page to open or close the menu, or
// let the game have the press.
WEB_EXPORT("web_menu_press") int web_menu_press(int is_pad_button, int game_key, int repeat) {
    const MenuPress press =
        menu_press_of(is_pad_button ? device_pad : device_page_keys, text_buffer.c_str(), game_key != 0);
    const MenuStep step = menu_step(menu != nullptr, menu && menu_capturing(menu), press, repeat != 0);
    MenuRequest request = request_none;
    if (step.action == action_input) request = menu_input(menu, step.input);
    else if (step.action == action_capture) menu_key_pressed(menu, text_buffer.c_str(), is_pad_button != 0);
    if (menu) values = menu_values(menu);
    return int(step.action) * 4 + int(request);
}


// A touch or click at the picture's (x, y), in game pixels; returns MenuRequest.
WEB_EXPORT("web_menu_pointer") int web_menu_pointer(int x, int y) {
    if (!menu) return request_none;
    const MenuRequest request = menu_pointer(menu, x, y);
    values = menu_values(menu);
    return request;
}

// A tap on row `row` of the page's own menu (-1, +1: its - and +; 0: the
// row itself); returns MenuRequest.
WEB_EXPORT("web_menu_tap") int web_menu_tap(int row, int direction) {
    if (!menu) return request_none;
    const MenuRequest request = menu_tap(menu, row, direction < 0 ? -1 : direction > 0 ? +1 : 0);
    values = menu_values(menu);
    return request;
}

// What the menu shows, for the page to lay out itself on a touch screen:
// "title\tfoot\tcursor\n", then "label\tvalue\tsteps\n" a row, steps 1 where
// - and + change the value.
WEB_EXPORT("web_menu_sheet") const char* web_menu_sheet() {
    sheet_text.clear();
    if (!menu || !web_overlay_font()) return sheet_text.c_str();
    const MenuSheet sheet = menu_sheet(*web_overlay_font(), menu);
    sheet_text = sheet.title + '\t' + sheet.foot + '\t' + std::to_string(sheet.cursor) + '\n';
    for (const MenuSheetRow& row : sheet.rows) sheet_text += row.label + '\t' + row.value + '\t' + (row.steps ? "1\n" : "0\n");
    return sheet_text.c_str();
}

// The line in the text buffer at the menu's foot (the options cannot be kept).
WEB_EXPORT("web_menu_report") void web_menu_report() {
    if (menu) menu_report(menu, text_buffer.c_str());
}

// The changes since the last call as "section\tkey\tvalue\n" lines.
WEB_EXPORT("web_menu_changes") const char* web_menu_changes() {
    changes_text.clear();
    if (menu)
        for (const MenuChange& change : take_menu_changes(menu))
            changes_text += change.section + '\t' + change.key + '\t' + change.value + '\n';
    return changes_text.c_str();
}

// The menu drawn: 320 x 240 pixels, 0xAARRGGBB, rows top to bottom.
WEB_EXPORT("web_menu_picture") const OverlayColour* web_menu_picture() {
    clear_overlay(&menu_picture, 320, 240);
    if (menu && web_overlay_font()) draw_options_menu(&menu_picture, *web_overlay_font(), menu);
    return menu_picture.pixels.data();
}
