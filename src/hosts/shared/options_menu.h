// The options menu every host shows over the game (F1 or Tab, a pad's Start,
// a touch button): the same items, navigation and pixel-font look on the
// desktop and in the browser. The menu only holds values and says what
// changed; each host applies a change (a volume at once, the language at the
// next start) and keeps it (the desktop's settings file, the browser's
// localStorage).
#pragma once

#include <string>
#include <vector>

#include "hosts/shared/captions.h"
#include "hosts/shared/game_keys.h"
#include "hosts/shared/overlay_image.h"
#include "hosts/shared/pixel_font.h"
#include "hosts/shared/records.h"

enum MenuInput { menu_up, menu_down, menu_left, menu_right, menu_confirm, menu_back };

// What a host offers: the desktop has windows and scales, the browser not.
struct MenuFeatures {
    bool window_options = false;  // window or full screen, and the window's scale
    bool pad_buttons = false;     // the pad's buttons are remappable
    // What "Restore defaults" puts back, by the host's names (game_keys'
    // desktop_keys or page_codes, the host's pad buttons).
    std::vector<std::string> default_keys[game_key_count];
    std::vector<std::string> default_buttons[game_key_count];
    // Keys the host keeps for itself (the menu's own, full screen, ...): refused.
    std::vector<std::string> reserved_keys;
    bool records = false;  // the player's records are kept: a Records page
    bool vibration = false;  // the host can buzz the player's phone: a row to turn it off
    bool touch = false;      // played by fingers: the hints speak of taps
};

// The values the menu shows and changes. Keys and buttons are shown by the
// host's own names (SDL's key names, KeyboardEvent codes, pad button names).
struct MenuValues {
    int volume = 100, music_volume = 100, effects_volume = 100;  // percent, steps of 10
    bool mute = false;
    CaptionMode captions = captions_auto;
    bool english = false;  // the language of the next start
    bool fullscreen = true;
    int scale = 0;  // 0: the largest that fits
    bool pause_in_background = true;
    bool vibration = true;
    std::vector<std::string> keys[game_key_count];     // each game key's keys
    std::vector<std::string> buttons[game_key_count];  // each game key's pad buttons (may be empty)
    EditionRecords records;         // the running edition's
    bool best_round_kept = false;   // its recording is there to watch
};

// A change for the host to apply and keep: the setting's section and key as
// the desktop's settings file names them ("" for the main section), and its new
// value as text there.
struct MenuChange {
    std::string section, key, value;
};

enum MenuRequest { request_none, request_resume, request_quit, request_watch_best_round };

struct OptionsMenu;  // its state: which page and item, a capture under way, a question asked

OptionsMenu* open_options_menu(const MenuValues& values, const MenuFeatures& features, bool english);
void close_options_menu(OptionsMenu* menu);
// One input; returns what the host must do (resume the game, quit it).
MenuRequest menu_input(OptionsMenu* menu, MenuInput input);
// While the menu waits for a new key or button for a game key, the host hands
// it the next one pressed (its name); one the host keeps is refused and the
// menu waits on. A key taken becomes the game key's only one; taken from
// another game key, the foot names that one and Back gives it back. A pad
// button pressed while a key is wanted, or the other way round, is passed
// over. Which presses cancel instead is the rules' (menu_controls.h).
bool menu_capturing(const OptionsMenu* menu);
void menu_key_pressed(OptionsMenu* menu, const char* name, bool is_pad_button);
// A touch or click at the picture's (x, y) in game pixels.
MenuRequest menu_pointer(OptionsMenu* menu, int x, int y);
// A tap on the page's row `row` (menu_sheet's), on the row itself
// (direction 0: as Confirm there) or on its - or + (-1, +1: as Left, Right).
MenuRequest menu_tap(OptionsMenu* menu, int row, int direction);
// The changes since the last call, oldest first.
std::vector<MenuChange> take_menu_changes(OptionsMenu* menu);
const MenuValues& menu_values(const OptionsMenu* menu);
// A line the host wants shown at the menu's foot (a file that cannot be written).
void menu_report(OptionsMenu* menu, const char* text);
// Where the menu stands in the 320 x 240 picture: a row's label has the left
// column, its value the right one, right-aligned; titles and the foot the
// panel's width inside its margins.
constexpr int menu_panel_x = 24, menu_panel_y = 32, menu_panel_width = 272, menu_panel_height = 176;
constexpr int menu_margin = 8;
constexpr int menu_line_width = menu_panel_width - 2 * menu_margin;
constexpr int menu_label_width = 128;
constexpr int menu_value_width = menu_line_width - menu_label_width - menu_margin;
constexpr int menu_rows_y = menu_panel_y + 24;  // the first row's top; each is pixel_font_line_height high

// What the menu shows, in words, for a host that lays it out itself (a
// touch screen's rows a finger's height): the page's title, its rows with
// the cursor's, and the foot line.
struct MenuSheetRow {
    std::string label, value;
    bool steps = false;  // Left and Right change the value
};
struct MenuSheet {
    std::string title, foot;
    std::vector<MenuSheetRow> rows;
    int cursor = 0;
};
MenuSheet menu_sheet(const PixelFont& font, const OptionsMenu* menu);

// Draws the menu into a 320 x 240 image on a translucent panel.
void draw_options_menu(OverlayImage* image, const PixelFont& font, const OptionsMenu* menu);
// The line at the menu's foot as drawn: a hint, a message, a question.
std::string menu_foot_line(const PixelFont& font, const OptionsMenu* menu);
