#include "verify.h"

#include <cstdio>

#include "graphics/graphics.h"

namespace {

std::string hex16(uint64_t value) {
    char text[20];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
    return text;
}

}  // namespace

void verify_frame(VerifyRun* run, const RecordingClaims& claims, uint64_t frame) {
    run->last_frame = frame;
    if (frame == claims.frames) {
        run->closing_reached = true;
        run->closing_hash = back_buffer_hash();
    }
    // A later round's end replaces an earlier one's.
    switch (watch_round(&run->watch)) {
    case round_event_won:
        run->outcome = outcome_won;
        run->rank = round_rank();
        run->food_left = round_food_left();
        break;
    case round_event_lost:
        run->outcome = outcome_lost;
        run->food_left = 0;
        break;
    default:
        break;
    }
}

std::string verdict_line(const RecordingClaims& claims, const VerifyRun& run, bool* verified) {
    *verified = false;
    const std::string closing = std::to_string(claims.frames);
    if (run.last_frame < claims.frames)
        return "not verified: the game ended at frame " + std::to_string(run.last_frame) +
               ", before the closing frame " + closing;
    if (run.closing_hash != claims.picture_hash)
        return "not verified: frame " + closing + " shows picture " + hex16(run.closing_hash) +
               ", the closing line says " + hex16(claims.picture_hash);
    if (run.last_frame > claims.frames)
        return "not verified: the game went on to frame " + std::to_string(claims.frames + 1) +
               " past the closing frame " + closing;
    *verified = true;
    std::string line = "verified: " + closing + " frames, closing picture " + hex16(claims.picture_hash);
    if (run.outcome == outcome_won)
        line += ", round won with rank " + std::to_string(run.rank) + " of 3 and " + std::to_string(run.food_left) +
                " food left";
    else if (run.outcome == outcome_lost)
        line += ", round lost with no food left";
    return line;
}

std::string unreadable_line(const std::string& reason) { return "not verified: " + reason; }
