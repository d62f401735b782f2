// Reading a whole file from outside the game: only a regular file is opened
// (a FIFO or a device would block or never end), and only up to a size that
// fits what it should hold, so no file can hang the game or exhaust memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum FileReadOutcome {
    file_read,        // the whole file is in the buffer
    file_missing,     // there is no such file
    file_not_opened,  // it could not be opened otherwise: not allowed...
    file_refused,     // opened, but not a regular file, too large, or unreadable
};

// Reads the whole of `path` if it is a regular file of at most `max_bytes`.
// On failure `reason` says why ("is a directory", "No such file or
// directory", ...) and the buffer is left empty.
FileReadOutcome read_whole_file(const std::string& path, size_t max_bytes, std::vector<uint8_t>* bytes,
                                std::string* reason);
FileReadOutcome read_whole_file(const std::string& path, size_t max_bytes, std::string* text, std::string* reason);

// True when `path` is a regular file that can be opened for reading, without
// reading it; else `reason` says why.
bool readable_regular_file(const std::string& path, std::string* reason);
