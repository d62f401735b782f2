// Every setting the hosts keep, once: its key in the settings file, the kind
// of value it takes and the range, what the file's comment says of it, its
// command-line option with the help line, whether the options menu shows it
// and whether only the page has it. The desktop binds each to its field (sdl_settings_table), the
// menu names its changes by it, and the page's kept options are read by it.
#pragma once

#include <string>

enum SettingName {
    setting_fullscreen,
    setting_scale,
    setting_pause_in_background,
    setting_sound,
    setting_volume,
    setting_music_volume,
    setting_effects_volume,
    setting_mute,
    setting_captions,
    setting_soundfont,
    setting_music_gain,
    setting_reverb,
    setting_chorus,
    setting_screenshot_scale,
    setting_vsync,
    setting_lang,
    setting_record,
    setting_data,
    setting_vibration,
    setting_name_count
};

enum SettingKind { kind_whole, kind_decimal, kind_yes_no, kind_choice, kind_path };

struct SettingRow {
    const char* key;  // in the file's main section
    SettingKind kind;
    double low, high;          // a number's range
    const char* values;        // what it takes, in words
    const char* about;         // what it does
    const char* option;        // its command-line option ("music-volume"), or null
    const char* option_value;  // the option's value ("N"), or null
    const char* option_help;
    bool in_menu;    // the options menu shows and changes it
    bool page_only;  // the browser's alone: the desktop neither reads nor writes it
};

extern const SettingRow setting_rows[setting_name_count];

// The sections of the game keys' keyboard keys and pad buttons.
extern const char keys_section[];
extern const char pad_section[];

// A switch on the command line: an option that gives a setting one value.
struct SettingSwitch {
    const char* option;
    SettingName setting;
    const char* value;
    const char* help;
};
constexpr int setting_switch_count = 5;
extern const SettingSwitch setting_switches[setting_switch_count];

// The setting of this key in the main section; setting_name_count for none.
SettingName setting_named(const std::string& key);

// A whole number of the setting's range, as the file and the menu write it;
// false, and *value untouched, for anything else.
bool read_whole_setting(SettingName name, const std::string& text, int* value);
