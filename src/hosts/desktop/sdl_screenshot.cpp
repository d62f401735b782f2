// F12's screenshots: the picture as the game drew it, enlarged
// --screenshot-scale times, in the player's pictures folder.
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "core/file_read.h"
#include "core/shown_text.h"
#include "hosts/desktop/sdl_options.h"
#include "hosts/desktop/sdl_platform.h"
#include "hosts/desktop/user_dirs.h"
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

// Far more than any desktop writes there.
constexpr size_t max_user_dirs_bytes = 64 * 1024;

std::string xdg_pictures_dir() {
    const char* config_home = std::getenv("XDG_CONFIG_HOME");
    const std::string config = config_home && config_home[0] == '/' ? config_home : home() + "/.config";
    const std::string path = config + "/user-dirs.dirs";
    std::string text, reason;
    const FileReadOutcome outcome = read_whole_file(path, max_user_dirs_bytes, &text, &reason);
    if (outcome == file_read) return pictures_dir_in_user_dirs(text, home());
    if (outcome != file_missing)
        std::fprintf(stderr, "kuzari: cannot read %s: %s\n", shown_text(path).c_str(), reason.c_str());
    return "";
}

// Whether anything at all is there, without opening it (a FIFO would wait).
bool taken(const std::string& path) {
    struct stat info;
    return lstat(path.c_str(), &info) == 0;
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
    for (int n = 2; taken(path); ++n) path = folder + "/" + stamp + "-" + std::to_string(n) + ".png";
    std::string error;
    if (write_rgb565_png(path, pixels, width, height, pitch, host_options.screenshot_scale, &error))
        std::fprintf(stderr, "kuzari: screenshot %s\n", shown_text(path).c_str());
    else
        std::fprintf(stderr, "kuzari: cannot write the screenshot %s: %s\n", shown_text(path).c_str(),
                     error.c_str());
}
