// The message boxes' texts, in the language chosen.
#pragma once

enum GameText { text_display_failed, text_sound_failed, text_music_failed, text_missing_file };
// A box's text in the language chosen (UTF-8).
const char* game_text(GameText text);

// A host's own line under one of the texts, in each language: what the player
// can do about it on that host.
void add_text_hint(GameText text, const char* japanese, const char* english);
