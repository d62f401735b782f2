// The black box: when the game crashes (a fatal signal, an uncaught
// exception) the input of the session so far is written as a recording,
// closing line and all, with a backtrace in its comments, to
// $XDG_STATE_HOME/kuzari/ (~/.local/state/kuzari/). kuzari-replay plays it to
// the crash's last frame. The handler allocates nothing and calls only what is
// safe in a signal handler; everything it needs is made ready at start-up.
#include <execinfo.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "core/picture_hash.h"
#include "core/shown_text.h"
#include "hosts/desktop/sdl_environment.h"
#include "hosts/desktop/sdl_platform.h"
#include "hosts/shared/input_feed.h"
#include "hosts/shared/plain_text.h"

namespace {

const int fatal_signals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};

// What the last frame shown left, in one of two places: the main thread fills
// the one not published, so a crash in the middle of a frame finds the frame
// before it whole.
struct ShownFrame {
    uint64_t frames = 0;
    size_t runs = 0;            // the recording's runs up to this frame
    uint64_t last_run_count = 0;
    std::vector<uint16_t> pixels;
};
ShownFrame shown[2];
std::atomic<int> published{-1};
int picture_width = 0, picture_height = 0;

// Room for the runs a frame may add (an Escape's and the frame's own), made
// between frames, so that they are never moved while a crash may read them.
constexpr size_t runs_room = 1024;

// The folder is opened at start-up and the file made in it by a short name,
// so that no path of any length has to fit a buffer in the handler.
std::string box_folder;         // ends with '/'; empty when there is none
std::string box_folder_shown;   // as messages show it
int box_folder_fd = -1;
int box_folder_error = 0;       // why the folder could not be made or opened
long main_thread_id = 0;
std::atomic<bool> crashing{false};
int box_write_error = 0;        // the first write into the box that failed

void say(const char* text) {
    if (write(STDERR_FILENO, text, std::strlen(text)) < 0) {
    }
}

// A failure's reason without strerror, which may allocate or lock.
void say_reason(int error_number) {
    const char* reason = strerrordesc_np(error_number);
    if (reason) {
        say(reason);
        return;
    }
    PlainText number;
    plain_add(&number, "error ");
    plain_add_decimal(&number, uint64_t(error_number));
    number.text[std::min(number.length, sizeof number.text - 1)] = '\0';
    say(number.text);
}

void say_not_written(int error_number) {
    say("; the black box could not be written in ");
    say(box_folder_shown.c_str());
    say(": ");
    say_reason(error_number);
    say("\n");
}

bool put_bytes(int file, const char* bytes, size_t size) {
    while (size > 0 && box_write_error == 0) {
        const ssize_t written = write(file, bytes, size);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) box_write_error = written < 0 ? errno : ENOSPC;
        else bytes += written, size -= size_t(written);
    }
    return box_write_error == 0;
}

void put(int file, const PlainText& line) { put_bytes(file, line.text, line.length); }

// The folder, made as `mkdir -p` would, and opened; the reason kept when not.
void open_box_folder(const std::string& path) {
    int making_error = 0;  // why the first folder on the way could not be made: the reason to give
    for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1))
        if (mkdir(path.substr(0, slash).c_str(), 0700) != 0 && errno != EEXIST && !making_error) making_error = errno;
    box_folder_fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    box_folder_error = box_folder_fd >= 0 ? 0 : making_error ? making_error : errno;
}

std::string choose_box_folder() {
    const std::string folder = kuzari_xdg_dir("XDG_STATE_HOME", ".local/state");
    return folder.empty() ? folder : folder + "/";
}

// Two digits of a date, with a leading zero.
void add_two_digits(PlainText* line, long value) {
    if (value < 10) plain_add(line, "0");
    plain_add_decimal(line, uint64_t(value));
}

// crash-YYYY-MM-DD-HHMMSS-PID-N.txt in UTC, from the days since 1970 by hand
// (gmtime is not safe here); the process and the attempt keep two games
// that crash in the same second apart.
void add_file_name(PlainText* path, int attempt) {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const long seconds = long(now.tv_sec);
    long days = seconds / 86400;
    const long of_day = seconds % 86400;
    days += 719468;
    const long era = days / 146097;
    const long day_of_era = days - era * 146097;
    const long year_of_era = (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
    const long day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
    const long month_index = (5 * day_of_year + 2) / 153;
    const long day = day_of_year - (153 * month_index + 2) / 5 + 1;
    const long month = month_index < 10 ? month_index + 3 : month_index - 9;
    const long year = year_of_era + era * 400 + (month <= 2 ? 1 : 0);
    plain_add(path, "crash-");
    plain_add_decimal(path, uint64_t(year));
    plain_add(path, "-");
    add_two_digits(path, month);
    plain_add(path, "-");
    add_two_digits(path, day);
    plain_add(path, "-");
    add_two_digits(path, of_day / 3600);
    add_two_digits(path, of_day / 60 % 60);
    add_two_digits(path, of_day % 60);
    plain_add(path, "-");
    plain_add_decimal(path, uint64_t(getpid()));
    plain_add(path, "-");
    plain_add_decimal(path, uint64_t(attempt));
    plain_add(path, ".txt");
}

void write_recording(int file) {
    const Recorder& recorder = input_feed.recorder;
    const int slot = published.load();
    PlainText line;
    plain_add(&line, "# seed ");
    plain_add_decimal(&line, recorder.seed);
    plain_add(&line, recorder.english ? "\n# lang en\n" : "\n# lang ja\n");
    put(file, line);
    if (slot < 0) return;  // no frame shown yet
    const ShownFrame& frame = shown[slot];
    for (size_t run = 0; run < frame.runs; ++run) {
        InputRun as_recorded = recorder.runs[run];
        if (run + 1 == frame.runs) as_recorded.count = frame.last_run_count;
        PlainText run_line;
        add_script_line(&run_line, as_recorded);
        plain_add(&run_line, "\n");
        put(file, run_line);
    }
    PlainText closing;
    plain_add(&closing, "# frame ");
    plain_add_decimal(&closing, frame.frames);
    plain_add(&closing, " fb ");
    plain_add_hex16(&closing, picture_hash(frame.pixels.data(), picture_width, picture_height, picture_width));
    plain_add(&closing, "\n");
    put(file, closing);
}

// The backtrace as comment lines, so that the file stays a recording to play:
// backtrace_symbols_fd writes it bare to a nameless scratch file, copied from there.
void write_backtrace(int file) {
    int scratch = openat(box_folder_fd, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (scratch < 0) {  // a file system without nameless files
        PlainText name;
        plain_add(&name, "backtrace-");
        plain_add_decimal(&name, uint64_t(getpid()));
        plain_add(&name, ".tmp");
        name.text[std::min(name.length, sizeof name.text - 1)] = '\0';
        scratch = openat(box_folder_fd, name.text, O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (scratch < 0) return;
        unlinkat(box_folder_fd, name.text, 0);
    }
    void* frames[64];
    backtrace_symbols_fd(frames, backtrace(frames, 64), scratch);
    lseek(scratch, 0, SEEK_SET);
    char chunk[512];
    bool line_begins = true;
    ssize_t got;
    while ((got = read(scratch, chunk, sizeof chunk)) > 0)
        for (ssize_t i = 0; i < got; ++i) {
            if (line_begins && !put_bytes(file, "# ", 2)) break;
            if (!put_bytes(file, chunk + i, 1)) break;
            line_begins = chunk[i] == '\n';
        }
    close(scratch);
}

void write_black_box(const char* what) {
    if (crashing.exchange(true)) return;
    if (box_folder.empty()) {
        say("kuzari: ");
        say(what);
        say("; no folder for the black box (neither XDG_STATE_HOME nor HOME is set)\n");
        return;
    }
    PlainText name;
    int file = -1;
    int open_error = box_folder_error;
    for (int attempt = 1; box_folder_fd >= 0 && attempt <= 100; ++attempt) {
        name.length = 0;
        add_file_name(&name, attempt);
        name.text[std::min(name.length, sizeof name.text - 1)] = '\0';
        file = openat(box_folder_fd, name.text, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        open_error = file >= 0 ? 0 : errno;
        if (file >= 0 || open_error != EEXIST) break;
    }
    if (file < 0) {
        say("kuzari: ");
        say(what);
        say_not_written(open_error);
        return;
    }
    write_recording(file);
    PlainText cause;
    plain_add(&cause, "# the game ended: ");
    plain_add(&cause, what);
    plain_add(&cause, "\n# backtrace:\n");
    put(file, cause);
    write_backtrace(file);
    if (close(file) != 0 && box_write_error == 0) box_write_error = errno;
    say("kuzari: ");
    say(what);
    if (box_write_error != 0) {
        // Nothing half-written is left to be taken for the session's input.
        unlinkat(box_folder_fd, name.text, 0);
        say_not_written(box_write_error);
        return;
    }
    say(". The input of this session, to its last frame, is in\n  ");
    say(box_folder_shown.c_str());
    say(name.text);
    say("\nPlease attach that file to a bug report (see \"Reporting a bug\" in the README).\n");
}

const char* signal_name(int signal_number) {
    switch (signal_number) {
    case SIGSEGV: return "crashed (SIGSEGV)";
    case SIGBUS: return "crashed (SIGBUS)";
    case SIGFPE: return "crashed (SIGFPE)";
    case SIGILL: return "crashed (SIGILL)";
    default: return "aborted (SIGABRT)";
    }
}

void on_fatal_signal(int signal_number, siginfo_t* info, void*) {
    const int saved_errno = errno;
    // Sent from outside and landed on another thread: the main thread's
    // picture and recording are whole only between its frames, so it writes.
    const bool sent = (info->si_code == SI_USER || info->si_code == SI_QUEUE) && info->si_pid != getpid();
    if (sent && syscall(SYS_gettid) != main_thread_id && !crashing) {
        syscall(SYS_tgkill, getpid(), main_thread_id, signal_number);
        errno = saved_errno;
        return;
    }
    write_black_box(signal_name(signal_number));
    // Again with the default action as the handler returns: the status is the signal's.
    signal(signal_number, SIG_DFL);
    raise(signal_number);
    errno = saved_errno;
}

[[noreturn]] void on_terminate() {
    write_black_box("ended by an uncaught exception");
    signal(SIGABRT, SIG_DFL);
    std::abort();
}

}  // namespace

void sdl_start_black_box() {
    box_folder = choose_box_folder();
    box_folder_shown = shown_text(box_folder);
    if (!box_folder.empty()) open_box_folder(box_folder);
    main_thread_id = syscall(SYS_gettid);
    // backtrace loads its unwinder the first time, which a handler must not.
    void* frames[4];
    backtrace(frames, 4);
    // A stack of its own, so that an overflowing one can still be reported.
    static std::vector<char> handler_stack(std::max<size_t>(SIGSTKSZ, 64 * 1024));
    stack_t stack{};
    stack.ss_sp = handler_stack.data();
    stack.ss_size = handler_stack.size();
    sigaltstack(&stack, nullptr);
    struct sigaction action {};
    action.sa_sigaction = on_fatal_signal;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    for (const int signal_number : fatal_signals) sigaction(signal_number, &action, nullptr);
    std::set_terminate(on_terminate);
}

void sdl_black_box_forget() { published.store(-1); }

void sdl_black_box_frame_shown(const uint16_t* pixels, int width, int height, int pitch) {
    std::vector<InputRun>& runs = input_feed.recorder.runs;
    if (!input_feed.recording || runs.empty()) return;
    if (runs.capacity() < runs.size() + 2) runs.reserve(runs.size() * 2 + runs_room);
    const int slot = published.load() == 0 ? 1 : 0;
    ShownFrame& frame = shown[slot];
    frame.frames = input_feed.recorder.frames;
    frame.runs = runs.size();
    frame.last_run_count = runs.back().count;
    picture_width = width;
    picture_height = height;
    frame.pixels.resize(size_t(width) * size_t(height));
    for (int y = 0; y < height; ++y)
        std::memcpy(&frame.pixels[size_t(y) * size_t(width)], pixels + size_t(y) * size_t(pitch),
                    size_t(width) * sizeof(uint16_t));
    published.store(slot);
}
