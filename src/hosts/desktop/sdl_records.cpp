// The player's records on the desktop: read at start from
// $XDG_STATE_HOME/kuzari/records.txt (~/.local/state/kuzari/), brought up to
// date as each round played live ends, and written whole or not at all; the
// best round's recording kept beside it as best-ja.txt or best-en.txt. A
// damaged records file is set aside, named, never silently replaced; one that
// cannot be read at all is left alone and nothing is kept this session.
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/file_read.h"
#include "core/picture_hash.h"
#include "core/shown_text.h"
#include "hosts/desktop/sdl_environment.h"
#include "hosts/desktop/sdl_platform.h"
#include "hosts/shared/file_writer.h"
#include "hosts/shared/input_feed.h"
#include "hosts/shared/records.h"
#include "hosts/shared/round_watch.h"

namespace {

constexpr size_t max_records_bytes = 64 * 1024;

bool keeping = false;
bool english = false;
std::string folder;  // ends with '/'
Records records;
RoundWatch watch;
bool best_to_keep = false;  // the round under way is the best: its recording is kept again once its rank has stood

std::string records_path() { return folder + "records.txt"; }
std::string best_path() { return folder + (english ? "best-en.txt" : "best-ja.txt"); }

void make_folders(const std::string& path) {
    for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1))
        mkdir(path.substr(0, slash).c_str(), 0700);
}

// A damaged file goes to records.txt.damaged (-2, -3, ... when taken).
bool set_aside(const std::string& path, std::string* aside) {
    *aside = path + ".damaged";
    struct stat info;
    for (int n = 2; stat(aside->c_str(), &info) == 0 && n < 1000; ++n) *aside = path + ".damaged-" + std::to_string(n);
    return std::rename(path.c_str(), aside->c_str()) == 0;
}

void write_or_say(const std::string& path, const std::string& text, const char* what) {
    std::string error;
    if (!write_whole_file(path, text.data(), text.size(), &error))
        std::fprintf(stderr, "kuzari: cannot write %s %s: %s\n", what, path.c_str(), error.c_str());
}

// The recording of the game so far, closing on the picture just shown.
void keep_best_round(const uint16_t* pixels, int width, int height, int pitch) {
    Recorder so_far = input_feed.recorder;
    so_far.last_picture_hash = picture_hash(pixels, width, height, pitch);
    write_or_say(best_path(), recording_text(so_far), "the best round's recording");
}

}  // namespace

void sdl_start_records(bool in_english) {
    english = in_english;
    if (input_feed.playing) return;  // a playback is no round of the player's
    const std::string state = kuzari_xdg_dir("XDG_STATE_HOME", ".local/state");
    if (state.empty()) {
        std::fprintf(stderr, "kuzari: neither XDG_STATE_HOME nor HOME names a folder: no records are kept\n");
        return;
    }
    folder = state + "/";
    std::string text, reason;
    switch (read_whole_file(records_path(), max_records_bytes, &text, &reason)) {
    case file_missing:
        break;
    case file_read:
        if (parse_records(text, &records, &reason)) break;
        {
            std::string aside;
            if (!set_aside(records_path(), &aside)) {
                std::fprintf(stderr, "kuzari: the records in %s are damaged (%s) and cannot be set aside (%s): "
                                     "none are kept this session\n",
                             records_path().c_str(), reason.c_str(), std::strerror(errno));
                return;
            }
            std::fprintf(stderr, "kuzari: the records in %s are damaged (%s); they are set aside as %s and "
                                 "new ones begin\n",
                         records_path().c_str(), reason.c_str(), aside.c_str());
        }
        records = Records{};
        break;
    default:
        std::fprintf(stderr, "kuzari: cannot read the records %s: %s; none are kept this session\n",
                     records_path().c_str(), reason.c_str());
        return;
    }
    keeping = true;
}

bool sdl_records_kept() { return keeping; }

void sdl_records_now(EditionRecords* mine, bool* best_round_kept) {
    *mine = edition_records(&records, english);
    struct stat info;
    *best_round_kept = keeping && mine->best_rank != no_rank && stat(best_path().c_str(), &info) == 0;
}

bool sdl_watch_best_round() {
    // The recording of this session would have to start again with the playback.
    if (!sdl_recording_can_restart()) {
        std::fprintf(stderr, "kuzari: the recording goes to a stream: the best round cannot be watched now\n");
        return false;
    }
    if (!sdl_play_back_now(best_path())) return false;
    keeping = false;  // from here on it is a playback, no round of the player's
    sdl_viewer_watch();
    return true;
}

void sdl_records_frame(const uint16_t* pixels, int width, int height, int pitch) {
    if (!keeping) return;
    const int write = records_after_event(&records, &best_to_keep, watch_round(&watch), english, round_rank(),
                                          round_food_left());
    if (write == write_nothing) return;
    make_folders(folder);
    // The recording first: records that name a best round have it beside them.
    if (write & write_best_round) keep_best_round(pixels, width, height, pitch);
    if (!(write & write_records)) return;
    if (write & write_best_round)
        std::fprintf(stderr, "kuzari: a best round (rank %d, %d food left), its recording kept in %s\n",
                     round_rank(), round_food_left(), best_path().c_str());
    write_or_say(records_path(), records_text(records), "the records");
}
