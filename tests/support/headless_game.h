// Starts the game's services in this test process on the headless host,
// reading the committed data, for tests that call the game's functions directly.
// Every test runs in a process of its own, so the globals start fresh.
#pragma once

#include "hosts/headless/headless.h"

// Enters the data directory and opens the window and the display (the title
// sheet is loaded, as at start-up). False if the display did not start.
bool start_headless_display(HeadlessConfig config = HeadlessConfig{});
// The display, the sound device and the music engine, as at start-up.
bool start_headless_game(HeadlessConfig config = HeadlessConfig{});
