// The player's records on the page, kept as the desktop keeps them but in the
// browser's storage, which only the page's script reaches: the page hands the
// module the kept text before a game starts; as each round played live ends
// the module brings the records up to date (and, for a best round, makes its
// recording), and the page takes what changed once a refresh to keep it.
#include <string>

#include "core/data_file.h"
#include "hosts/shared/input_feed.h"
#include "hosts/shared/records.h"
#include "hosts/shared/round_watch.h"
#include "hosts/web/web_host.h"

namespace {

bool keeping = false;
bool scripts_count = false;  // test mode: its script stands for live play
bool best_kept[2] = {};      // each edition's best round is in the page's storage
Records records;
RoundWatch watch;
bool best_to_keep = false;   // kept again once the round's rank has stood
int to_take = write_nothing;  // RecordsWrite bits the page has yet to take
std::string error;
std::string records_written;
std::string best_round;

bool english() { return game_language() == language_english; }

}  // namespace

// The kept records text in the text buffer (`has_text` 0: nothing is kept
// yet): 1 when it was read; 0 when it is damaged, the reason in
// web_records_error, and the records begin anew once the page has set the
// text aside. Either way records are kept from now on.
WEB_EXPORT("web_records_begin") int web_records_begin(int has_text) {
    keeping = true;
    records = Records{};
    if (!has_text) return 1;
    Records read;
    if (!parse_records(web_text(), &read, &error)) return 0;
    records = read;
    return 1;
}

// The damaged text could not be set aside: nothing is kept this visit.
WEB_EXPORT("web_records_stop") void web_records_stop() { keeping = false; }

WEB_EXPORT("web_records_error") const char* web_records_error() { return error.c_str(); }

// Whether the page holds each edition's best round.
WEB_EXPORT("web_records_best_kept") void web_records_best_kept(int ja, int en) {
    best_kept[0] = ja != 0;
    best_kept[1] = en != 0;
}

// Test mode: the script it plays counts as a round of the player's.
WEB_EXPORT("web_records_count_scripts") void web_records_count_scripts() { scripts_count = true; }

// What changed since the last call, RecordsWrite bits: bit 0 the records text
// (web_records_text), bit 1 the best round's recording (web_best_round) and
// its edition's name (web_best_round_edition).
WEB_EXPORT("web_records_take") int web_records_take() {
    const int taken = to_take;
    to_take = write_nothing;
    return taken;
}

WEB_EXPORT("web_records_text") const char* web_records_text() {
    records_written = records_text(records);
    return records_written.c_str();
}

WEB_EXPORT("web_best_round") const char* web_best_round() { return best_round.c_str(); }

WEB_EXPORT("web_best_round_edition") const char* web_best_round_edition() { return english() ? "en" : "ja"; }

bool web_records_kept() { return keeping; }

void web_records_show(EditionRecords* mine, bool* best_round_kept) {
    *mine = edition_records(&records, english());
    *best_round_kept = keeping && mine->best_rank != no_rank && best_kept[english() ? 1 : 0];
}

void web_records_frame() {
    // A playback is no round of the player's.
    if (!keeping || (input_feed.playing && !scripts_count)) return;
    const int write = records_after_event(&records, &best_to_keep, watch_round(&watch), english(), round_rank(),
                                          round_food_left());
    if (write & write_best_round) best_round = recording_text(input_feed.recorder);
    to_take |= write;
}
