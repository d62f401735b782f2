// What the SDL platform's files share with each other.
#pragma once

#include <SDL.h>

struct PlatformWindow;

// ---- The window (sdl_window.cpp) ----
SDL_Window* sdl_window_of(PlatformWindow* window);
SDL_Window* sdl_main_window();
bool sdl_is_fullscreen();
// Between full screen and a window at a whole multiple of the picture's size.
void sdl_switch_fullscreen();
void sdl_set_window_icon(SDL_Window* window);

// ---- Keyboard and pads (sdl_input.cpp) ----
// Opens SDL's pad support with the player's own mappings, if any.
void sdl_start_pads();
// Plugging and unplugging, and the pads' button presses.
void sdl_pad_event(const SDL_Event& event);
void sdl_key_went_down(SDL_Scancode scancode);
void sdl_key_came_up(SDL_Scancode scancode);
// A key the window used (Enter of Alt+Enter): the game does not see it held
// until it has been released.
void sdl_key_taken_by_window(SDL_Scancode scancode);
// The frame's input has been read and its picture shown: taps are forgotten.
void sdl_frame_shown();

// ---- Sound (sdl_audio.cpp) ----
// Holds every effect, the voice and the music where they are, or lets them go on.
void sdl_audio_pause(bool paused);

// ---- Signals (sdl_signals.cpp) ----
// SIGTERM, SIGINT and SIGHUP ask the game to quit, even while a message box is
// open. Called first thing in main, before any other thread exists.
void sdl_catch_signals();
bool sdl_quit_signalled();
// Set while a message box is up, so that a signal can take it down.
void sdl_box_open(bool open);

// ---- Profile (sdl_profile.cpp) ----
// The opt-in timing of KUZARI_PROFILE=1: the clock to pass back when
// presenting or waiting is over; 0 when the profile is off.
double sdl_profile_clock();
void sdl_profile_presented(double began);
void sdl_profile_waited(double began);
