// The real game's settings reader on arbitrary text: libinih and our line
// reader and value parsers, without a window. What it reports goes to
// standard error; run with -close_fd_mask=2 to keep it quiet.
#include <string>

#include "hosts/desktop/sdl_environment.h"
#include "hosts/desktop/sdl_platform.h"
#include "hosts/desktop/sdl_settings.h"

// The settings table's fields that live beside the synthesiser and the
// player's folders in the game; the reader needs only somewhere to put them.
SdlMusicSettings sdl_music_settings{"", 1.2f, true, true};
std::string kuzari_config_dir() { return "/nonexistent"; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    read_settings_text("fuzz.ini", std::string(reinterpret_cast<const char*>(data), size));
    return 0;
}
