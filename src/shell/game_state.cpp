// One place that knows every part holding game state, so that start-up (and
// each test) begins from the same ground whatever ran before in the process.
#include "audio/audio.h"
#include "core/input.h"
#include "core/random.h"
#include "gameplay/gameplay.h"
#include "graphics/graphics.h"
#include "scenes/scenes.h"
#include "shell/shell.h"

void reset_game_state() {
    reset_shell();
    reset_title();
    reset_round_flow();
    reset_cutin();
    reset_result();
    reset_round_data();
    reset_transitions();
    reset_sound_state();
    reset_input();
    game_srand(0);  // the state before any seed; the window's creation seeds it
}
