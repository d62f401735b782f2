#include "hosts/desktop/sdl_options.h"

#include <getopt.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "hosts/desktop/sdl_platform.h"
#include "hosts/desktop/sdl_settings.h"

namespace {

HostOptions default_options() {
    HostOptions options;
    options.keys[key_up] = {SDLK_UP};
    options.keys[key_down] = {SDLK_DOWN};
    options.keys[key_left] = {SDLK_LEFT};
    options.keys[key_right] = {SDLK_RIGHT};
    options.keys[key_throw] = {SDLK_RETURN, SDLK_KP_ENTER};
    options.keys[key_refill] = {SDLK_LSHIFT, SDLK_RSHIFT};
    options.keys[key_button3] = {SDLK_LCTRL, SDLK_RCTRL};
    options.keys[key_button4] = {SDLK_SPACE};
    return options;
}

}  // namespace

HostOptions host_options = default_options();

namespace {

constexpr int exit_usage = 2;

bool parse_whole(const std::string& text, long low, long high, int* value) {
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (errno || *end || v < low || v > high) return false;
    *value = int(v);
    return true;
}

bool parse_yes_no(const std::string& text, bool* value) {
    if (text == "yes" || text == "true" || text == "on" || text == "1") *value = true;
    else if (text == "no" || text == "false" || text == "off" || text == "0") *value = false;
    else return false;
    return true;
}

std::string yes_no(bool value) { return value ? "yes" : "no"; }

bool parse_decimal_number(const std::string& text, float low, float high, float* value) {
    if (text.empty()) return false;
    char* end = nullptr;
    const float v = std::strtof(text.c_str(), &end);
    if (*end || !(v >= low && v <= high)) return false;
    *value = v;
    return true;
}

std::string decimal_text(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", double(value));
    return text;
}

// Keys the window keeps for itself.
bool reserved_key(SDL_Keycode key) {
    return key == SDLK_ESCAPE || key == SDLK_F11 || key == SDLK_F12 || key == SDLK_m;
}

// "Return, Keypad Enter": SDL's names of the keys, separated by commas.
bool parse_key_list(const std::string& text, std::vector<SDL_Keycode>* keys) {
    std::vector<SDL_Keycode> parsed;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(',', start);
        if (end == std::string::npos) end = text.size();
        std::string name = text.substr(start, end - start);
        name.erase(0, name.find_first_not_of(" \t"));
        name.erase(name.find_last_not_of(" \t") + 1);
        if (!name.empty()) {
            const SDL_Keycode key = SDL_GetKeyFromName(name.c_str());
            if (key == SDLK_UNKNOWN || reserved_key(key)) return false;
            parsed.push_back(key);
        }
        start = end + 1;
    }
    *keys = parsed;
    return true;
}

std::string key_list(const std::vector<SDL_Keycode>& keys) {
    std::string text;
    for (const SDL_Keycode key : keys) text += (text.empty() ? "" : ", ") + std::string(SDL_GetKeyName(key));
    return text;
}

template <GameKey key>
std::string key_text() {
    return key_list(host_options.keys[key]);
}

template <GameKey key>
bool set_keys(const std::string& text) {
    return parse_key_list(text, &host_options.keys[key]);
}

constexpr const char key_values[] = "SDL's key names, separated by commas; not Escape, F11, F12 or M";

const Setting setting_table[] = {
    {"", "fullscreen", "yes or no", "full screen, or a window",
     [] { return yes_no(host_options.fullscreen); },
     [](const std::string& v) { return parse_yes_no(v, &host_options.fullscreen); }},
    {"", "scale", "0 to 16", "the window's size, in times 320 x 240; 0: the largest that fits",
     [] { return std::to_string(host_options.scale); },
     [](const std::string& v) { return parse_whole(v, 0, 16, &host_options.scale); }},
    {"", "pause-in-background", "yes or no", "whether the game stands still while its window is in the background",
     [] { return yes_no(host_options.pause_in_background); },
     [](const std::string& v) { return parse_yes_no(v, &host_options.pause_in_background); }},
    {"", "sound", "yes or no", "no: play without opening any sound device",
     [] { return yes_no(host_options.sound); },
     [](const std::string& v) { return parse_yes_no(v, &host_options.sound); }},
    {"", "volume", "0 to 100", "the volume of everything, in percent",
     [] { return std::to_string(host_options.volume); },
     [](const std::string& v) { return parse_whole(v, 0, 100, &host_options.volume); }},
    {"", "music-volume", "0 to 100", "the music's volume, in percent of the volume",
     [] { return std::to_string(host_options.music_volume); },
     [](const std::string& v) { return parse_whole(v, 0, 100, &host_options.music_volume); }},
    {"", "effects-volume", "0 to 100", "the sound effects' and voices' volume, in percent of the volume",
     [] { return std::to_string(host_options.effects_volume); },
     [](const std::string& v) { return parse_whole(v, 0, 100, &host_options.effects_volume); }},
    {"", "soundfont", "a file", "the General MIDI soundfont for the music; empty: the first one installed",
     [] { return sdl_music_settings.soundfont; },
     [](const std::string& v) {
         sdl_music_settings.soundfont = v.empty() ? v : player_path(v);
         return true;
     }},
    {"", "music-gain", "0 to 10", "the synthesiser's gain: how loud the music is against the effects",
     [] { return decimal_text(sdl_music_settings.gain); },
     [](const std::string& v) { return parse_decimal_number(v, 0.0f, 10.0f, &sdl_music_settings.gain); }},
    {"", "reverb", "yes or no", "the synthesiser's reverb",
     [] { return yes_no(sdl_music_settings.reverb); },
     [](const std::string& v) { return parse_yes_no(v, &sdl_music_settings.reverb); }},
    {"", "chorus", "yes or no", "the synthesiser's chorus",
     [] { return yes_no(sdl_music_settings.chorus); },
     [](const std::string& v) { return parse_yes_no(v, &sdl_music_settings.chorus); }},
    {"", "screenshot-scale", "1 to 16", "F12's screenshots, in times 320 x 240",
     [] { return std::to_string(host_options.screenshot_scale); },
     [](const std::string& v) { return parse_whole(v, 1, 16, &host_options.screenshot_scale); }},
    {"", "vsync", "yes or no", "lock the frames to a display refreshing at about 60 or 120 Hz (2 % faster)",
     [] { return yes_no(host_options.vsync); },
     [](const std::string& v) { return parse_yes_no(v, &host_options.vsync); }},
    {"", "lang", "ja, en, or empty", "the language of the pictures and texts; empty: the locale's",
     [] { return host_options.lang; },
     [](const std::string& v) {
         if (!v.empty() && v != "ja" && v != "en") return false;
         host_options.lang = v;
         return true;
     }},
    {"", "record", "a file", "write every frame's input there, for kuzari-replay; empty: no recording",
     [] { return host_options.record_path; },
     [](const std::string& v) {
         host_options.record_path = v.empty() ? v : player_path(v);
         return true;
     }},
    {"keys", "up", key_values, "a lane up; the menu's cursor up", key_text<key_up>, set_keys<key_up>},
    {"keys", "down", key_values, "a lane down; the menu's cursor down", key_text<key_down>, set_keys<key_down>},
    {"keys", "left", key_values, "left: the game reads it, but no move needs it", key_text<key_left>, set_keys<key_left>},
    {"keys", "right", key_values, "right: the game reads it, but no move needs it", key_text<key_right>, set_keys<key_right>},
    {"keys", "throw", key_values, "throw (hold to keep throwing); confirm", key_text<key_throw>, set_keys<key_throw>},
    {"keys", "refill", key_values, "refill the stock of beans", key_text<key_refill>, set_keys<key_refill>},
    {"keys", "button3", key_values, "the game reads it, but it does nothing", key_text<key_button3>, set_keys<key_button3>},
    {"keys", "button4", key_values, "the game reads it, but it does nothing", key_text<key_button4>, set_keys<key_button4>},
};

// A command-line option. A switch gives its setting a fixed value; an option
// with a value hands it on; a command (no setting) is handled here.
struct CommandOption {
    const char* name;
    const char* value_name;    // null for a switch
    const char* setting;       // the key it sets, or null for a command
    const char* switch_value;  // what a switch sets it to
    const char* help;
};

const CommandOption command_table[] = {
    {"fullscreen", nullptr, "fullscreen", "yes", "play in full screen (the default)"},
    {"window", nullptr, "fullscreen", "no", "play in a window"},
    {"scale", "N", "scale", nullptr, "make the window N times 320 x 240 (1 to 16)"},
    {"vsync", nullptr, "vsync", "yes", "lock the frames to the display's refresh"},
    {"no-pause", nullptr, "pause-in-background", "no", "keep playing in the background"},
    {"nosound", nullptr, "sound", "no", "play without opening any sound device"},
    {"volume", "N", "volume", nullptr, "the volume of everything, 0 to 100"},
    {"music-volume", "N", "music-volume", nullptr, "the music's volume, 0 to 100"},
    {"effects-volume", "N", "effects-volume", nullptr, "the effects' and voices' volume, 0 to 100"},
    {"soundfont", "FILE", "soundfont", nullptr, "the General MIDI soundfont for the music"},
    {"screenshot-scale", "N", "screenshot-scale", nullptr, "F12's screenshots N times 320 x 240"},
    {"lang", "ja|en", "lang", nullptr, "the language of the pictures and texts"},
    {"record", "FILE", "record", nullptr, "record every frame's input, for kuzari-replay"},
    {"playback", "FILE", nullptr, nullptr, "play the recorded or written script FILE"},
    {"config", "FILE", nullptr, nullptr, "read the settings from FILE"},
    {"write-config", nullptr, nullptr, nullptr, "write a settings file of the defaults and exit"},
    {"help", nullptr, nullptr, nullptr, "show this help and exit"},
    {"version", nullptr, nullptr, nullptr, "show the version and exit"},
};

const char usage_line[] = "usage: kuzari [OPTION]...\n";

void print_help() {
    std::printf("%sDefend four bowls of rice from hungry little oni.\n\n", usage_line);
    for (const CommandOption& option : command_table) {
        std::string left = std::string("--") + option.name;
        if (option.value_name) left += std::string(" ") + option.value_name;
        std::string setting;
        if (option.setting)
            setting = std::string("  [") + option.setting + " = " +
                      (option.switch_value ? option.switch_value : option.value_name) + "]";
        std::printf("  %-21s %s%s\n", left.c_str(), option.help, setting.c_str());
    }
    std::printf("\nThe settings file %s holds the keys in brackets\n"
                "and the keyboard's keys; the command line wins over it.\n"
                "Keys: Alt+Enter or F11 full screen or a window, M mute, F12 screenshot, Escape quit.\n",
                default_settings_path().c_str());
}

int fail_usage(const std::string& message) {
    std::fprintf(stderr, "kuzari: %s\n%sTry 'kuzari --help' for the options.\n", message.c_str(), usage_line);
    return exit_usage;
}

}  // namespace

const Setting* find_setting(const std::string& section, const std::string& key) {
    for (const Setting& setting : setting_table)
        if (section == setting.section && key == setting.key) return &setting;
    return nullptr;
}

const Setting* settings_begin() { return std::begin(setting_table); }
const Setting* settings_end() { return std::end(setting_table); }

int read_options(int argc, char** argv) {
    std::vector<option> long_options;
    for (const CommandOption& command : command_table)
        long_options.push_back({command.name, command.value_name ? required_argument : no_argument, nullptr,
                                int(&command - command_table)});
    long_options.push_back({nullptr, 0, nullptr, 0});

    // First what the command line asks, so that the file is read before its
    // options are applied over it.
    std::vector<std::pair<const CommandOption*, std::string>> given;
    std::string config_path = default_settings_path();
    bool config_given = false, write_config = false;
    opterr = 0;  // our own messages, with the usage
    optind = 1;
    int chosen;
    while ((chosen = getopt_long(argc, argv, "", long_options.data(), nullptr)) != -1) {
        if (chosen == '?' || chosen == ':')
            return fail_usage(std::string("unknown option or missing value: '") + argv[optind - 1] + "'");
        const CommandOption& command = command_table[chosen];
        const std::string name = command.name, value = optarg ? optarg : "";
        if (name == "help") {
            print_help();
            return 0;
        }
        if (name == "version") {
            std::printf("kuzari %s\n", KUZARI_VERSION);
            return 0;
        }
        if (name == "config") {
            config_path = player_path(value);
            config_given = true;
        } else if (name == "write-config") {
            write_config = true;
        } else {
            given.emplace_back(&command, value);
        }
    }
    if (optind < argc) return fail_usage(std::string("unexpected argument: '") + argv[optind] + "'");

    if (write_config) return write_settings_file(config_path) ? 0 : 1;
    read_settings_file(config_path, config_given);

    for (const auto& [command, value] : given) {
        if (!command->setting) {  // --playback
            host_options.playback_path = player_path(value);
            continue;
        }
        const Setting* setting = find_setting("", command->setting);
        const std::string text = command->switch_value ? command->switch_value : value;
        // The file may say 0 for the largest scale; on the command line leave it out instead.
        const bool refused = std::string(command->name) == "scale" && text == "0";
        if (refused || !setting->set(text)) return fail_usage(std::string("--") + command->name + " cannot be '" + value + "'");
    }
    return -1;
}

bool play_in_english() {
    if (!host_options.lang.empty()) return host_options.lang == "en";
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* locale = std::getenv(name);
        if (locale && *locale) return std::string(locale).compare(0, 2, "ja") != 0;
    }
    return true;
}

std::string kuzari_config_dir() {
    const char* config_home = std::getenv("XDG_CONFIG_HOME");
    if (config_home && config_home[0] == '/') return std::string(config_home) + "/kuzari";
    const char* home = std::getenv("HOME");
    return std::string(home ? home : "") + "/.config/kuzari";
}

std::string player_path(const std::string& path) {
    if (path.empty() || path[0] == '/') return path;
    const char* start = std::getenv("KUZARI_START_DIR");
    if (start && start[0] == '/') return std::string(start) + "/" + path;
    char here[4096];
    return getcwd(here, sizeof here) ? std::string(here) + "/" + path : path;
}
