// The verdict on a recording: played from its own seed and edition, does the
// game reach the frame and picture its closing line names?
#pragma once

#include <cstdint>
#include <string>

#include "hosts/shared/recording_claims.h"
#include "hosts/shared/round_watch.h"

// How the last round the run finished came out.
enum RoundOutcome { outcome_none, outcome_won, outcome_lost };

struct VerifyRun {
    uint64_t last_frame = 0;
    bool closing_reached = false;
    uint64_t closing_hash = 0;  // the picture shown on the closing frame
    RoundOutcome outcome = outcome_none;
    int32_t rank = 0;
    int32_t food_left = 0;
    RoundWatch watch;
};

// Called after every frame the run shows, with the game's state as it stands.
void verify_frame(VerifyRun* run, const RecordingClaims& claims, uint64_t frame);

// The one line that says whether the run bore the recording out; sets
// `verified`. The line ends without a line break.
std::string verdict_line(const RecordingClaims& claims, const VerifyRun& run, bool* verified);
// The line for a recording that could not be read.
std::string unreadable_line(const std::string& reason);
