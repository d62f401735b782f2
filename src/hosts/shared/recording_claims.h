// What a recording says of itself: the seed and edition it opens with and the
// frame and picture hash it closes on. Checking a recording means playing it
// and holding the game to these.
#pragma once

#include <cstdint>
#include <string>

struct RecordingClaims {
    uint32_t seed = 0;
    bool english = false;
    uint64_t frames = 0;        // the closing line's frame
    uint64_t picture_hash = 0;  // the picture shown on that frame
};

// Reads the opening "# seed N" and "# lang ja|en" lines and the closing
// "# frame N fb HASH" line, after which only comments may follow (a crash's
// backtrace). False with `reason` when a part is missing or malformed; the
// file's own text in it is shown safely.
bool read_recording_claims(const std::string& text, RecordingClaims* claims, std::string* reason);
