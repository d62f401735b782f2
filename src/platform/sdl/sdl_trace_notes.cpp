// The real game keeps no trace: these notes are for headless runs only.
#include "platform/platform.h"

void platform_note_sheet(const char*) {}
void platform_note_se(int) {}
void platform_note_voice(const char*) {}
void platform_note_music(const char*, bool) {}
void platform_note_stop_music() {}
void platform_frame_finished(bool) {}
