// Our MIDI check on arbitrary bytes: it must never read outside them.
#include "audio/midi_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    midi_file_is_well_formed(data, size);
    return 0;
}
