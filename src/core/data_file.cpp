// Whole-file reads of the game's data, in the language chosen: another
// language's files lie under lang/<language>/ with the same names, and any it
// lacks are the Japanese ones. The size is known before anything is
// allocated, so an oversized file costs nothing.
#include <cstdio>
#include <string>

#include "core/data_file.h"

namespace {

GameLanguage chosen_language = language_japanese;
std::string data_folder;

FILE* open_in_data_folder(const std::string& path) {
    return std::fopen((data_folder.empty() ? path : data_folder + "/" + path).c_str(), "rb");
}

FILE* open_data_file(const char* path) {
    if (chosen_language == language_english) {
        if (FILE* file = open_in_data_folder(std::string("lang/en/") + path)) return file;
    }
    return open_in_data_folder(path);
}

}  // namespace

void set_game_language(GameLanguage language) { chosen_language = language; }
GameLanguage game_language() { return chosen_language; }
void set_data_folder(const std::string& folder) { data_folder = folder; }

bool read_data_file(const char* path, size_t max_bytes, std::vector<uint8_t>* bytes) {
    FILE* file = open_data_file(path);
    if (!file) return false;
    bool ok = std::fseek(file, 0, SEEK_END) == 0;
    const long length = ok ? std::ftell(file) : -1;
    ok = ok && length >= 0 && size_t(length) <= max_bytes && std::fseek(file, 0, SEEK_SET) == 0;
    if (ok) {
        bytes->resize(size_t(length));
        ok = std::fread(bytes->data(), 1, bytes->size(), file) == bytes->size();
    }
    std::fclose(file);
    return ok;
}
