// Files written whole or not at all. A file goes into a temporary file beside
// its target and is renamed into place only once all of it is on disk, so a
// full disk or a crash never leaves a partial file where the target is. A
// target that is a stream (a pipe, a terminal, a device such as /dev/stdout
// or /dev/null) is written straight, append-only: it cannot be taken back.
// Every failure is kept as its reason, for the caller to report with the path.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct FileWriter {
    std::string target;     // the path asked for
    std::string temporary;  // where the text goes until it is complete; empty for a stream
    int fd = -1;
    bool stream = false;    // written straight to the target
    std::string pending;    // written, not yet handed to the system
    uint64_t size = 0;      // the file's length with `pending`
    std::string error;      // the first failure's reason; empty while all is well
};

// Opens the temporary file (or the stream). False, with the reason in
// writer->error, when it cannot be made.
bool writer_open(FileWriter* writer, const std::string& path);

// Writes to a stream already open, such as standard output (`name` stands in
// for the path in messages); committing closes it.
void writer_open_stream(FileWriter* writer, int fd, const std::string& name);

// Appends; false once anything has failed.
bool writer_write(FileWriter* writer, const void* data, size_t size);
bool writer_write(FileWriter* writer, const std::string& text);

// Hands what was written to the system, so that it is in the file now.
bool writer_flush(FileWriter* writer);

// Writes `text` over the file from `offset` on, cutting off what followed. A
// stream cannot be rewritten: false.
bool writer_rewrite_tail(FileWriter* writer, uint64_t offset, const std::string& text);

// All is written: synced, closed and renamed into place. On any failure the
// temporary file is removed and the reason is in writer->error.
bool writer_commit(FileWriter* writer);

// Gives up: closes and removes the temporary file. The error stays.
void writer_abandon(FileWriter* writer);

// The whole of `bytes` written to `path`; false with the reason in `error`.
bool write_whole_file(const std::string& path, const void* bytes, size_t size, std::string* error);

// The folders on the way to `path`, as `mkdir -p` makes them; false, with the
// reason in `error`, when one of them cannot be made.
bool make_folders_to(const std::string& path, std::string* error);
