// Every setting of the real game: its key, the values it takes, what it
// does, and how it reads and writes its field of host_options. The game's
// keys and their defaults come from the table every host shares.
#include <vector>

#include "hosts/desktop/sdl_options.h"
#include "hosts/desktop/sdl_platform.h"
#include "hosts/desktop/sdl_setting_values.h"
#include "hosts/desktop/sdl_settings.h"

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
Setting text_setting(const char* key, const char* values, const char* about, std::string* field) {
    return {"", key, values, about, [field] { return *field; },
            [field](const std::string& v) {
                *field = v;
                return true;
            }};
}

Setting yes_no_setting(const char* key, const char* about, bool* field) {
    return {"", key, "yes or no", about, [field] { return yes_no(*field); },
            [field](const std::string& v) { return parse_yes_no(v, field); }};
}

Setting whole_setting(const char* key, const char* values, long low, long high, const char* about, int* field) {
    return {"", key, values, about, [field] { return std::to_string(*field); },
            [field, low, high](const std::string& v) { return parse_whole(v, low, high, field); }};
}

constexpr const char key_values[] =
    "SDL's key names (a punctuation mark by its word: Comma, Semicolon, ...), separated by commas; not Escape, F1, "
    "F11, F12 or M";
constexpr const char button_values[] =
    "SDL's pad button names (a, b, x, y, back, leftshoulder, rightshoulder, dpup, ...), separated by commas; "
    "not start";

std::vector<Setting> make_settings() {
    HostOptions& o = host_options;
    SdlMusicSettings& music = sdl_music_settings;
    std::vector<Setting> table = {
        yes_no_setting("fullscreen", "full screen, or a window", &o.fullscreen),
        whole_setting("scale", "0 to 16", 0, 16, "the window's size, in times 320 x 240; 0: the largest that fits",
                      &o.scale),
        yes_no_setting("pause-in-background", "whether the game stands still while its window is in the background",
                       &o.pause_in_background),
        yes_no_setting("sound", "no: play without opening any sound device", &o.sound),
        whole_setting("volume", "0 to 100", 0, 100, "the volume of everything, in percent", &o.volume),
        whole_setting("music-volume", "0 to 100", 0, 100, "the music's volume, in percent of the volume",
                      &o.music_volume),
        whole_setting("effects-volume", "0 to 100", 0, 100,
                      "the sound effects' and voices' volume, in percent of the volume", &o.effects_volume),
        yes_no_setting("mute", "start with all sound off (M switches it while playing)", &o.mute),
        {"", "captions", "auto, on or off", "the voices' words on the screen; auto: in the English edition",
         [&o] { return std::string(caption_mode_name(o.captions)); },
         [&o](const std::string& v) { return parse_caption_mode(v.c_str(), &o.captions); }},
        text_setting("soundfont", "a file", "the General MIDI soundfont for the music; empty: the first one installed",
                     &music.soundfont),
        {"", "music-gain", "0 to 10", "the synthesiser's gain: how loud the music is against the effects",
         [&music] { return decimal_text(music.gain); },
         [&music](const std::string& v) { return parse_decimal_number(v, 0.0f, 10.0f, &music.gain); }},
        yes_no_setting("reverb", "the synthesiser's reverb", &music.reverb),
        yes_no_setting("chorus", "the synthesiser's chorus", &music.chorus),
        whole_setting("screenshot-scale", "1 to 16", 1, 16, "F12's screenshots, in times 320 x 240",
                      &o.screenshot_scale),
        yes_no_setting("vsync", "lock the frames to a display refreshing at about 60 or 120 Hz (2 % faster)", &o.vsync),
        {"", "lang", "ja, en, or empty", "the language of the pictures and texts; empty: the locale's",
         [&o] { return o.lang; },
         [&o](const std::string& v) {
             if (!v.empty() && v != "ja" && v != "en") return false;
             o.lang = v;
             return true;
         }},
        text_setting("record", "a file", "write every frame's input there, for kuzari-replay; empty: no recording",
                     &o.record_path),
        text_setting("data", "a folder",
                     "where the game's pictures, sounds and music are; empty: KUZARI_DATA's, else the installed ones",
                     &o.data_dir),
    };
    for (int key = 0; key < game_key_count; ++key) {
        std::vector<SDL_Keycode>* keys = &o.keys[key];
        table.push_back({"keys", game_keys[key].setting, key_values, game_keys[key].role,
                         [keys] { return key_list(*keys); },
                         [keys](const std::string& v) { return parse_key_list(v, keys); }});
    }
    for (int key = 0; key < game_key_count; ++key) {
        std::vector<SDL_GameControllerButton>* buttons = &o.pad_buttons[key];
        table.push_back({"pad", game_keys[key].setting, button_values, game_keys[key].role,
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
