// While SDL looks for a sound device, ALSA's library writes its own errors to
// standard error: on a machine without a sound card, eight lines about its
// configuration's internals come before the game's message that says what went
// wrong and how to play without sound. Its error handler is swapped for one
// that drops them. The library is found at run time, as SDL finds it, so a
// system without ALSA starts all the same; it is kept loaded, so SDL's own
// dlopen gets this copy, with the handler in place.
#include <dlfcn.h>

#include <cstring>

#include "hosts/desktop/sdl_quiet_alsa.h"

namespace {

void drop_alsa_error(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

void sdl_quiet_alsa() {
    static bool done = false;
    if (done) return;
    done = true;
    void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_GLOBAL);
    if (!alsa) return;
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    using SetHandler = int (*)(Handler);
    void* symbol = dlsym(alsa, "snd_lib_error_set_handler");
    if (!symbol) return;
    SetHandler set_handler;
    std::memcpy(&set_handler, &symbol, sizeof set_handler);  // dlsym's object pointer to a function pointer
    set_handler(drop_alsa_error);
}
