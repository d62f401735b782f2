// SIGTERM, SIGINT and SIGHUP end the game through the same shutdown as
// Escape. They are taken by a thread of their own, so no handler runs in the
// middle of the game's code; while a message box is up the signal also closes
// it, since SDL waits for the box in a child process that nothing else reaches.
#include <SDL.h>
#include <dirent.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "hosts/desktop/sdl_platform.h"

namespace {

std::atomic<bool> quit_signalled{false};
std::atomic<bool> box_open{false};

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

void watch_signals() {
    const sigset_t set = quit_signals();
    for (;;) {
        int signal_number = 0;
        if (sigwait(&set, &signal_number) != 0) continue;
        quit_signalled = true;
        // Again until the box is gone: it may have been just about to open.
        while (box_open) {
            end_box_processes();
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        // Wakes the frame wait at once.
        SDL_Event quit{};
        quit.type = SDL_QUIT;
        SDL_PushEvent(&quit);
    }
}

}  // namespace

void sdl_catch_signals() {
    const sigset_t set = quit_signals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);  // every later thread inherits the mask
    std::thread(watch_signals).detach();
}

bool sdl_quit_signalled() { return quit_signalled; }

void sdl_box_open(bool open) { box_open = open; }
