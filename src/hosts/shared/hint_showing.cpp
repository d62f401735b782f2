// Which hint line the game shows, read from its state; a file of its own so
// that a tool drawing the hints' bands links none of the game.
#include "gameplay/gameplay.h"
#include "hosts/shared/hints.h"
#include "scenes/scenes.h"
#include "shell/shell.h"

GameHint game_hint_now() {
    if (top_scene == scene_title && title_state >= title_opening && title_state <= title_closing) return hint_title;
    if (top_scene == scene_play && round_state == round_playing && round_data.shots[0].state != shot_in_stock)
        return hint_refill;
    return hint_none;
}
