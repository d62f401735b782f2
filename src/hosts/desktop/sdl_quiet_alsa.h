// ALSA's own error lines kept off the terminal while SDL probes for sound.
#pragma once

void sdl_quiet_alsa();
