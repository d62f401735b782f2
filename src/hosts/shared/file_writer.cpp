#include "hosts/shared/file_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#if !defined(__wasi__)
#include <signal.h>
#endif

namespace {

constexpr size_t flush_at = 64 * 1024;

bool fail(FileWriter* writer, int error_number) {
    if (writer->error.empty()) writer->error = std::strerror(error_number);
    return false;
}

// /dev/stdout, /dev/fd/3, /proc/self/fd/1 and the like name a stream the
// caller set up; whatever it leads to is written as it is.
bool names_a_stream(const std::string& path) {
    if (path.compare(0, 5, "/dev/") == 0 || path.compare(0, 6, "/proc/") == 0) return true;
    struct stat info;
    return stat(path.c_str(), &info) == 0 && (S_ISFIFO(info.st_mode) || S_ISCHR(info.st_mode) ||
                                              S_ISSOCK(info.st_mode));
}

// A link is followed, so that the file it leads to is replaced, not the link.
std::string where_the_file_goes(std::string path) {
    for (int links = 0; links < 40; ++links) {
        struct stat info;
        char target[PATH_MAX];
        if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) break;
        const ssize_t length = readlink(path.c_str(), target, sizeof target);
        if (length <= 0 || size_t(length) >= sizeof target) break;
        const std::string next(target, size_t(length));
        const size_t slash = path.rfind('/');
        path = next[0] == '/' || slash == std::string::npos ? next : path.substr(0, slash + 1) + next;
    }
    return path;
}

// A reader gone from a pipe is a failed write (EPIPE), not the end of the program.
class PipeSignalHeld {
public:
    PipeSignalHeld() {
#if !defined(__wasi__)
        sigemptyset(&pipe_signal_);
        sigaddset(&pipe_signal_, SIGPIPE);
        was_pending_ = pipe_signal_pending();
        pthread_sigmask(SIG_BLOCK, &pipe_signal_, &old_mask_);
#endif
    }
    ~PipeSignalHeld() {
#if !defined(__wasi__)
        const timespec at_once{0, 0};
        if (!was_pending_ && pipe_signal_pending()) sigtimedwait(&pipe_signal_, nullptr, &at_once);
        pthread_sigmask(SIG_SETMASK, &old_mask_, nullptr);
#endif
    }
    PipeSignalHeld(const PipeSignalHeld&) = delete;
    PipeSignalHeld& operator=(const PipeSignalHeld&) = delete;

private:
#if !defined(__wasi__)
    static bool pipe_signal_pending() {
        sigset_t pending;
        sigpending(&pending);
        return sigismember(&pending, SIGPIPE) == 1;
    }
    sigset_t pipe_signal_;
    sigset_t old_mask_;
    bool was_pending_ = false;
#endif
};

// 0, or the errno of the write that failed.
int write_all(int fd, const char* data, size_t size, bool at_offset, uint64_t offset) {
    while (size > 0) {
        const ssize_t written = at_offset ? pwrite(fd, data, size, off_t(offset)) : write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (written == 0) return ENOSPC;
        data += written;
        size -= size_t(written);
        offset += uint64_t(written);
    }
    return 0;
}

// The file replaced keeps its permissions: a settings file the player made
// private stays private.
void keep_the_mode_of(const std::string& destination, int fd) {
#if defined(__wasi__)
    (void)destination;
    (void)fd;
#else
    struct stat info;
    if (stat(destination.c_str(), &info) == 0 && S_ISREG(info.st_mode)) fchmod(fd, info.st_mode & 07777);
#endif
}

bool open_temporary(FileWriter* writer) {
    const std::string destination = where_the_file_goes(writer->target);
    // Beside the target, so that the rename stays on its file system.
    for (int attempt = 1; attempt <= 100; ++attempt) {
        writer->temporary = destination + ".partial" + (attempt > 1 ? "-" + std::to_string(attempt) : "");
        writer->fd = open(writer->temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (writer->fd >= 0) {
            keep_the_mode_of(destination, writer->fd);
            return true;
        }
        if (errno != EEXIST) break;
    }
    const int error_number = errno;
    writer->temporary.clear();
    return fail(writer, error_number);
}

}  // namespace

bool writer_open(FileWriter* writer, const std::string& path) {
    *writer = FileWriter{};
    writer->target = path;
    struct stat info;
    if (stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) return fail(writer, EISDIR);
    writer->stream = names_a_stream(path);
    if (!writer->stream) return open_temporary(writer);
    // Opened without waiting: a pipe nobody reads from would otherwise hold the
    // game before its window. Writes wait for the reader as usual afterwards.
    writer->fd = open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (writer->fd < 0) {
        if (errno != ENXIO) return fail(writer, errno);
        writer->error = "no program is reading from this pipe";
        return false;
    }
    const int flags = fcntl(writer->fd, F_GETFL);
    if (flags < 0 || fcntl(writer->fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        fail(writer, errno);
        close(writer->fd);
        writer->fd = -1;
        return false;
    }
    return true;
}

void writer_open_stream(FileWriter* writer, int fd, const std::string& name) {
    *writer = FileWriter{};
    writer->target = name;
    writer->stream = true;
    writer->fd = fd;
}

bool writer_write(FileWriter* writer, const void* data, size_t size) {
    if (!writer->error.empty() || writer->fd < 0) return false;
    writer->pending.append(static_cast<const char*>(data), size);
    writer->size += size;
    return writer->pending.size() < flush_at || writer_flush(writer);
}

bool writer_write(FileWriter* writer, const std::string& text) {
    return writer_write(writer, text.data(), text.size());
}

bool writer_flush(FileWriter* writer) {
    if (!writer->error.empty() || writer->fd < 0) return false;
    if (writer->pending.empty()) return true;
    const PipeSignalHeld held;
    const int error_number = write_all(writer->fd, writer->pending.data(), writer->pending.size(), false, 0);
    writer->pending.clear();
    return error_number == 0 || fail(writer, error_number);
}

bool writer_rewrite_tail(FileWriter* writer, uint64_t offset, const std::string& text) {
    if (writer->stream) return fail(writer, ESPIPE);
    if (offset > writer->size) return fail(writer, EINVAL);
    if (!writer_flush(writer)) return false;
    const int error_number = write_all(writer->fd, text.data(), text.size(), true, offset);
    if (error_number != 0) return fail(writer, error_number);
    const uint64_t end = offset + text.size();
    if (end < writer->size && ftruncate(writer->fd, off_t(end)) != 0) return fail(writer, errno);
    writer->size = end;
    // Later writes go on from the new end.
    return lseek(writer->fd, off_t(end), SEEK_SET) >= 0 || fail(writer, errno);
}

bool writer_commit(FileWriter* writer) {
    if (writer->fd < 0) {
        writer_abandon(writer);
        return false;
    }
    writer_flush(writer);
    // A stream cannot be synced (EINVAL); the temporary file must be, before it
    // takes the target's place.
    if (!writer->stream && writer->error.empty() && fsync(writer->fd) != 0) fail(writer, errno);
    if (close(writer->fd) != 0) fail(writer, errno);
    writer->fd = -1;
    if (!writer->error.empty()) {
        writer_abandon(writer);
        return false;
    }
    if (writer->stream) return true;
    if (std::rename(writer->temporary.c_str(), where_the_file_goes(writer->target).c_str()) != 0) {
        fail(writer, errno);
        writer_abandon(writer);
        return false;
    }
    writer->temporary.clear();
    return true;
}

void writer_abandon(FileWriter* writer) {
    if (writer->fd >= 0) close(writer->fd);
    writer->fd = -1;
    writer->pending.clear();
    if (!writer->temporary.empty()) unlink(writer->temporary.c_str());
    writer->temporary.clear();
}

bool write_whole_file(const std::string& path, const void* bytes, size_t size, std::string* error) {
    FileWriter writer;
    const bool written = writer_open(&writer, path) && writer_write(&writer, bytes, size) && writer_commit(&writer);
    if (!written) {
        writer_abandon(&writer);
        *error = writer.error;
    }
    return written;
}

bool make_folders_to(const std::string& path, std::string* error) {
    for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
        const std::string folder = path.substr(0, slash);
        // A read-only file system would otherwise show only as the file's "No
        // such file or directory".
        if (mkdir(folder.c_str(), 0755) != 0 && errno != EEXIST) {
            *error = "cannot make the folder " + folder + ": " + std::strerror(errno);
            return false;
        }
    }
    return true;
}
