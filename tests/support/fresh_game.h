// Puts every global of the game (and the headless host) back as it is
// when the program starts, so that the in-process tests run in any order in
// one process. Every test starts from it; see test_main.cpp.
#pragma once

void reset_game_to_start();
