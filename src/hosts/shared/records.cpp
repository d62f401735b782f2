#include "hosts/shared/records.h"

#include <sstream>

#include "core/shown_text.h"
#include "hosts/shared/input_script.h"
#include "hosts/shared/round_watch.h"

namespace {

constexpr int32_t best_rank_of_all = 3;
constexpr int32_t all_the_food = 4000;

struct RecordKey {
    const char* name;
    uint64_t max;
};
const RecordKey record_keys[] = {
    {"rounds", UINT64_MAX}, {"perfect", UINT64_MAX}, {"best-rank", best_rank_of_all}, {"most-food", all_the_food}};

void set_record(EditionRecords* records, int key, uint64_t value) {
    switch (key) {
    case 0: records->rounds = value; break;
    case 1: records->perfect = value; break;
    case 2: records->best_rank = int32_t(value); break;
    default: records->most_food = int32_t(value); break;
    }
}

void add_edition(std::string* text, const char* name, const EditionRecords& records) {
    if (!records.rounds) return;
    const std::string start = std::string(name) + " ";
    *text += start + "rounds " + std::to_string(records.rounds) + "\n";
    *text += start + "perfect " + std::to_string(records.perfect) + "\n";
    if (records.best_rank == no_rank) return;
    *text += start + "best-rank " + std::to_string(records.best_rank) + "\n";
    *text += start + "most-food " + std::to_string(records.most_food) + "\n";
}

}  // namespace

EditionRecords& edition_records(Records* records, bool english) {
    return english ? records->english : records->japanese;
}

bool add_round(Records* records, bool english, bool won, int32_t rank, int32_t food_left) {
    EditionRecords& mine = edition_records(records, english);
    ++mine.rounds;
    if (!won) return false;
    if (food_left == all_the_food) ++mine.perfect;
    // The rank follows the food left, so the most food is the best round;
    // a tie keeps the round that got there first.
    if (mine.best_rank != no_rank && food_left <= mine.most_food) return false;
    mine.best_rank = rank;
    mine.most_food = food_left;
    return true;
}

int records_after_event(Records* records, bool* best_to_keep, int event, bool english, int32_t rank,
                        int32_t food_left) {
    if (event == round_event_none) return write_nothing;
    if (event == round_event_rank_stood) {
        const bool again = *best_to_keep;
        *best_to_keep = false;
        return again ? write_best_round : write_nothing;
    }
    *best_to_keep = add_round(records, english, event == round_event_won, rank, food_left);
    return write_records | (*best_to_keep ? write_best_round : write_nothing);
}

std::string records_text(const Records& records) {
    std::string text = "# Kuzari's records for each edition, kept by the game.\n";
    add_edition(&text, "ja", records.japanese);
    add_edition(&text, "en", records.english);
    return text;
}

bool parse_records(const std::string& text, Records* records, std::string* error) {
    Records read;
    bool seen[2][4] = {};
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        std::istringstream words(line);
        std::string edition, name, value, extra;
        if (!(words >> edition) || edition[0] == '#') continue;
        const std::string at = "line " + std::to_string(number) + ": ";
        if (!(words >> name >> value) || words >> extra) {
            *error = at + "'" + shown_text(line) + "' is not EDITION KEY VALUE";
            return false;
        }
        if (edition != "ja" && edition != "en") {
            *error = at + "the edition '" + shown_text(edition) + "' is neither ja nor en";
            return false;
        }
        int key = 0;
        while (key < 4 && name != record_keys[key].name) ++key;
        if (key == 4) {
            *error = at + "unknown record '" + shown_text(name) + "'";
            return false;
        }
        const int e = edition == "en" ? 1 : 0;
        if (seen[e][key]) {
            *error = at + "'" + shown_text(name) + "' of " + edition + " again";
            return false;
        }
        seen[e][key] = true;
        uint64_t number_read;
        if (!parse_decimal(value, record_keys[key].max, &number_read)) {
            *error = at + "'" + shown_text(value) + "' is no number from 0 to " + std::to_string(record_keys[key].max);
            return false;
        }
        set_record(&edition_records(&read, e == 1), key, number_read);
    }
    for (const bool english : {false, true}) {
        const EditionRecords& mine = edition_records(&read, english);
        const bool* had = seen[english ? 1 : 0];
        if (had[2] != had[3] || mine.perfect > mine.rounds || (had[2] && mine.rounds == 0) ||
            (mine.perfect && mine.most_food != all_the_food)) {
            *error = std::string("the records of ") + (english ? "en" : "ja") + " do not agree with each other";
            return false;
        }
    }
    *records = read;
    return true;
}
