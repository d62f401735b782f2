// The options menu's words in both editions. One layout serves both: a label
// stands in the row's left column, a value right-aligned in its right one,
// titles and foot lines across the panel; "%s" is filled in when drawn.
#pragma once

#include "hosts/shared/game_keys.h"

enum MenuWords {
    words_title,
    words_controls_title,
    words_quit_title,
    words_pad_title,
    words_resume,
    words_volume,
    words_music,
    words_effects,
    words_mute,
    words_captions,
    words_language,
    words_screen,
    words_scale,
    words_pause_in_background,
    words_controls,
    words_quit,
    words_pad,
    words_restore_defaults,
    words_back,
    words_quit_no,
    words_quit_yes,
    words_on,
    words_off,
    words_auto,
    words_japanese,
    words_english,
    words_full_screen,
    words_window,
    words_scale_times,  // "%s": the factor
    words_percent,      // "%s": the volume
    words_none,
    words_hint_main,
    words_hint_controls,
    words_hint_question,
    words_hint_pad,
    words_language_note,
    words_press_key,
    words_press_button,
    words_key_moved,  // "%s": the game key that had it
    words_undone,
    words_key_kept,
    words_defaults_restored,
    words_defaults_drop,  // "%s": the keys and buttons they would drop
    words_records_title,
    words_records,
    words_rounds_played,
    words_perfect_rounds,
    words_best_rank,
    words_most_food,
    words_watch_best_round,
    words_rank_of,  // "%s": the rank, 0 to 3
    words_cannot_watch,
    words_vibration,
    // A touch screen's hints, in place of the keys' ones above.
    words_hint_main_touch,
    words_hint_controls_touch,
    words_hint_question_touch,
    words_hint_pad_touch,
    words_press_key_touch,
    words_press_button_touch,
    menu_words_count
};

enum MenuWordsPlace { place_title, place_label, place_value, place_foot };

struct MenuWordsEntry {
    MenuWordsPlace place;
    const char* japanese;
    const char* english;
};

extern const MenuWordsEntry menu_words[menu_words_count];
// What each game key is called on the controls page and in messages.
extern const MenuWordsEntry game_key_words[game_key_count];

inline const char* words(MenuWords which, bool english) {
    return english ? menu_words[which].english : menu_words[which].japanese;
}
