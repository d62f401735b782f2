#include "hosts/desktop/sdl_environment.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "core/shown_text.h"
#include "hosts/desktop/sdl_options.h"
#include "hosts/shared/data_folder.h"

bool play_in_english() {
    if (!host_options.lang.empty()) return host_options.lang == "en";
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* locale = std::getenv(name);
        if (locale && *locale) return std::string(locale).compare(0, 2, "ja") != 0;
    }
    return true;
}

std::string kuzari_xdg_dir(const char* variable, const char* under_home) {
    const char* base = std::getenv(variable);
    if (base && base[0] == '/') return std::string(base) + "/kuzari";
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') return std::string(home) + "/" + under_home + "/kuzari";
    return "";
}

std::string kuzari_config_dir() { return kuzari_xdg_dir("XDG_CONFIG_HOME", ".config"); }

std::string find_data_folder() {
    // A folder the player named is theirs: never another in its place.
    const std::string named_wrong = host_options.data_dir.empty() ? "" : why_no_game_data(host_options.data_dir);
    if (!named_wrong.empty()) {
        std::fprintf(stderr, "kuzari: cannot play with the data in %s: %s\n", shown_text(host_options.data_dir).c_str(),
                     named_wrong.c_str());
        return "";
    }
    const char* from_environment = std::getenv("KUZARI_DATA");
    const std::vector<std::string> candidates = {host_options.data_dir, from_environment ? from_environment : "",
                                                 KUZARI_INSTALLED_DATA_DIR, KUZARI_SOURCE_DATA_DIR};
    const DataFolderChoice choice = choose_data_folder(candidates, holds_game_data);
    if (!choice.found) {
        std::string tried;
        for (const std::string& folder : choice.tried) tried += "\n  " + shown_text(folder);
        std::fprintf(stderr, "kuzari: the game's data (bitmap/, wave/, voice/, midi/) is in none of:%s\n",
                     tried.c_str());
    }
    return choice.folder;
}
