// SDL 2.26 on Wayland keeps its keyboard's xkb state only while the seat's
// keyboard has a keymap. When the keyboard used last goes away (a Bluetooth or
// USB keyboard dropping out, a virtual one ending), the seat may hand the
// window the keyboard's modifiers before any keymap, and SDL passes its null
// state and keymap to libxkbcommon, which crashes at the first frame. SDL links
// libxkbcommon itself, so those calls come through our definitions first: with
// nothing to work on they do nothing, anything else goes on to libxkbcommon.
#include <dlfcn.h>

#include <cstdint>

struct xkb_state;
struct xkb_keymap;

namespace {

using UpdateMask = int (*)(xkb_state*, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t);
using KeyIterator = void (*)(xkb_keymap*, uint32_t, void*);
using ForEachKey = void (*)(xkb_keymap*, KeyIterator, void*);

template <typename Function>
Function library_function(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int xkb_state_update_mask(
    xkb_state* state, uint32_t depressed_mods, uint32_t latched_mods, uint32_t locked_mods,
    uint32_t depressed_layout, uint32_t latched_layout, uint32_t locked_layout) {
    if (!state) return 0;  // no component changed
    static const auto library = library_function<UpdateMask>("xkb_state_update_mask");
    if (!library) return 0;
    return library(state, depressed_mods, latched_mods, locked_mods, depressed_layout, latched_layout,
                   locked_layout);
}

extern "C" __attribute__((visibility("default"))) void xkb_keymap_key_for_each(xkb_keymap* keymap, KeyIterator iterator,
                                                                              void* data) {
    if (!keymap) return;  // no keys
    static const auto library = library_function<ForEachKey>("xkb_keymap_key_for_each");
    if (library) library(keymap, iterator, data);
}
