// Message boxes on SDL, owned by the game's window. The text also goes to
// standard error, so that a start without a display still says why it ends.
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
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

// Without a window SDL's own box would fork this half-started SDL and open a
// second display connection from the copy, which can crash. The desktop's
// dialog tool runs in a process of its own instead (when it is there: the text
// is on standard error either way).
void desktop_dialog(const char* text, const char* caption, bool error_icon) {
    const char* const arguments[] = {"zenity", error_icon ? "--error" : "--info", "--no-markup", "--title",
                                     caption[0] ? caption : "Kuzari", "--text", text, nullptr};
    const pid_t child = fork();
    if (child < 0) return;
    if (child == 0) {
        execvp(arguments[0], const_cast<char* const*>(arguments));
        _exit(127);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
}

}  // namespace

void platform_message_box(const char* text, const char* caption, bool error_icon) {
    std::fprintf(stderr, "%s%s%s\n", caption, caption[0] ? ": " : "", text);
    if (sdl_quit_signalled()) return;  // the player has already asked to quit
    Utf8LocaleForBox locale;
    SDL_Window* window = sdl_main_window();
    if (!window) {
        sdl_box_open(true);
        desktop_dialog(text, caption, error_icon);
        sdl_box_open(false);
        return;
    }
    // A full-screen window would cover its own box: it steps back into a
    // window while the box is up.
    const bool was_fullscreen = sdl_is_fullscreen();
    if (was_fullscreen) sdl_switch_fullscreen();
    sdl_box_open(true);
    const Uint32 flags = error_icon ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
    SDL_ShowSimpleMessageBox(flags, caption, text, window);
    sdl_box_open(false);
    if (was_fullscreen && !sdl_quit_signalled()) sdl_switch_fullscreen();
}
