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

// What a host writes after a frame: the records text, the recording of the
// game so far as the edition's best round; either, both or neither.
enum RecordsWrite { write_nothing = 0, write_records = 1, write_best_round = 2 };

// A round's event (a RoundEvent of round_watch.h) with the round's rank and
// food left brings the records up to date. A best round's recording is kept
// as its rank is taken and again once the rank has stood, so that it plays to
// the ranking's end; `best_to_keep` carries that between the two.
int records_after_event(Records* records, bool* best_to_keep, int event, bool english, int32_t rank,
                        int32_t food_left);

std::string records_text(const Records& records);
// False, with `error` naming the line and what is wrong in it (its text
// shown safely), for anything records_text would not write.
bool parse_records(const std::string& text, Records* records, std::string* error);
