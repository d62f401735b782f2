#include "hosts/shared/options_menu.h"

#include <algorithm>
#include <iterator>

#include "hosts/shared/menu_texts.h"
#include "hosts/shared/settings_table.h"

namespace {

enum MenuPage { page_main, page_controls, page_question, page_pad, page_records };

enum RowKind {
    row_resume,
    row_volume,
    row_music,
    row_effects,
    row_mute,
    row_captions,
    row_language,
    row_screen,
    row_scale,
    row_pause_in_background,
    row_controls,
    row_quit,
    row_keys,     // a game key's keys
    row_buttons,  // a game key's pad buttons
    row_restore_defaults,
    row_back,
    row_quit_no,
    row_quit_yes,
    row_pad,  // to the pad's buttons
    row_records,
    row_record_rounds,
    row_record_perfect,
    row_record_rank,
    row_record_food,
    row_watch_best_round,
    row_records_back,
    row_vibration,
    row_kind_count
};

struct MenuRow {
    RowKind kind;
    GameKey key = key_up;  // for row_keys and row_buttons
};

}  // namespace

struct OptionsMenu {
    MenuValues values;
    MenuFeatures features;
    bool english = false;  // the running edition, whose words the menu shows
    MenuPage page = page_main;
    int cursor = 0;
    bool capturing = false;
    MenuRow capture;  // the row whose key or button is being set
    std::string foot;  // a message or report, until the next input
    // A key or button just taken from another game key, which Back gives back.
    struct TakenOver {
        bool pending = false;
        RowKind kind = row_keys;
        int from = 0, to = 0;
        std::vector<std::string> from_before, to_before;
    } taken;
    // Restore defaults asked to be confirmed: what it would drop.
    bool restore_asked = false;
    std::vector<std::string> dropped;
    std::vector<MenuChange> changes;
};

namespace {

std::vector<MenuRow> page_rows(const OptionsMenu& menu) {
    std::vector<MenuRow> rows;
    switch (menu.page) {
    case page_main:
        for (RowKind kind : {row_resume, row_volume, row_music, row_effects, row_mute, row_captions, row_language})
            rows.push_back({kind});
        if (menu.features.window_options) {
            rows.push_back({row_screen});
            rows.push_back({row_scale});
        }
        rows.push_back({row_pause_in_background});
        if (menu.features.vibration) rows.push_back({row_vibration});
        rows.push_back({row_controls});
        if (menu.features.records) rows.push_back({row_records});
        rows.push_back({row_quit});
        break;
    case page_controls:
    case page_pad:
        // Every key the game reads has its row, or what it holds could never be freed.
        for (int key = 0; key < game_key_count; ++key)
            rows.push_back({menu.page == page_pad ? row_buttons : row_keys, GameKey(key)});
        if (menu.page == page_controls && menu.features.pad_buttons) rows.push_back({row_pad});
        rows.push_back({row_restore_defaults});
        rows.push_back({row_back});
        break;
    case page_question:
        rows.push_back({row_quit_no});
        rows.push_back({row_quit_yes});
        break;
    case page_records:
        for (RowKind kind : {row_record_rounds, row_record_perfect, row_record_rank, row_record_food})
            rows.push_back({kind});
        if (menu.values.best_round_kept) rows.push_back({row_watch_best_round});
        rows.push_back({row_records_back});
        break;
    }
    return rows;
}

int row_index(const OptionsMenu& menu, RowKind kind) {
    const std::vector<MenuRow> rows = page_rows(menu);
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i].kind == kind) return int(i);
    return 0;
}

void go_to(OptionsMenu* menu, MenuPage page, RowKind row) {
    menu->page = page;
    menu->cursor = row_index(*menu, row);
}

const char* yes_no(bool value) { return value ? "yes" : "no"; }

void note(OptionsMenu* menu, SettingName name, const std::string& value) {
    menu->changes.push_back({"", setting_rows[name].key, value});
}

std::string joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
    return text;
}

std::string fill_in(const char* text, const std::string& value) {
    std::string filled = text;
    const size_t at = filled.find("%s");
    if (at != std::string::npos) filled.replace(at, 2, value);
    return filled;
}

// A volume one step of 10 along, back onto the steps if it was off them.
void step_percent(OptionsMenu* menu, int* percent, int direction, SettingName name) {
    const int stepped = direction > 0 ? (*percent / 10 + 1) * 10 : (*percent + 9) / 10 * 10 - 10;
    const int clamped = std::clamp(stepped, int(setting_rows[name].low), int(setting_rows[name].high));
    if (clamped == *percent) return;
    *percent = clamped;
    note(menu, name, std::to_string(clamped));
}

void set_captions(OptionsMenu* menu, int direction) {
    constexpr int modes = 3;
    menu->values.captions = CaptionMode((int(menu->values.captions) + direction + modes) % modes);
    note(menu, setting_captions, caption_mode_name(menu->values.captions));
}

void set_english(OptionsMenu* menu, bool english) {
    menu->values.english = english;
    note(menu, setting_lang, english ? "en" : "ja");
}

// A yes/no row turned over: the value, and the line kept for it.
void flip(OptionsMenu* menu, bool MenuValues::*value, SettingName setting) {
    menu->values.*value = !(menu->values.*value);
    note(menu, setting, yes_no(menu->values.*value));
}

void step_scale(OptionsMenu* menu, int direction) {
    const SettingRow& row = setting_rows[setting_scale];
    const int scale = std::clamp(menu->values.scale + direction, int(row.low), int(row.high));
    if (scale == menu->values.scale) return;
    menu->values.scale = scale;
    note(menu, setting_scale, std::to_string(scale));
}

// Left or right on a row with a value; false where the row has none.
bool change_value(OptionsMenu* menu, const MenuRow& row, int direction) {
    MenuValues& v = menu->values;
    switch (row.kind) {
    case row_volume: step_percent(menu, &v.volume, direction, setting_volume); return true;
    case row_music: step_percent(menu, &v.music_volume, direction, setting_music_volume); return true;
    case row_effects: step_percent(menu, &v.effects_volume, direction, setting_effects_volume); return true;
    case row_mute: flip(menu, &MenuValues::mute, setting_mute); return true;
    case row_captions: set_captions(menu, direction); return true;
    case row_language: set_english(menu, !v.english); return true;
    case row_screen: flip(menu, &MenuValues::fullscreen, setting_fullscreen); return true;
    case row_scale: step_scale(menu, direction); return true;
    case row_pause_in_background:
        flip(menu, &MenuValues::pause_in_background, setting_pause_in_background);
        return true;
    case row_vibration: flip(menu, &MenuValues::vibration, setting_vibration); return true;
    default: return false;
    }
}

std::vector<std::string>* bound_list(OptionsMenu* menu, RowKind kind, int key) {
    return kind == row_buttons ? &menu->values.buttons[key] : &menu->values.keys[key];
}

void note_binding(OptionsMenu* menu, RowKind kind, int key) {
    menu->changes.push_back(
        {kind == row_buttons ? pad_section : keys_section, game_keys[key].setting, joined(*bound_list(menu, kind, key))});
}

const std::vector<std::string>& defaults_of(const OptionsMenu* menu, RowKind kind, int key) {
    return kind == row_buttons ? menu->features.default_buttons[key] : menu->features.default_keys[key];
}

bool holds(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// What the menu remembers from the input before: whether Back would undo a
// take-over and whether Restore defaults was asked to be confirmed.
struct Remembered {
    OptionsMenu::TakenOver taken;
    bool restore_asked;
};

Remembered forget(OptionsMenu* menu) {
    Remembered was{menu->taken, menu->restore_asked};
    menu->taken.pending = false;
    menu->restore_asked = false;
    menu->foot.clear();
    return was;
}

bool a_default(const OptionsMenu* menu, RowKind kind, const std::string& name) {
    for (int key = 0; key < game_key_count; ++key)
        if (holds(defaults_of(menu, kind, key), name)) return true;
    return false;
}

// Keys and buttons the defaults have no place for (the player's extra ones)
// are named first and go only when the player confirms.
void restore_defaults(OptionsMenu* menu, bool confirmed) {
    std::vector<std::string> dropped;
    for (int key = 0; key < game_key_count; ++key)
        for (RowKind kind : {row_keys, row_buttons}) {
            if (kind == row_buttons && !menu->features.pad_buttons) continue;
            for (const std::string& name : *bound_list(menu, kind, key))
                if (!a_default(menu, kind, name) && !holds(dropped, name)) dropped.push_back(name);
        }
    if (!dropped.empty() && !confirmed) {
        menu->restore_asked = true;
        menu->dropped = dropped;
        return;
    }
    for (int key = 0; key < game_key_count; ++key)
        for (RowKind kind : {row_keys, row_buttons}) {
            if (kind == row_buttons && !menu->features.pad_buttons) continue;
            std::vector<std::string>* bound = bound_list(menu, kind, key);
            if (*bound == defaults_of(menu, kind, key)) continue;
            *bound = defaults_of(menu, kind, key);
            note_binding(menu, kind, key);
        }
    menu->foot = words(words_defaults_restored, menu->english);
}

void undo_take_over(OptionsMenu* menu, const OptionsMenu::TakenOver& taken) {
    *bound_list(menu, taken.kind, taken.from) = taken.from_before;
    note_binding(menu, taken.kind, taken.from);
    *bound_list(menu, taken.kind, taken.to) = taken.to_before;
    note_binding(menu, taken.kind, taken.to);
    menu->foot = words(words_undone, menu->english);
}

MenuRequest activate(OptionsMenu* menu, const MenuRow& row, const Remembered& was) {
    switch (row.kind) {
    case row_resume: return request_resume;
    case row_controls: go_to(menu, page_controls, row_keys); break;
    case row_pad: go_to(menu, page_pad, row_buttons); break;
    case row_quit: go_to(menu, page_question, row_quit_no); break;
    case row_keys:
    case row_buttons:
        menu->capturing = true;
        menu->capture = row;
        break;
    case row_restore_defaults: restore_defaults(menu, was.restore_asked); break;
    case row_back:
        if (menu->page == page_pad) go_to(menu, page_controls, row_pad);
        else go_to(menu, page_main, row_controls);
        break;
    case row_quit_no: go_to(menu, page_main, row_quit); break;
    case row_quit_yes: return request_quit;
    case row_records:
        go_to(menu, page_records, menu->values.best_round_kept ? row_watch_best_round : row_records_back);
        break;
    case row_watch_best_round: return request_watch_best_round;
    case row_records_back: go_to(menu, page_main, row_records); break;
    default: change_value(menu, row, +1); break;
    }
    return request_none;
}

MenuRequest go_back(OptionsMenu* menu) {
    switch (menu->page) {
    case page_main: return request_resume;
    case page_controls: go_to(menu, page_main, row_controls); break;
    case page_question: go_to(menu, page_main, row_quit); break;
    case page_pad: go_to(menu, page_controls, row_pad); break;
    case page_records: go_to(menu, page_main, row_records); break;
    }
    return request_none;
}

}  // namespace

OptionsMenu* open_options_menu(const MenuValues& values, const MenuFeatures& features, bool english) {
    OptionsMenu* menu = new OptionsMenu;
    menu->values = values;
    menu->features = features;
    menu->english = english;
    return menu;
}

void close_options_menu(OptionsMenu* menu) { delete menu; }

MenuRequest menu_input(OptionsMenu* menu, MenuInput input) {
    const Remembered was = forget(menu);
    if (menu->capturing) {
        if (input == menu_back) menu->capturing = false;
        return request_none;
    }
    if (input == menu_back && was.taken.pending) {
        undo_take_over(menu, was.taken);
        return request_none;
    }
    const std::vector<MenuRow> rows = page_rows(*menu);
    const int count = int(rows.size());
    switch (input) {
    case menu_up: menu->cursor = (menu->cursor + count - 1) % count; break;
    case menu_down: menu->cursor = (menu->cursor + 1) % count; break;
    case menu_left: change_value(menu, rows[size_t(menu->cursor)], -1); break;
    case menu_right: change_value(menu, rows[size_t(menu->cursor)], +1); break;
    case menu_confirm: return activate(menu, rows[size_t(menu->cursor)], was);
    case menu_back: return go_back(menu);
    }
    return request_none;
}

bool menu_capturing(const OptionsMenu* menu) { return menu->capturing; }

void menu_key_pressed(OptionsMenu* menu, const char* name, bool is_pad_button) {
    if (!menu->capturing || is_pad_button != (menu->capture.kind == row_buttons)) return;
    const RowKind kind = menu->capture.kind;
    const int target = menu->capture.key;
    if (!is_pad_button && holds(menu->features.reserved_keys, name)) {
        menu->foot = words(words_key_kept, menu->english);
        return;
    }
    menu->capturing = false;
    menu->foot.clear();
    // A key another game key has moves over; Back right after gives it back.
    OptionsMenu::TakenOver taken{false, kind, target, target, {}, *bound_list(menu, kind, target)};
    for (int key = 0; key < game_key_count; ++key) {
        std::vector<std::string>* bound = bound_list(menu, kind, key);
        if (key == target || !holds(*bound, name)) continue;
        taken = {true, kind, key, target, *bound, taken.to_before};
        bound->erase(std::find(bound->begin(), bound->end(), name));
        note_binding(menu, kind, key);
        const MenuWordsEntry& from = game_key_words[key];
        menu->foot = fill_in(words(words_key_moved, menu->english), menu->english ? from.english : from.japanese);
    }
    *bound_list(menu, kind, target) = {name};
    note_binding(menu, kind, target);
    menu->taken = taken;
}

MenuRequest menu_tap(OptionsMenu* menu, int row, int direction) {
    const Remembered was = forget(menu);
    if (menu->capturing) {  // any tap gives up waiting for a key
        menu->capturing = false;
        return request_none;
    }
    const std::vector<MenuRow> rows = page_rows(*menu);
    if (row < 0 || row >= int(rows.size())) return request_none;
    menu->cursor = row;
    if (direction != 0 && change_value(menu, rows[size_t(row)], direction)) return request_none;
    return activate(menu, rows[size_t(row)], was);
}

// A row's left half steps its value down, the right half up; a row without a value does what it says.
MenuRequest menu_pointer(OptionsMenu* menu, int x, int y) {
    const bool on_rows = x >= menu_panel_x && x < menu_panel_x + menu_panel_width && y >= menu_rows_y;
    const int row = on_rows ? (y - menu_rows_y) / pixel_font_line_height : -1;
    return menu_tap(menu, row, x < menu_panel_x + menu_panel_width / 2 ? -1 : +1);
}

std::vector<MenuChange> take_menu_changes(OptionsMenu* menu) {
    std::vector<MenuChange> changes;
    changes.swap(menu->changes);
    return changes;
}

const MenuValues& menu_values(const OptionsMenu* menu) { return menu->values; }

void menu_report(OptionsMenu* menu, const char* text) { menu->foot = text; }

namespace {

constexpr OverlayColour shade_colour = 0x60000000;
constexpr OverlayColour panel_colour = 0xD8101828;
constexpr OverlayColour cursor_colour = 0xFF34507C;
constexpr OverlayColour title_colour = 0xFFFFD860;
constexpr OverlayColour label_colour = 0xFFFFFFFF;
constexpr OverlayColour value_colour = 0xFFA8E0FF;
constexpr OverlayColour foot_colour = 0xFFC8C8C8;

std::string row_label(const OptionsMenu& menu, const MenuRow& row) {
    const bool english = menu.english;
    switch (row.kind) {
    case row_keys: return english ? game_key_words[row.key].english : game_key_words[row.key].japanese;
    case row_buttons: return english ? game_key_words[row.key].english : game_key_words[row.key].japanese;
    default: break;
    }
    // In the order of RowKind; a game key's rows are named above.
    constexpr MenuWords labels[] = {
        words_resume,   words_volume,   words_music,    words_effects,   words_mute,
        words_captions, words_language, words_screen,   words_scale,     words_pause_in_background,
        words_controls, words_quit,     words_none,     words_none,      words_restore_defaults,
        words_back,     words_quit_no,  words_quit_yes,  words_pad,      words_records,
        words_rounds_played, words_perfect_rounds, words_best_rank, words_most_food, words_watch_best_round, words_back,
        words_vibration,
    };
    static_assert(std::size(labels) == row_kind_count, "a label for each row");
    return words(labels[row.kind], english);
}

std::string on_off(bool value, bool english) { return words(value ? words_on : words_off, english); }

std::string percent(int value, bool english) { return fill_in(words(words_percent, english), std::to_string(value)); }

// The names that fit the value column, the rest cut off with an ellipsis.
std::string fitting_names(const PixelFont& font, const std::vector<std::string>& names, bool english) {
    if (names.empty()) return words(words_none, english);
    std::string text = joined(names);
    for (size_t shown = names.size(); shown > 1 && pixel_text_width(font, text.c_str()) > menu_value_width;)
        text = joined({names.begin(), names.begin() + long(--shown)}) + ", ...";
    return text;
}

std::string row_value(const PixelFont& font, const OptionsMenu& menu, const MenuRow& row) {
    const MenuValues& v = menu.values;
    const bool english = menu.english;
    switch (row.kind) {
    case row_volume: return percent(v.volume, english);
    case row_music: return percent(v.music_volume, english);
    case row_effects: return percent(v.effects_volume, english);
    case row_mute: return on_off(v.mute, english);
    case row_captions: {
        constexpr MenuWords modes[] = {words_auto, words_on, words_off};
        return words(modes[v.captions], english);
    }
    case row_language: return words(v.english ? words_english : words_japanese, english);
    case row_screen: return words(v.fullscreen ? words_full_screen : words_window, english);
    case row_scale:
        return v.scale == 0 ? words(words_auto, english)
                            : fill_in(words(words_scale_times, english), std::to_string(v.scale));
    case row_pause_in_background: return on_off(v.pause_in_background, english);
    case row_vibration: return on_off(v.vibration, english);
    case row_record_rounds: return std::to_string(v.records.rounds);
    case row_record_perfect: return std::to_string(v.records.perfect);
    case row_record_rank:
        return v.records.best_rank == no_rank ? words(words_none, english)
                                              : fill_in(words(words_rank_of, english), std::to_string(v.records.best_rank));
    case row_record_food:
        return v.records.best_rank == no_rank ? words(words_none, english) : std::to_string(v.records.most_food);
    case row_keys: return fitting_names(font, v.keys[row.key], english);
    case row_buttons: return fitting_names(font, v.buttons[row.key], english);
    default: return "";
    }
}

std::string foot_line(const PixelFont& font, const OptionsMenu& menu, const std::vector<MenuRow>& rows) {
    const bool english = menu.english;
    if (menu.restore_asked) {
        const char* text = words(words_defaults_drop, english);
        std::string line;
        for (size_t shown = menu.dropped.size(); shown > 0; --shown) {
            std::string names = joined({menu.dropped.begin(), menu.dropped.begin() + long(shown)});
            if (shown < menu.dropped.size()) names += ", ...";
            line = fill_in(text, names);
            if (pixel_text_width(font, line.c_str()) <= menu_line_width) break;
        }
        return line;
    }
    const bool touch = menu.features.touch;
    if (menu.capturing && menu.foot.empty()) {
        if (menu.capture.kind == row_buttons) return words(touch ? words_press_button_touch : words_press_button, english);
        return words(touch ? words_press_key_touch : words_press_key, english);
    }
    if (!menu.foot.empty()) return menu.foot;
    if (rows[size_t(menu.cursor)].kind == row_language) return words(words_language_note, english);
    constexpr MenuWords hints[] = {words_hint_main, words_hint_controls, words_hint_question, words_hint_pad,
                                   words_hint_question};
    constexpr MenuWords touch_hints[] = {words_hint_main_touch, words_hint_controls_touch, words_hint_question_touch,
                                         words_hint_pad_touch, words_hint_question_touch};
    return words((touch ? touch_hints : hints)[menu.page], english);
}

}  // namespace

MenuSheet menu_sheet(const PixelFont& font, const OptionsMenu* menu) {
    MenuSheet sheet;
    constexpr MenuWords titles[] = {words_title, words_controls_title, words_quit_title, words_pad_title,
                                    words_records_title};
    sheet.title = words(titles[menu->page], menu->english);
    OptionsMenu probe = *menu;  // which rows step, asked of a copy
    for (const MenuRow& row : page_rows(*menu))
        sheet.rows.push_back({row_label(*menu, row), row_value(font, *menu, row), change_value(&probe, row, +1)});
    sheet.cursor = menu->cursor;
    sheet.foot = menu_foot_line(font, menu);
    return sheet;
}

void draw_options_menu(OverlayImage* image, const PixelFont& font, const OptionsMenu* menu) {
    constexpr int picture_width = 320, picture_height = 240;
    clear_overlay(image, picture_width, picture_height);
    fill_overlay_box(image, 0, 0, picture_width, picture_height, shade_colour);
    fill_overlay_box(image, menu_panel_x, menu_panel_y, menu_panel_width, menu_panel_height, panel_colour);

    const MenuSheet sheet = menu_sheet(font, menu);
    draw_pixel_text(image, font, menu_panel_x + (menu_panel_width - pixel_text_width(font, sheet.title.c_str())) / 2,
                    menu_panel_y + menu_margin, sheet.title.c_str(), title_colour);

    const int left = menu_panel_x + menu_margin, right = menu_panel_x + menu_panel_width - menu_margin;
    for (size_t i = 0; i < sheet.rows.size(); ++i) {
        const int top = menu_rows_y + int(i) * pixel_font_line_height;
        if (int(i) == sheet.cursor)
            fill_overlay_box(image, menu_panel_x + 2, top, menu_panel_width - 4, pixel_font_line_height, cursor_colour);
        // The text sits a pixel down in its line, the room between lines split above and below.
        const int text_top = top + 1;
        const MenuSheetRow& row = sheet.rows[i];
        draw_pixel_text(image, font, left, text_top, row.label.c_str(), label_colour);
        draw_pixel_text(image, font, right - pixel_text_width(font, row.value.c_str()), text_top, row.value.c_str(),
                        value_colour);
    }

    draw_pixel_text(image, font, left, menu_panel_y + menu_panel_height - menu_margin - pixel_font_line_height + 1,
                    sheet.foot.c_str(), foot_colour);
}

std::string menu_foot_line(const PixelFont& font, const OptionsMenu* menu) {
    return foot_line(font, *menu, page_rows(*menu));
}
