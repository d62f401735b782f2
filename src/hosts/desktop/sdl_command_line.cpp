// The command line: each option but the commands sets a setting of the
// settings table, and --help is written from the table below.
#include "hosts/desktop/sdl_command_line.h"

#include <getopt.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "hosts/desktop/sdl_options.h"
#include "hosts/desktop/sdl_settings.h"
#include "hosts/shared/playback_control.h"

namespace {

constexpr int exit_usage = 2;

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
    {"captions", "MODE", "captions", nullptr, "the voices' words on the screen: auto, on or off"},
    {"screenshot-scale", "N", "screenshot-scale", nullptr, "F12's screenshots N times 320 x 240"},
    {"lang", "ja|en", "lang", nullptr, "the language of the pictures and texts"},
    {"data", "DIR", "data", nullptr, "the folder of the game's pictures, sounds and music"},
    {"record", "FILE", "record", nullptr, "record every frame's input, for kuzari-replay"},
    {"playback", "FILE", nullptr, nullptr, "play the recorded or written script FILE"},
    {"speed", "N|max", nullptr, nullptr, "watch the playback at 1/4, 1/2, 1, 2, 4 or 8 times the pace, or max"},
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
                "Keys: F1 or Tab the options, Alt+Enter or F11 full screen or a window, M mute,\n"
                "F12 screenshot, Escape quit. Watching a --playback: Space pause, . one frame,\n"
                "- and + slower and faster, Left and Right ten seconds back and forward, Home the start.\n",
                default_settings_path().empty() ? "($XDG_CONFIG_HOME or ~/.config)/kuzari/kuzari.ini"
                                                : default_settings_path().c_str());
}

int fail_usage(const std::string& message) {
    std::fprintf(stderr, "kuzari: %s\n%sTry 'kuzari --help' for the options.\n", message.c_str(), usage_line);
    return exit_usage;
}

}  // namespace

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
        if (name == "speed") {
            PlaybackSpeed speed;
            if (!parse_playback_speed(value, &speed))
                return fail_usage("--speed takes 1/4, 1/2, 1, 2, 4, 8 or max, not '" + value + "'");
            host_options.playback_speed = value;
        } else if (name == "config") {
            config_path = value;
            config_given = true;
        } else if (name == "write-config") {
            write_config = true;
        } else {
            given.emplace_back(&command, value);
        }
    }
    if (optind < argc) return fail_usage(std::string("unexpected argument: '") + argv[optind] + "'");
    bool playing_back = false;
    for (const auto& option : given) playing_back |= std::string(option.first->name) == "playback";
    if (!host_options.playback_speed.empty() && !playing_back)
        return fail_usage("--speed is for a playback: give --playback FILE too");

    if (write_config && config_path.empty()) {
        std::fprintf(stderr, "kuzari: neither XDG_CONFIG_HOME nor HOME names a folder (an absolute path) for the "
                             "settings; name the file with --config FILE\n");
        return 1;
    }
    if (write_config) return write_settings_file(config_path) ? 0 : 1;
    read_settings_file(config_path, config_given);
    host_options.settings_path = config_path;

    for (const auto& [command, value] : given) {
        if (!command->setting) {  // --playback; --speed was taken above
            host_options.playback_path = value;
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
