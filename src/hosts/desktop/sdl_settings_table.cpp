// Every setting of the real game: its key, the values it takes, what it
// does, and how it reads and writes its field of host_options. The game's
// keys and their defaults come from the table every host shares.
#include <cstdlib>
#include <vector>

#include "hosts/desktop/sdl_options.h"
#include "hosts/desktop/sdl_platform.h"
#include "hosts/desktop/sdl_setting_values.h"
#include "hosts/desktop/sdl_settings.h"
#include "hosts/shared/settings_table.h"

namespace {

HostOptions default_options() {
    HostOptions options;
    for (int key = 0; key < game_key_count; ++key) {
        for (const char* name : game_keys[key].desktop_keys)
            if (name) options.keys[key].push_back(SDL_GetKeyFromName(name));
        options.pad_buttons[key].push_back(SDL_GameControllerGetButtonFromString(game_keys[key].pad_button));
    }
    return options;
}

}  // namespace

HostOptions host_options = default_options();

namespace {

// A setting that takes any text, a file's or a folder's name.
Setting text_setting(const SettingRow& row, std::string* field) {
    return {"", row.key, row.values, row.about, [field] { return *field; },
            [field](const std::string& v) {
                *field = v;
                return true;
            }};
}

Setting yes_no_setting(const SettingRow& row, bool* field) {
    return {"", row.key, row.values, row.about, [field] { return yes_no(*field); },
            [field](const std::string& v) { return parse_yes_no(v, field); }};
}

Setting whole_setting(const SettingRow& row, int* field) {
    const long low = long(row.low), high = long(row.high);
    return {"", row.key, row.values, row.about, [field] { return std::to_string(*field); },
            [field, low, high](const std::string& v) { return parse_whole(v, low, high, field); }};
}

// Each of the shared table's settings bound to its field.
Setting bound_setting(SettingName name) {
    HostOptions& o = host_options;
    SdlMusicSettings& music = sdl_music_settings;
    const SettingRow& row = setting_rows[name];
    switch (name) {
    case setting_fullscreen: return yes_no_setting(row, &o.fullscreen);
    case setting_scale: return whole_setting(row, &o.scale);
    case setting_pause_in_background: return yes_no_setting(row, &o.pause_in_background);
    case setting_sound: return yes_no_setting(row, &o.sound);
    case setting_volume: return whole_setting(row, &o.volume);
    case setting_music_volume: return whole_setting(row, &o.music_volume);
    case setting_effects_volume: return whole_setting(row, &o.effects_volume);
    case setting_mute: return yes_no_setting(row, &o.mute);
    case setting_captions:
        return {"", row.key, row.values, row.about, [&o] { return std::string(caption_mode_name(o.captions)); },
                [&o](const std::string& v) { return parse_caption_mode(v.c_str(), &o.captions); }};
    case setting_soundfont: return text_setting(row, &music.soundfont);
    case setting_music_gain: {
        const float low = float(row.low), high = float(row.high);
        return {"", row.key, row.values, row.about, [&music] { return decimal_text(music.gain); },
                [&music, low, high](const std::string& v) { return parse_decimal_number(v, low, high, &music.gain); }};
    }
    case setting_reverb: return yes_no_setting(row, &music.reverb);
    case setting_chorus: return yes_no_setting(row, &music.chorus);
    case setting_screenshot_scale: return whole_setting(row, &o.screenshot_scale);
    case setting_vsync: return yes_no_setting(row, &o.vsync);
    case setting_lang:
        return {"", row.key, row.values, row.about, [&o] { return o.lang; },
                [&o](const std::string& v) {
                    if (!v.empty() && v != "ja" && v != "en") return false;
                    o.lang = v;
                    return true;
                }};
    case setting_record: return text_setting(row, &o.record_path);
    case setting_data: return text_setting(row, &o.data_dir);
    case setting_vibration:  // the page's alone, left out below
    case setting_name_count: break;
    }
    std::abort();  // every name has its case above
}

constexpr const char key_values[] =
    "SDL's key names (a punctuation mark by its word: Comma, Semicolon, ...), separated by commas; not Escape, F1, "
    "F11, F12 or M";
constexpr const char button_values[] =
    "SDL's pad button names (a, b, x, y, back, leftshoulder, rightshoulder, dpup, ...), separated by commas; "
    "not start";

std::vector<Setting> make_settings() {
    HostOptions& o = host_options;
    std::vector<Setting> table;
    for (int name = 0; name < setting_name_count; ++name)
        if (!setting_rows[name].page_only) table.push_back(bound_setting(SettingName(name)));
    for (int key = 0; key < game_key_count; ++key) {
        std::vector<SDL_Keycode>* keys = &o.keys[key];
        table.push_back({keys_section, game_keys[key].setting, key_values, game_keys[key].role,
                         [keys] { return key_list(*keys); },
                         [keys](const std::string& v) { return parse_key_list(v, keys); }});
    }
    for (int key = 0; key < game_key_count; ++key) {
        std::vector<SDL_GameControllerButton>* buttons = &o.pad_buttons[key];
        table.push_back({pad_section, game_keys[key].setting, button_values, game_keys[key].role,
                         [buttons] { return button_list(*buttons); },
                         [buttons](const std::string& v) { return parse_button_list(v, buttons); }});
    }
    return table;
}

const std::vector<Setting> setting_table = make_settings();

}  // namespace

const Setting* find_setting(const std::string& section, const std::string& key) {
    for (const Setting& setting : setting_table)
        if (section == setting.section && key == setting.key) return &setting;
    return nullptr;
}

const Setting* settings_begin() { return setting_table.data(); }
const Setting* settings_end() { return setting_table.data() + setting_table.size(); }
