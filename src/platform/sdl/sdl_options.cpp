#include "platform/sdl/sdl_options.h"

#include <getopt.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

HostOptions host_options;

namespace {

constexpr int exit_usage = 2;

// One option: its long name, what its value is called (null: it takes none),
// a line of help, and how it is applied; false for a value it cannot take.
struct OptionSpec {
    const char* name;
    const char* value_name;
    const char* help;
    bool (*apply)(const char* value);
};

bool parse_whole(const char* text, long low, long high, long* value) {
    if (!text || !*text) return false;
    errno = 0;
    char* end = nullptr;
    const long v = std::strtol(text, &end, 10);
    if (errno || *end || v < low || v > high) return false;
    *value = v;
    return true;
}

const OptionSpec option_table[] = {
    {"fullscreen", nullptr, "play in full screen (the default); Alt+Enter or F11 switches",
     [](const char*) {
         host_options.fullscreen = true;
         return true;
     }},
    {"window", nullptr, "play in a window",
     [](const char*) {
         host_options.fullscreen = false;
         return true;
     }},
    {"scale", "N", "make the window N times 320 x 240 (1 to 16; default: the largest that fits)",
     [](const char* value) {
         long scale;
         if (!parse_whole(value, 1, 16, &scale)) return false;
         host_options.scale = int(scale);
         return true;
     }},
    {"no-pause", nullptr, "keep playing while the window is in the background",
     [](const char*) {
         host_options.pause_without_focus = false;
         return true;
     }},
};

const char usage_line[] = "usage: kuzari [OPTION]...\n";

void print_help() {
    std::printf("%sDefend four bowls of rice from hungry little oni.\n\n", usage_line);
    for (const OptionSpec& spec : option_table) {
        std::string left = std::string("--") + spec.name;
        if (spec.value_name) left += std::string(" ") + spec.value_name;
        std::printf("  %-18s %s\n", left.c_str(), spec.help);
    }
    std::printf("  %-18s %s\n  %-18s %s\n", "--help", "show this help and exit", "--version",
                "show the version and exit");
}

int fail_usage(const std::string& message) {
    std::fprintf(stderr, "kuzari: %s\n%sTry 'kuzari --help' for the options.\n", message.c_str(), usage_line);
    return exit_usage;
}

}  // namespace

int read_command_line(int argc, char** argv) {
    constexpr int option_help = 1000, option_version = 1001;
    std::vector<option> long_options;
    for (const OptionSpec& spec : option_table)
        long_options.push_back(
            {spec.name, spec.value_name ? required_argument : no_argument, nullptr, int(&spec - option_table)});
    long_options.push_back({"help", no_argument, nullptr, option_help});
    long_options.push_back({"version", no_argument, nullptr, option_version});
    long_options.push_back({nullptr, 0, nullptr, 0});

    opterr = 0;  // our own messages, with the usage
    optind = 1;
    int chosen;
    while ((chosen = getopt_long(argc, argv, "", long_options.data(), nullptr)) != -1) {
        if (chosen == option_help) {
            print_help();
            return 0;
        }
        if (chosen == option_version) {
            std::printf("kuzari %s\n", KUZARI_VERSION);
            return 0;
        }
        if (chosen == '?' || chosen == ':')
            return fail_usage(std::string("unknown option or missing value: '") + argv[optind - 1] + "'");
        const OptionSpec& spec = option_table[chosen];
        if (!spec.apply(optarg))
            return fail_usage(std::string("--") + spec.name + " cannot be '" + (optarg ? optarg : "") + "'");
    }
    if (optind < argc) return fail_usage(std::string("unexpected argument: '") + argv[optind] + "'");
    return -1;
}

std::string kuzari_config_dir() {
    const char* config_home = std::getenv("XDG_CONFIG_HOME");
    if (config_home && config_home[0] == '/') return std::string(config_home) + "/kuzari";
    const char* home = std::getenv("HOME");
    return std::string(home ? home : "") + "/.config/kuzari";
}
