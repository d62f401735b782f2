// SIGTERM, SIGINT and SIGHUP end the game through the same shutdown as
// Escape. They are taken by a thread of their own, so no handler runs in the
// middle of the game's code; while a message box is up the signal also closes
// it, since SDL waits for the box in a child process that nothing else reaches.
// A main thread that is stuck (in an open, in SDL's start-up) does not hold
// the game up: if it has not taken the quit within a second, or on a second
// signal, the recording is closed and the game ends by the signal at once.
#include <SDL.h>
#include <dirent.h>
#include <pthread.h>
#include <signal.h>
#include <sys/prctl.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "hosts/desktop/sdl_platform.h"

namespace {

std::atomic<bool> quit_signalled{false};
std::atomic<bool> quit_seen{false};  // the main thread has looked since the signal came
std::atomic<bool> box_open{false};
pid_t game_pid = 0;

constexpr double seconds_to_take_quit = 1.0;
constexpr double seconds_to_shut_down = 4.0;  // once taken: the shutdown joins the soundfont's loader
// `timeout` and a shell's job control send one quit to the process and again
// to its group: a repeat this soon is the same request, not a second one.
constexpr double seconds_of_one_request = 0.5;

sigset_t quit_signals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGHUP);
    return set;
}

// Our children are the message box's process and nothing else. It was forked
// with the quit signals blocked, so only SIGKILL reaches it.
void end_box_processes() {
    DIR* proc = opendir("/proc");
    if (!proc) return;
    const pid_t self = getpid();
    while (const dirent* entry = readdir(proc)) {
        const long pid = std::strtol(entry->d_name, nullptr, 10);
        if (pid <= 0) continue;
        char path[64];
        std::snprintf(path, sizeof path, "/proc/%ld/stat", pid);
        FILE* stat = std::fopen(path, "r");
        if (!stat) continue;
        long parent = 0;
        // pid (command) state parent ...; the command may hold spaces, so skip past its ')'.
        int c;
        while ((c = std::fgetc(stat)) != EOF && c != ')') {
        }
        if (std::fscanf(stat, " %*c %ld", &parent) == 1 && parent == self) kill(pid_t(pid), SIGKILL);
        std::fclose(stat);
    }
    closedir(proc);
}

double seconds_now() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

[[noreturn]] void end_at_once(int signal_number, bool asked_again) {
    static const char late[] = "kuzari: the game did not end in time: it ends now\n";
    static const char again[] = "kuzari: asked again to quit: the game ends now\n";
    if (write(STDERR_FILENO, asked_again ? again : late, (asked_again ? sizeof again : sizeof late) - 1) < 0) {
    }
    sdl_finish_recording_at_once();
    end_box_processes();
    // The status a shell expects of a process the signal ended.
    signal(signal_number, SIG_DFL);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal_number);
    pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
    raise(signal_number);
    _exit(128 + signal_number);
}

void watch_signals() {
    const sigset_t set = quit_signals();
    int signal_number = 0;
    while (sigwait(&set, &signal_number) != 0) {
    }
    quit_signalled = true;
    const double signalled_at = seconds_now();
    bool main_woken = false;
    for (;;) {
        // Again until the box is gone: it may have been just about to open.
        if (box_open) end_box_processes();
        else if (!main_woken) {
            // Wakes the frame wait at once.
            SDL_Event quit{};
            quit.type = SDL_QUIT;
            SDL_PushEvent(&quit);
            main_woken = true;
        }
        const timespec tick{0, 100 * 1000 * 1000};
        const int again = sigtimedwait(&set, nullptr, &tick);
        const double waited = seconds_now() - signalled_at;
        if (again > 0 && waited > seconds_of_one_request) end_at_once(again, true);
        if (waited > (quit_seen ? seconds_to_shut_down : seconds_to_take_quit)) end_at_once(signal_number, false);
    }
}

// In a child the game forks (SDL's message box): it goes when the game goes,
// however the game ends.
void die_with_the_game() {
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != game_pid) _exit(1);
}

}  // namespace

void sdl_catch_signals() {
    const sigset_t set = quit_signals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);  // every later thread inherits the mask
    game_pid = getpid();
    pthread_atfork(nullptr, nullptr, die_with_the_game);
    std::thread(watch_signals).detach();
}

bool sdl_quit_signalled() {
    if (!quit_signalled) return false;
    quit_seen = true;
    return true;
}

void sdl_box_open(bool open) {
    box_open = open;
    if (!open && quit_signalled) quit_seen = true;  // the main thread is back from the box
}
