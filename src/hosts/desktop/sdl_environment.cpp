#include "hosts/desktop/sdl_environment.h"

#include <unistd.h>

#include <cstdlib>

#include "hosts/desktop/sdl_options.h"

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
