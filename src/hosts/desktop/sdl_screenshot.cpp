// F12's screenshots: the picture as the game drew it, enlarged
// --screenshot-scale times, in the player's pictures folder.
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>

#include "hosts/desktop/sdl_options.h"
#include "hosts/desktop/sdl_platform.h"
#include "hosts/shared/png/png_file.h"

namespace {

bool is_folder(const std::string& path) {
    struct stat info;
    return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string home() {
    const char* home_dir = std::getenv("HOME");
    return home_dir ? home_dir : "";
}

// XDG_PICTURES_DIR="$HOME/Pictures" in the user-dirs.dirs of the player's configuration.
std::string xdg_pictures_dir() {
    const char* config_home = std::getenv("XDG_CONFIG_HOME");
    const std::string config = config_home && config_home[0] == '/' ? config_home : home() + "/.config";
    std::ifstream dirs(config + "/user-dirs.dirs");
    std::string line;
    while (std::getline(dirs, line)) {
        const std::string key = "XDG_PICTURES_DIR=\"";
        if (line.compare(0, key.size(), key) != 0) continue;
        std::string path = line.substr(key.size(), line.rfind('"') - key.size());
        if (path.compare(0, 5, "$HOME") == 0) path = home() + path.substr(5);
        return path;
    }
    return "";
}

std::string pictures_dir() {
    const std::string xdg = xdg_pictures_dir();
    if (is_folder(xdg)) return xdg;
    if (is_folder(home() + "/Pictures")) return home() + "/Pictures";
    return ".";  // where the player started the game
}

}  // namespace

void sdl_save_screenshot(const uint16_t* pixels, int width, int height, int pitch) {
    if (!pixels) return;
    char stamp[32];
    const std::time_t now = std::time(nullptr);
    std::strftime(stamp, sizeof stamp, "kuzari-%Y%m%d-%H%M%S", std::localtime(&now));
    const std::string folder = pictures_dir();
    std::string path = folder + "/" + stamp + ".png";
    for (int n = 2; std::ifstream(path).good(); ++n) path = folder + "/" + stamp + "-" + std::to_string(n) + ".png";
    std::string error;
    if (write_rgb565_png(path, pixels, width, height, pitch, host_options.screenshot_scale, &error))
        std::fprintf(stderr, "kuzari: screenshot %s\n", path.c_str());
    else
        std::fprintf(stderr, "kuzari: cannot write the screenshot %s: %s\n", path.c_str(), error.c_str());
}
