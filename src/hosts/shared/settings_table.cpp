#include "hosts/shared/settings_table.h"

#include <cerrno>
#include <cstdlib>

const char keys_section[] = "keys";
const char pad_section[] = "pad";

// In the order of SettingName.
const SettingRow setting_rows[setting_name_count] = {
    {"fullscreen", kind_yes_no, 0, 0, "yes or no", "full screen, or a window", nullptr, nullptr, nullptr, true, false},
    {"scale", kind_whole, 0, 16, "0 to 16", "the window's size, in times 320 x 240; 0: the largest that fits",
     "scale", "N", "make the window N times 320 x 240 (1 to 16)", true, false},
    {"pause-in-background", kind_yes_no, 0, 0, "yes or no",
     "whether the game stands still while its window is in the background", nullptr, nullptr, nullptr, true, false},
    {"sound", kind_yes_no, 0, 0, "yes or no", "no: play without opening any sound device", nullptr, nullptr, nullptr,
     false, false},
    {"volume", kind_whole, 0, 100, "0 to 100", "the volume of everything, in percent", "volume", "N",
     "the volume of everything, 0 to 100", true, false},
    {"music-volume", kind_whole, 0, 100, "0 to 100", "the music's volume, in percent of the volume", "music-volume",
     "N", "the music's volume, 0 to 100", true, false},
    {"effects-volume", kind_whole, 0, 100, "0 to 100", "the sound effects' and voices' volume, in percent of the volume",
     "effects-volume", "N", "the effects' and voices' volume, 0 to 100", true, false},
    {"mute", kind_yes_no, 0, 0, "yes or no", "start with all sound off (M switches it while playing)", nullptr, nullptr,
     nullptr, true, false},
    {"captions", kind_choice, 0, 0, "auto, on or off", "the voices' words on the screen; auto: in the English edition",
     "captions", "MODE", "the voices' words on the screen: auto, on or off", true, false},
    {"soundfont", kind_path, 0, 0, "a file", "the General MIDI soundfont for the music; empty: the first one installed",
     "soundfont", "FILE", "the General MIDI soundfont for the music", false, false},
    {"music-gain", kind_decimal, 0, 10, "0 to 10", "the synthesiser's gain: how loud the music is against the effects",
     nullptr, nullptr, nullptr, false, false},
    {"reverb", kind_yes_no, 0, 0, "yes or no", "the synthesiser's reverb", nullptr, nullptr, nullptr, false, false},
    {"chorus", kind_yes_no, 0, 0, "yes or no", "the synthesiser's chorus", nullptr, nullptr, nullptr, false, false},
    {"screenshot-scale", kind_whole, 1, 16, "1 to 16", "F12's screenshots, in times 320 x 240", "screenshot-scale",
     "N", "F12's screenshots N times 320 x 240", false, false},
    {"vsync", kind_yes_no, 0, 0, "yes or no",
     "lock the frames to a display refreshing at about 60 or 120 Hz (2 % faster)", nullptr, nullptr, nullptr, false,
     false},
    {"lang", kind_choice, 0, 0, "ja, en, or empty", "the language of the pictures and texts; empty: the locale's",
     "lang", "ja|en", "the language of the pictures and texts", true, false},
    {"record", kind_path, 0, 0, "a file", "write every frame's input there, for kuzari-replay; empty: no recording",
     "record", "FILE", "record every frame's input, for kuzari-replay", false, false},
    {"data", kind_path, 0, 0, "a folder",
     "where the game's pictures, sounds and music are; empty: KUZARI_DATA's, else the installed ones", "data", "DIR",
     "the folder of the game's pictures, sounds and music", false, false},
    {"vibration", kind_yes_no, 0, 0, "yes or no", "a short buzz as a bowl is emptied and as a round ends",
     nullptr, nullptr, nullptr, true, true},
};

const SettingSwitch setting_switches[setting_switch_count] = {
    {"fullscreen", setting_fullscreen, "yes", "play in full screen (the default)"},
    {"window", setting_fullscreen, "no", "play in a window"},
    {"vsync", setting_vsync, "yes", "lock the frames to the display's refresh"},
    {"no-pause", setting_pause_in_background, "no", "keep playing in the background"},
    {"nosound", setting_sound, "no", "play without opening any sound device"},
};

SettingName setting_named(const std::string& key) {
    for (int name = 0; name < setting_name_count; ++name)
        if (key == setting_rows[name].key) return SettingName(name);
    return setting_name_count;
}

bool read_whole_setting(SettingName name, const std::string& text, int* value) {
    const SettingRow& row = setting_rows[name];
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    errno = 0;
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (errno || *end || double(v) < row.low || double(v) > row.high) return false;
    *value = int(v);
    return true;
}
