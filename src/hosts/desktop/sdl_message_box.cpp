// Message boxes on SDL, owned by the game's window. The text also goes to
// standard error, so that a start without a display still says why it ends.
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <langinfo.h>
#include <string>

#include "platform/platform.h"
#include "hosts/desktop/sdl_platform.h"

// SDL's X11 box draws its text in the process locale. Our texts are UTF-8
// Japanese, so a box shown under a non-UTF-8 locale (LANG=C, say) would turn
// them into mojibake: give the box a UTF-8 locale for as long as it shows.
namespace {

struct Utf8LocaleForBox {
    std::string saved_lc_all;
    bool had_lc_all = false;
    bool changed = false;

    Utf8LocaleForBox() {
        std::setlocale(LC_CTYPE, "");
        const char* codeset = nl_langinfo(CODESET);
        std::setlocale(LC_CTYPE, "C");
        if (codeset && (std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "utf8") == 0)) return;
        const char* lc_all = std::getenv("LC_ALL");
        had_lc_all = lc_all != nullptr;
        if (had_lc_all) saved_lc_all = lc_all;
        setenv("LC_ALL", "C.UTF-8", 1);
        changed = true;
    }
    ~Utf8LocaleForBox() {
        if (!changed) return;
        if (had_lc_all) setenv("LC_ALL", saved_lc_all.c_str(), 1);
        else unsetenv("LC_ALL");
    }
};

}  // namespace

void platform_message_box(const char* text, const char* caption, bool error_icon) {
    std::fprintf(stderr, "%s%s%s\n", caption, caption[0] ? ": " : "", text);
    if (sdl_quit_signalled()) return;  // the player has already asked to quit
    Utf8LocaleForBox locale;
    // A full-screen window would cover its own box: it steps back into a
    // window while the box is up.
    SDL_Window* window = sdl_main_window();
    const bool was_fullscreen = sdl_is_fullscreen();
    if (was_fullscreen) sdl_switch_fullscreen();
    sdl_box_open(true);
    const Uint32 flags = error_icon ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
    SDL_ShowSimpleMessageBox(flags, caption, text, window);
    sdl_box_open(false);
    if (was_fullscreen && !sdl_quit_signalled()) sdl_switch_fullscreen();
}
