// KUZARI_EVENT_LOG=FILE: the real game writes a line to FILE for each thing
// its tests wait for, so that they wait for what the game did instead of for
// a time guessed on a quiet machine. Unset, each call is one test.
//   shown N       the Nth picture was presented
//   title S       the title's state changed to S (3: the menu takes input)
//   round S       the round's state changed to S
//   voice MS      a voice's clip began, MS milliseconds long
//   hint WORDS    the words laid over the game's hint line changed ("hint"
//                 alone: none, the game's own line shows)
//   paused, running  the game stood still (the menu, if open, on the screen),
//                    then went on
#pragma once

#include <cstdint>

void sdl_event_log_start();
void sdl_event_log_shown();
void sdl_event_log_voice(uint32_t clip_ms);
void sdl_event_log_paused(bool paused);
void sdl_event_log_hint(const char* words);
