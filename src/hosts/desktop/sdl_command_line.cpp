// The command line: each option but the commands sets a setting of the
// settings table, and --help is written from the table below.
#include "hosts/desktop/sdl_command_line.h"

#include <getopt.h>

#include <cstdio>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "core/shown_text.h"
#include "hosts/desktop/sdl_options.h"
#include "hosts/desktop/sdl_settings.h"
#include "hosts/shared/playback_control.h"
#include "hosts/shared/settings_table.h"

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

enum Command { command_playback, command_speed, command_config, command_write_config, command_help, command_version };

constexpr CommandOption commands[] = {
    {"playback", "FILE", nullptr, nullptr, "play the recorded or written script FILE"},
    {"speed", "N|max", nullptr, nullptr, "watch the playback at 1/4, 1/2, 1, 2, 4 or 8 times the pace, or max"},
    {"config", "FILE", nullptr, nullptr, "read the settings from FILE"},
    {"write-config", nullptr, nullptr, nullptr, "write a settings file of the defaults and exit"},
    {"help", nullptr, nullptr, nullptr, "show this help and exit"},
    {"version", nullptr, nullptr, nullptr, "show the version and exit"},
};

// The settings' switches and options, in the settings table's order, then the commands.
std::vector<CommandOption> make_command_table() {
    std::vector<CommandOption> table;
    for (int name = 0; name < setting_name_count; ++name) {
        for (const SettingSwitch& each : setting_switches)
            if (each.setting == name)
                table.push_back({each.option, nullptr, setting_rows[name].key, each.value, each.help});
        const SettingRow& row = setting_rows[name];
        if (row.option) table.push_back({row.option, row.option_value, row.key, nullptr, row.option_help});
    }
    table.insert(table.end(), std::begin(commands), std::end(commands));
    return table;
}

const std::vector<CommandOption> command_table = make_command_table();

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
    // The message holds what was typed: shown, not sent to the terminal.
    std::fprintf(stderr, "kuzari: %s\n%sTry 'kuzari --help' for the options.\n", shown_text(message).c_str(),
                 usage_line);
    return exit_usage;
}

}  // namespace

int read_options(int argc, char** argv) {
    std::vector<option> long_options;
    for (const CommandOption& command : command_table)
        long_options.push_back({command.name, command.value_name ? required_argument : no_argument, nullptr,
                                int(&command - command_table.data())});
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
        const CommandOption& command = command_table[size_t(chosen)];
        const std::string value = optarg ? optarg : "";
        const auto is = [&command](Command which) { return command.name == commands[which].name; };
        if (is(command_help)) {
            print_help();
            return 0;
        }
        if (is(command_version)) {
            std::printf("kuzari %s\n", KUZARI_VERSION);
            return 0;
        }
        if (is(command_speed)) {
            PlaybackSpeed speed;
            if (!parse_playback_speed(value, &speed))
                return fail_usage("--speed takes 1/4, 1/2, 1, 2, 4, 8 or max, not '" + value + "'");
            host_options.playback_speed = value;
        } else if (is(command_config)) {
            config_path = value;
            config_given = true;
        } else if (is(command_write_config)) {
            write_config = true;
        } else {
            given.emplace_back(&command, value);
        }
    }
    if (optind < argc) return fail_usage(std::string("unexpected argument: '") + argv[optind] + "'");
    bool playing_back = false;
    for (const auto& option : given) playing_back |= option.first->name == commands[command_playback].name;
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
        const bool refused = command->setting == setting_rows[setting_scale].key && text == "0";
        if (refused || !setting->set(text)) return fail_usage(std::string("--") + command->name + " cannot be '" + value + "'");
    }
    return -1;
}
