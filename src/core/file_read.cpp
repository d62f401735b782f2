#include "core/file_read.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>

namespace {

// Where the buffer is made room in: the file's size in, its bytes' place out.
using MakeRoom = std::function<char*(size_t size)>;

std::string larger_than(size_t max_bytes) { return "is larger than " + std::to_string(max_bytes) + " bytes"; }

#ifdef __wasi__
// The page's files are all regular, and its WASI shim offers no fstat: the
// size is found by seeking, as any stdio does.
FileReadOutcome read_into(const std::string& path, size_t max_bytes, const MakeRoom& make_room, std::string* reason) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        const int error = errno;
        *reason = std::strerror(error);
        return error == ENOENT ? file_missing : file_not_opened;
    }
    bool ok = std::fseek(file, 0, SEEK_END) == 0;
    const long length = ok ? std::ftell(file) : -1;
    ok = ok && length >= 0 && std::fseek(file, 0, SEEK_SET) == 0;
    FileReadOutcome outcome = file_refused;
    if (!ok) {
        *reason = "cannot be read to its end";
    } else if (size_t(length) > max_bytes) {
        *reason = larger_than(max_bytes);
    } else if (std::fread(make_room(size_t(length)), 1, size_t(length), file) != size_t(length)) {
        *reason = "cannot be read to its end";
    } else {
        outcome = file_read;
    }
    std::fclose(file);
    return outcome;
}

#else
const char* kind_of(mode_t mode) {
    if (S_ISDIR(mode)) return "is a directory";
    if (S_ISFIFO(mode)) return "is a FIFO (a named pipe)";
    if (S_ISCHR(mode)) return "is a character device";
    if (S_ISBLK(mode)) return "is a block device";
    if (S_ISSOCK(mode)) return "is a socket";
    return "is not a regular file";
}

// Opens without waiting on a FIFO's writer or taking a terminal; -1 with
// `reason` when it cannot be opened, or is no regular file.
int open_regular(const std::string& path, struct stat* info, std::string* reason, FileReadOutcome* outcome) {
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        *outcome = errno == ENOENT ? file_missing : file_not_opened;
        *reason = std::strerror(errno);
        return -1;
    }
    *outcome = file_refused;
    if (fstat(fd, info) != 0) {
        *reason = std::strerror(errno);
    } else if (!S_ISREG(info->st_mode)) {
        *reason = kind_of(info->st_mode);
    } else {
        return fd;
    }
    close(fd);
    return -1;
}

FileReadOutcome read_into(const std::string& path, size_t max_bytes, const MakeRoom& make_room, std::string* reason) {
    struct stat info;
    FileReadOutcome outcome;
    const int fd = open_regular(path, &info, reason, &outcome);
    if (fd < 0) return outcome;
    const size_t size = size_t(info.st_size);
    if (uint64_t(info.st_size) > max_bytes) {
        *reason = larger_than(max_bytes);
        close(fd);
        return file_refused;
    }
    char* place = make_room(size);
    size_t done = 0;
    while (done < size) {
        const ssize_t got = read(fd, place + done, size - done);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            *reason = got < 0 ? std::strerror(errno) : "grew shorter while it was read";
            close(fd);
            return file_refused;
        }
        done += size_t(got);
    }
    close(fd);
    return file_read;
}
#endif

}  // namespace

#ifndef __wasi__
bool readable_regular_file(const std::string& path, std::string* reason) {
    struct stat info;
    FileReadOutcome outcome;
    const int fd = open_regular(path, &info, reason, &outcome);
    if (fd < 0) return false;
    close(fd);
    return true;
}
#else
bool readable_regular_file(const std::string& path, std::string* reason) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) *reason = std::strerror(errno);
    else std::fclose(file);
    return file != nullptr;
}
#endif

FileReadOutcome read_whole_file(const std::string& path, size_t max_bytes, std::vector<uint8_t>* bytes,
                                std::string* reason) {
    bytes->clear();
    const FileReadOutcome outcome = read_into(
        path, max_bytes,
        [bytes](size_t size) {
            bytes->resize(size);
            return reinterpret_cast<char*>(bytes->data());
        },
        reason);
    if (outcome != file_read) bytes->clear();
    return outcome;
}

FileReadOutcome read_whole_file(const std::string& path, size_t max_bytes, std::string* text, std::string* reason) {
    text->clear();
    const FileReadOutcome outcome = read_into(
        path, max_bytes,
        [text](size_t size) {
            text->resize(size);
            return &(*text)[0];
        },
        reason);
    if (outcome != file_read) text->clear();
    return outcome;
}
