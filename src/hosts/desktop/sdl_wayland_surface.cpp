// The picture on Wayland without a GPU. SDL 2 has no window surface of its
// own there: it would draw through OpenGL on the CPU, at several times the
// cost, and at the compositor's units rather than the screen's pixels. So the
// game hands the compositor shared-memory buffers of the window's real
// pixels itself, two of them, each drawn into while the other is shown.
#include <SDL.h>
#include <SDL_syswm.h>

#include "hosts/desktop/sdl_platform.h"

#ifndef KUZARI_HAVE_WAYLAND

bool sdl_wayland_surface_open(SDL_Window*) { return false; }
SDL_Surface* sdl_wayland_surface_begin(bool*) { return nullptr; }
void sdl_wayland_surface_send(const SDL_Rect*) {}
bool sdl_wayland_surface_owed() { return false; }
bool sdl_wayland_surface_rescaled() { return false; }
void sdl_wayland_surface_close() {}

#else

#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

struct ShmBuffer {
    wl_buffer* buffer;
    void* memory;
    size_t bytes;
    SDL_Surface* view;  // the buffer's pixels as SDL sees them
    bool busy;          // the compositor has it
    bool drawn;         // its borders are black
};

wl_display* display = nullptr;
wl_surface* surface = nullptr;
wl_event_queue* queue = nullptr;  // ours, so that SDL's dispatching is not disturbed
wl_display* display_wrapper = nullptr;
wl_registry* registry = nullptr;
wl_shm* shm = nullptr;
SDL_Window* shm_window = nullptr;
ShmBuffer buffers[2] = {};
ShmBuffer* drawing = nullptr;
// A picture could not be drawn: the compositor held both buffers. A running
// game draws the next frame anyway; a paused one (its menu) must try again.
bool redraw_owed = false;

// Each output's whole scale as the compositor last said it (0 before it has).
// SDL 2.26 takes a new scale only when the window enters an output, never
// when the output it is on changes its scale, and would go on drawing at the
// old one: the game follows the outputs itself.
struct Output {
    wl_output* output;
    uint32_t name;
    int scale, pending;
};
std::vector<Output> outputs;
bool rescaled = false;

Output* output_of(wl_output* output) {
    for (Output& known : outputs)
        if (known.output == output) return &known;
    return nullptr;
}
void output_geometry(void*, wl_output*, int32_t, int32_t, int32_t, int32_t, int32_t, const char*, const char*,
                     int32_t) {}
void output_mode(void*, wl_output*, uint32_t, int32_t, int32_t, int32_t) {}
void output_done(void*, wl_output* output) {
    Output* known = output_of(output);
    if (!known || known->scale == known->pending) return;
    rescaled = rescaled || known->scale != 0;
    known->scale = known->pending;
}
void output_scale(void*, wl_output* output, int32_t factor) {
    if (Output* known = output_of(output)) known->pending = std::clamp(factor, 1, 16);
}
void output_name(void*, wl_output*, const char*) {}
void output_description(void*, wl_output*, const char*) {}
const wl_output_listener output_listener{output_geometry, output_mode,  output_done,
                                         output_scale,    output_name, output_description};

void found_global(void*, wl_registry* from, uint32_t name, const char* interface, uint32_t version) {
    if (std::strcmp(interface, wl_shm_interface.name) == 0 && !shm) {
        shm = static_cast<wl_shm*>(wl_registry_bind(from, name, &wl_shm_interface, 1));
    } else if (std::strcmp(interface, wl_output_interface.name) == 0 && version >= 2) {
        auto* output = static_cast<wl_output*>(wl_registry_bind(from, name, &wl_output_interface, 2));
        if (!output) return;
        outputs.push_back(Output{output, name, 0, 1});
        wl_output_add_listener(output, &output_listener, nullptr);
    }
}
void lost_global(void*, wl_registry*, uint32_t name) {
    for (auto known = outputs.begin(); known != outputs.end(); ++known)
        if (known->name == name) {
            wl_output_destroy(known->output);
            outputs.erase(known);
            return;
        }
}
const wl_registry_listener registry_listener{found_global, lost_global};

// The window's output's scale, 0 when it cannot be told: all outputs alike,
// or SDL's display of the window where they differ (SDL numbers them in the
// order the compositor announced them, as here).
int window_scale() {
    if (outputs.empty() || outputs.front().scale == 0) return 0;
    const int first = outputs.front().scale;
    if (std::all_of(outputs.begin(), outputs.end(), [first](const Output& o) { return o.scale == first; }))
        return first;
    const int index = SDL_GetWindowDisplayIndex(shm_window);
    return index >= 0 && size_t(index) < outputs.size() ? outputs[size_t(index)].scale : 0;
}
int drawn_scale = 0;  // the buffer scale of the buffer being drawn, 0 for SDL's

void released(void* data, wl_buffer*) { static_cast<ShmBuffer*>(data)->busy = false; }
const wl_buffer_listener buffer_listener{released};

void free_buffer(ShmBuffer* buffer) {
    if (buffer->view) SDL_FreeSurface(buffer->view);
    if (buffer->buffer) wl_buffer_destroy(buffer->buffer);
    if (buffer->memory) munmap(buffer->memory, buffer->bytes);
    *buffer = ShmBuffer{};
}

bool make_buffer(ShmBuffer* buffer, int width, int height) {
    free_buffer(buffer);
    const int stride = width * 4;
    const size_t bytes = size_t(stride) * size_t(height);
    const int fd = memfd_create("kuzari-picture", MFD_CLOEXEC);
    if (fd < 0) return false;
    if (ftruncate(fd, off_t(bytes)) != 0) {
        close(fd);
        return false;
    }
    void* memory = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (memory == MAP_FAILED) {
        close(fd);
        return false;
    }
    wl_shm_pool* pool = wl_shm_create_pool(shm, fd, int32_t(bytes));
    close(fd);
    buffer->memory = memory;
    buffer->bytes = bytes;
    buffer->buffer = wl_shm_pool_create_buffer(pool, 0, width, height, stride, WL_SHM_FORMAT_XRGB8888);
    wl_shm_pool_destroy(pool);
    if (!buffer->buffer) return false;
    wl_buffer_add_listener(buffer->buffer, &buffer_listener, buffer);
    buffer->view = SDL_CreateRGBSurfaceWithFormatFrom(memory, width, height, 32, stride, SDL_PIXELFORMAT_RGB888);
    return buffer->view != nullptr;
}

}  // namespace

bool sdl_wayland_surface_open(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_WAYLAND) return false;
    display = info.info.wl.display;
    surface = info.info.wl.surface;
    queue = wl_display_create_queue(display);
    display_wrapper = static_cast<wl_display*>(wl_proxy_create_wrapper(display));
    if (!queue || !display_wrapper) {
        sdl_wayland_surface_close();
        return false;
    }
    wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(display_wrapper), queue);
    registry = wl_display_get_registry(display_wrapper);
    wl_registry_add_listener(registry, &registry_listener, nullptr);
    if (wl_display_roundtrip_queue(display, queue) < 0 || !shm) {
        sdl_wayland_surface_close();
        return false;
    }
    // The outputs' scales come in answer to binding them.
    if (!outputs.empty()) wl_display_roundtrip_queue(display, queue);
    rescaled = false;
    shm_window = window;
    return true;
}

SDL_Surface* sdl_wayland_surface_begin(bool* fresh) {
    wl_display_dispatch_queue_pending(display, queue);
    int width = 0, height = 0;
    drawn_scale = window_scale();
    if (drawn_scale > 0) {
        SDL_GetWindowSize(shm_window, &width, &height);
        width *= drawn_scale;
        height *= drawn_scale;
    } else {
        SDL_GetWindowSizeInPixels(shm_window, &width, &height);
    }
    drawing = !buffers[0].busy ? &buffers[0] : !buffers[1].busy ? &buffers[1] : nullptr;
    redraw_owed = !drawing;
    if (!drawing || width <= 0 || height <= 0) return nullptr;  // both on screen: this frame is not shown
    if (!drawing->view || drawing->view->w != width || drawing->view->h != height) {
        if (!make_buffer(drawing, width, height)) {
            free_buffer(drawing);
            return nullptr;
        }
    }
    *fresh = !drawing->drawn;
    drawing->drawn = true;
    return drawing->view;
}

void sdl_wayland_surface_send(const SDL_Rect* changed) {
    if (!drawing) return;
    // SDL may have set its own, older scale since.
    if (drawn_scale > 0) wl_surface_set_buffer_scale(surface, drawn_scale);
    wl_surface_attach(surface, drawing->buffer, 0, 0);
    // Each buffer's borders were drawn once; only the picture changes in it.
    if (changed && wl_proxy_get_version(reinterpret_cast<wl_proxy*>(surface)) >= 4)
        wl_surface_damage_buffer(surface, changed->x, changed->y, changed->w, changed->h);
    else
        wl_surface_damage(surface, 0, 0, INT32_MAX, INT32_MAX);
    wl_surface_commit(surface);
    drawing->busy = true;
    drawing = nullptr;
    wl_display_flush(display);
}

bool sdl_wayland_surface_owed() {
    if (!redraw_owed || !display) return false;
    wl_display_dispatch_queue_pending(display, queue);
    return !buffers[0].busy || !buffers[1].busy;
}

bool sdl_wayland_surface_rescaled() {
    if (!display) return false;
    wl_display_dispatch_queue_pending(display, queue);
    const bool changed = rescaled;
    rescaled = false;
    return changed;
}

void sdl_wayland_surface_close() {
    for (Output& known : outputs) wl_output_destroy(known.output);
    outputs.clear();
    rescaled = false;
    drawn_scale = 0;
    for (ShmBuffer& buffer : buffers) free_buffer(&buffer);
    drawing = nullptr;
    redraw_owed = false;
    if (shm) wl_shm_destroy(shm);
    if (registry) wl_registry_destroy(registry);
    if (display_wrapper) wl_proxy_wrapper_destroy(display_wrapper);
    if (queue) wl_event_queue_destroy(queue);
    shm = nullptr;
    registry = nullptr;
    display_wrapper = nullptr;
    queue = nullptr;
    display = nullptr;
    surface = nullptr;
    shm_window = nullptr;
}

#endif
