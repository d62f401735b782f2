// The player's records, kept between games for each edition (its raiders and
// pictures differ, so each is chased on its own): rounds played, perfect
// rounds, the best rank and the most food left. Only rounds played live count,
// never a playback. A text file, one record a line, "EDITION KEY VALUE".
#pragma once

#include <cstdint>
#include <string>

constexpr int32_t no_rank = -1;

struct EditionRecords {
    uint64_t rounds = 0;
    uint64_t perfect = 0;
    int32_t best_rank = no_rank;  // 0 to 3; no_rank before a round is won
    int32_t most_food = 0;        // left at the end of a won round, 0 to 4000
};

struct Records {
    EditionRecords japanese, english;
};

EditionRecords& edition_records(Records* records, bool english);

// A round ended, won with this rank and food left, or lost. True when it is
// the edition's best round so far (the most food left), whose recording is
// kept.
bool add_round(Records* records, bool english, bool won, int32_t rank, int32_t food_left);

std::string records_text(const Records& records);
// False, with `error` naming the line and what is wrong in it (its text
// shown safely), for anything records_text would not write.
bool parse_records(const std::string& text, Records* records, std::string* error);
