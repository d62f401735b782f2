// Whole-file reads of the game's data. The size is known before anything is
// allocated, so an oversized file costs nothing.
#include <cstdio>

#include "shell/shell.h"

bool read_data_file(const char* path, size_t max_bytes, std::vector<uint8_t>* bytes) {
    FILE* file = std::fopen(path, "rb");
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
