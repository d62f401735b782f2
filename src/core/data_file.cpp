// Whole-file reads of the game's data, in the language chosen: another
// language's files lie under lang/<language>/ with the same names, and any it
// lacks are the Japanese ones. The size is known before anything is
// allocated, so an oversized file costs nothing; anything but a regular file
// is refused without being opened for long, so a FIFO cannot hang the game.
#include <cstdio>
#include <string>

#include "core/data_file.h"
#include "core/file_read.h"

namespace {

GameLanguage chosen_language = language_japanese;
std::string data_folder;

std::string in_data_folder(const std::string& path) { return data_folder.empty() ? path : data_folder + "/" + path; }

}  // namespace

void set_game_language(GameLanguage language) { chosen_language = language; }
GameLanguage game_language() { return chosen_language; }
void set_data_folder(const std::string& folder) { data_folder = folder; }

bool read_data_file(const char* path, size_t max_bytes, std::vector<uint8_t>* bytes) {
    std::string full_path, reason;
    FileReadOutcome outcome = file_missing;
    if (chosen_language == language_english) {
        full_path = in_data_folder(std::string("lang/en/") + path);
        outcome = read_whole_file(full_path, max_bytes, bytes, &reason);
    }
    if (outcome == file_missing || outcome == file_not_opened) {
        full_path = in_data_folder(path);
        outcome = read_whole_file(full_path, max_bytes, bytes, &reason);
    }
    // A missing file is the game's to report; why one that is there cannot
    // be used, only we know.
    if (outcome == file_refused) std::fprintf(stderr, "kuzari: %s: %s\n", full_path.c_str(), reason.c_str());
    return outcome == file_read;
}
