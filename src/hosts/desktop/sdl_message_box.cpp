// Message boxes on SDL, owned by the game's window; where SDL can show none,
// the message in the window itself. The text also goes to standard error, so
// that a start without a display still says why it ends.
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <langinfo.h>
#include <string>

#include "core/data_file.h"
#include "platform/platform.h"
#include "hosts/desktop/sdl_platform.h"
#include "hosts/shared/message_panel.h"

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

bool closes_the_panel(const SDL_Event& event) {
    if (event.type == SDL_CONTROLLERBUTTONDOWN || event.type == SDL_JOYBUTTONDOWN) return true;
    if (event.type != SDL_KEYDOWN) return false;
    const SDL_Keycode key = event.key.keysym.sym;
    return key == SDLK_RETURN || key == SDLK_KP_ENTER || key == SDLK_ESCAPE || key == SDLK_SPACE;
}

// Where SDL could show no box (Wayland without zenity): the message in the
// game's own window, until a key or a button closes it. A quit (the window
// closed, a signal) closes it too and is left for the game to act on.
void panel_in_window(const char* text) {
    const PixelFont* font = sdl_overlay_font();
    if (!font) return;
    OverlayImage panel;
    const bool english = game_language() == language_english;
    draw_message_panel(&panel, *font, text, english ? "Enter: close" : "Enter: 閉じる");
    if (!sdl_show_panel(&panel)) return;
    while (!sdl_quit_signalled()) {
        sdl_present_owed();
        SDL_Event event;
        if (!SDL_WaitEventTimeout(&event, 100)) continue;
        const bool quit = event.type == SDL_QUIT ||
                          (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE);
        if (quit) SDL_PushEvent(&event);
        if (quit || closes_the_panel(event)) break;
        if (event.type == SDL_WINDOWEVENT) sdl_present_again();
    }
    sdl_show_panel(nullptr);
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
    const bool shown = SDL_ShowSimpleMessageBox(flags, caption, text, window) == 0;
    sdl_box_open(false);
    if (!shown) panel_in_window(text);
    if (was_fullscreen && !sdl_quit_signalled()) sdl_switch_fullscreen();
}
