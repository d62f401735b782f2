// What the desktop host's files share with each other.
#pragma once

#include <SDL.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/platform.h"

struct PlatformWindow;
struct OverlayImage;
struct PixelFont;

// ---- The window (sdl_window.cpp) ----
SDL_Window* sdl_window_of(PlatformWindow* window);
SDL_Window* sdl_main_window();
bool sdl_is_fullscreen();
// Between full screen and a window at a whole multiple of the picture's size.
void sdl_switch_fullscreen();
void sdl_set_window_icon(SDL_Window* window);
// The window at the scale asked for now (in a window; full screen stays).
void sdl_resize_window();
// The game stands still while the options are open or, when the player
// wants it, while the window is in the background; called when either changes.
void sdl_follow_pause();

// ---- The window system (sdl_video_driver.cpp) ----
// Before SDL_Init: Wayland first on a Wayland session, and the app id.
void sdl_choose_video_driver();
// After SDL_Init: on standard error, when Wayland was asked for and not had.
void sdl_tell_video_driver();
bool sdl_on_wayland();
// The screen's pixels in one of the window's units: 2 at a compositor's
// scale of 2, always 1 on X11.
int sdl_pixels_per_unit(SDL_Window* window);

// ---- The picture on Wayland without a GPU (sdl_wayland_surface.cpp) ----
// False when the window is not a Wayland one or the buffers cannot be had.
bool sdl_wayland_surface_open(SDL_Window* window);
// A buffer of the window's real pixels for the next frame, and whether it is
// new (black it first and send it whole); null when none is free.
SDL_Surface* sdl_wayland_surface_begin(bool* fresh);
// The buffer to the compositor; `changed` is what differs (null: all of it).
void sdl_wayland_surface_send(const SDL_Rect* changed);
// True when a picture could not be drawn for want of a free buffer and one
// has come back since.
bool sdl_wayland_surface_owed();
// Whether the scale of the window's output changed since the last call (a
// standing game then draws again).
bool sdl_wayland_surface_rescaled();
void sdl_wayland_surface_close();

// ---- The clock (sdl_clock.cpp) ----
// From now on the game's clock follows the display's refresh (about 60 or 120 Hz).
void sdl_lock_clock_to_refresh(int refresh_rate);
// A frame has just been presented; presenting began at `present_began`
// (SDL's performance counter, in milliseconds).
void sdl_clock_presented(double present_began);
double sdl_precise_ms();

// ---- Keyboard and pads (sdl_input.cpp) ----
// Binds the game's keys for this keyboard layout and opens SDL's pad support
// with the player's own mappings, if any.
void sdl_start_input();
// The game's keys bound again after the player changed them.
void sdl_bind_keys();
// A pad button the options menu used: the game does not see it held until released.
void sdl_pad_button_taken_by_window(Uint8 button);
// Whether the pad is one SDL knows (read through its game controller API).
bool sdl_pad_is_controller();
// Plugging and unplugging, and the pads' button presses.
void sdl_pad_event(const SDL_Event& event);
void sdl_key_went_down(SDL_Scancode scancode);
void sdl_key_came_up(SDL_Scancode scancode);
// A key the window used (Enter of Alt+Enter): the game does not see it held
// until it has been released.
void sdl_key_taken_by_window(SDL_Scancode scancode);
// The frame's input has been read and its picture shown: taps are spent.
void sdl_frame_shown();

// ---- The picture (sdl_display.cpp, sdl_screenshot.cpp) ----
// F12: the picture last shown, saved as a PNG in the player's pictures folder.
void sdl_save_shown_picture();
void sdl_save_screenshot(const uint16_t* pixels, int width, int height, int pitch);
// The picture last shown again, with the options and captions over it as they
// are now; no frame runs and nothing is recorded.
void sdl_present_again();
// Lays `image` (picture-sized; null: none) over everything and presents it,
// over a black picture when no frame has been shown yet; false when there is
// no display to show it on.
bool sdl_show_panel(const OverlayImage* image);
// The last picture again if one could not be shown and now can; for a window
// that draws only when something changes (paused, the menu, a message).
void sdl_present_owed();
// A point of the window (in its units, as its events give them) in the
// game's pixels; false outside the picture.
bool sdl_window_to_picture(int window_x, int window_y, int* x, int* y);

// ---- The options menu over the game (sdl_overlay.cpp) ----
// The menu's words in the edition played.
void sdl_overlay_language(bool english);
// F1, Tab while it is no game key, or a pad's Start.
bool sdl_opens_overlay(const SDL_Event& event);
void sdl_open_overlay();
bool sdl_overlay_is_open();
// The game ends with the menu open (a signal, the window closed).
void sdl_release_overlay();
// An event while the menu is open: true when the menu took it; *quit when
// the player chose to quit.
bool sdl_overlay_event(const SDL_Event& event, bool* quit);
// The menu's picture (320 x 240) to lay over the game's, or null when closed.
const OverlayImage* sdl_overlay_picture();
// The overlay's pixel font, loaded on first use; null (said once on standard
// error) when it cannot be read.
const PixelFont* sdl_overlay_font();

// ---- Captions (sdl_captions.cpp) ----
// From now on the voices the game asks for are followed, for their captions.
void sdl_start_captions(bool english);
// The voice's clip started and lasts this long.
void sdl_caption_voice_played(uint32_t clip_ms);
// The captions' clock stands still with the game.
void sdl_captions_pause(bool paused);
// The band (caption_band_width x caption_band_height) to lay over the
// picture's bottom, or null when no caption shows.
const OverlayImage* sdl_caption_band();

// ---- The player's records (sdl_records.cpp) ----
// Reads the records at start (not for a playback), setting a damaged file aside.
void sdl_start_records(bool english);
// After each frame shown: a round that ended updates them, and the best
// round's recording is kept.
void sdl_records_frame(const uint16_t* pixels, int width, int height, int pitch);
// Whether records are kept (a live game whose records could be read), and the
// running edition's, with whether its best round's recording is there.
bool sdl_records_kept();
struct EditionRecords;
void sdl_records_now(EditionRecords* records, bool* best_round_kept);
// The best round played back from its start in the viewer, in place of the
// live game (which then counts for no record); false, said on standard error,
// when it cannot be.
bool sdl_watch_best_round();

// ---- Watching a playback (sdl_viewer.cpp) ----
// At start-up: the playback's speed from --speed and the band's edition.
void sdl_start_viewer(bool english);
// A key or pad button that pauses, steps, changes the speed or seeks while a
// playback plays: true when it was taken.
bool sdl_viewer_event(const SDL_Event& event);
// The game's clock from SDL's at the playback's speed (SDL's own without one),
// and how long to wait on SDL's clock for the game's to move `game_ms`.
uint32_t sdl_viewer_clock(uint32_t real_ms);
int32_t sdl_viewer_wait(int32_t game_ms);
// Paused with no frame to step: the game stands still.
bool sdl_viewer_stands_still();
// Off the game's pace or seeking: no sound is heard.
bool sdl_viewer_hushed();
// A frame has run: whether its picture is to be presented (not while seeking,
// nor more often than the screen can show when unpaced).
bool sdl_viewer_shows_frame();
// A seek back asks for the game to start again; it has.
bool sdl_viewer_restart_wanted();
void sdl_viewer_restarted();
// A playback begun in the middle of a live game: watched from its start.
void sdl_viewer_watch();
// The black box forgets the frames shown: the game starts again.
void sdl_black_box_forget();
// The band (playback_band_width wide) to lay over the picture's top, or null.
const OverlayImage* sdl_viewer_band();

// ---- Recording and playing back (sdl_record.cpp) ----
// Opens the recording and reads the script to play back; false (with a
// message) when either cannot be done.
bool sdl_start_recording_and_playback();
// While playing back: the edition the script was recorded in (Japanese
// when it names none, as the replay tool plays it). False when not playing back.
bool sdl_playback_language(bool* english);
// The seed the game is started with: the played-back script's (1 when it
// names none), else the clock's; a recording writes it down.
uint32_t sdl_game_seed(uint32_t clock_seed);
// A frame has been shown with this picture: the recording goes on.
void sdl_record_frame(const uint16_t* pixels, int width, int height, int pitch);
// The player's Escape went to the game.
void sdl_record_escape();
// Ends the recording with the last frame's number and picture hash. False
// when the recording could not be written (already told on stderr).
bool sdl_finish_recording();
// Whether the recording can start again with the game (not when it goes to a
// stream); it does, cut back to nothing, before the game is seeded again.
bool sdl_recording_can_restart();
// Plays the recording at `path` back from now on, if it can be read and is of
// the edition played; false, said on standard error, when not.
bool sdl_play_back_now(const std::string& path);
void sdl_restart_recording();
// The same from another thread while the main thread is stuck: the game ends
// right after it.
void sdl_finish_recording_at_once();

// ---- Sound (sdl_audio.cpp) ----
// Holds every effect, the voice and the music where they are, or lets them go on.
void sdl_audio_pause(bool paused);
// M: all sound off, or back at the volumes asked for.
void sdl_switch_mute();
// The volumes and mute of host_options, now.
void sdl_apply_volumes();
// --nosound: the sound calls succeed and nothing sounds.
bool sdl_playing_silently();

// ---- Signals (sdl_signals.cpp) ----
// SIGTERM, SIGINT and SIGHUP ask the game to quit, even while a message box is
// open. Called first thing in main, before any other thread exists.
void sdl_catch_signals();
bool sdl_quit_signalled();
// Set while a message box is up, so that a signal can take it down.
void sdl_box_open(bool open);

// ---- Crashes and the display (sdl_black_box.cpp, sdl_display_check.cpp) ----
// From now on a crash writes the session's input as a recording to the
// player's state folder. Called at start, on the main thread.
void sdl_start_black_box();
// A frame has been shown and recorded: what a crash would write ends with it.
void sdl_black_box_frame_shown(const uint16_t* pixels, int width, int height, int pitch);
// False (with a message) when there is no display to open and the player has
// not named a video driver: SDL would play on an invisible one.
bool sdl_display_named();
// Right after SDL's video starts: false (with a message) when SDL fell back
// to a driver that shows nothing; else losing the display from now on ends
// the game with a message and the recording closed.
bool sdl_display_opened();
// SDL says quit: when that is the display gone, the game ends as on a lost one.
void sdl_check_display_on_quit();

// ---- Profile (sdl_profile.cpp) ----
// The opt-in timing of KUZARI_PROFILE=1: the clock to pass back when
// presenting or waiting is over; 0 when the profile is off.
double sdl_profile_clock();
void sdl_profile_presented(double began);
void sdl_profile_waited(double began);
// Time the main thread spent in the music since `began`.
void sdl_profile_music(double began);
// Start-up's step `name` (a literal) ends now; reported only before the
// first picture.
void sdl_profile_step(const char* name);

// The samples of the slot's clip in the device's format and their byte count,
// or null (and 0) without a clip. For the tests.
const uint8_t* sdl_clip_samples(int slot, uint32_t* byte_count);

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
