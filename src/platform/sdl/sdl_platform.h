// What the SDL platform's files share with each other.
#pragma once

#include <SDL.h>

struct PlatformWindow;

SDL_Window* sdl_window_of(PlatformWindow* window);
void sdl_set_window_icon(SDL_Window* window);
// Opens, hands over or closes the first joystick as devices come and go.
void sdl_joystick_device_event(const SDL_Event& event);

// The opt-in timing of KUZARI_PROFILE=1 (sdl_profile.cpp): the clock to pass
// back when presenting or waiting is over; 0 when the profile is off.
double sdl_profile_clock();
void sdl_profile_presented(double began);
void sdl_profile_waited(double began);

// The samples of the slot's clip in the device's format and their byte count,
// or null (and 0) without a clip. For the tests.
const uint8_t* sdl_clip_samples(int slot, uint32_t* byte_count);
