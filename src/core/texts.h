// The message boxes' texts, in the language chosen.
#pragma once

enum GameText { text_display_failed, text_sound_failed, text_music_failed, text_missing_file };
// A box's text in the language chosen (UTF-8).
const char* game_text(GameText text);
