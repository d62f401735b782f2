// What the SDL platform's files share with each other.
#pragma once

#include <SDL.h>

struct PlatformWindow;

SDL_Window* sdl_window_of(PlatformWindow* window);
void sdl_set_window_icon(SDL_Window* window);
// Opens, hands over or closes the first joystick as devices come and go.
void sdl_joystick_device_event(const SDL_Event& event);
