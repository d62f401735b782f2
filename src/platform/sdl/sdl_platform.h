// What the SDL platform's files share with each other.
#pragma once

#include <SDL.h>

#include <cstddef>
#include <cstdint>
#include <string>

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

// ---- Music (sdl_music.cpp) -----------------------------------------------------

// How the music sounds; the host sets these before the audio device opens.
struct SdlMusicSettings {
    std::string soundfont;  // a soundfont to use instead of SDL_SOUNDFONTS and the system's; empty: none
    float gain;             // FluidSynth's synth.gain
    bool reverb;
    bool chorus;
};
extern SdlMusicSettings sdl_music_settings;

// The music's volume, 0 (silent) to 1 (as the settings make it).
void sdl_music_set_volume(float scale);
// While paused the music is silent and stands still; it resumes where it stopped.
void sdl_music_pause(bool paused);

// Where the soundfont, loaded in the background from the time music opens, stands.
enum class SdlSoundfont { loading, ready, missing };
SdlSoundfont sdl_music_soundfont();

// False for a standard MIDI file that FluidSynth's file reader would refuse
// when it comes to play it (sdl_music_check.cpp).
bool sdl_music_readable(const uint8_t* data, size_t size);
