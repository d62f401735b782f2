// kuzari-replay: runs the game on the headless platform from an input script
// and writes its trace and screenshots.
//
//   kuzari-replay [--seed N] [--frames N] [--trace FILE] [--shot N:FILE.png]... [--data DIR] SCRIPT
//
// --trace-playing adds a last key to each trace line, "playing": [plays asked of
// the music now playing, whether the voice channel holds a clip]. Without it
// the trace has exactly its standard keys.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>

#include "graphics/graphics.h"
#include "script.h"
#include "screenshot.h"
#include "shell/shell.h"
#include "trace.h"

namespace {

constexpr int exit_usage = 2;

[[noreturn]] void fail_usage(const std::string& message) {
    std::cerr << "kuzari-replay: " << message << "\n";
    std::exit(exit_usage);
}

bool parse_u64(const std::string& text, uint64_t max, uint64_t* value) {
    if (text.empty() || text.size() > 20) return false;
    uint64_t v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        if (v > (max - uint64_t(c - '0')) / 10) return false;
        v = v * 10 + uint64_t(c - '0');
    }
    *value = v;
    return true;
}

// Paths given on the command line are relative to where we were started,
// not to the data directory we change into.
std::string absolute(const std::string& start_dir, const std::string& path) {
    if (path.empty() || path[0] == '/' || path == "-") return path;
    return start_dir + "/" + path;
}

std::string read_script(const std::string& path) {
    std::stringstream text;
    if (path == "-") {
        text << std::cin.rdbuf();
        return text.str();
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) fail_usage("cannot read the script '" + path + "'");
    text << file.rdbuf();
    return text.str();
}

}  // namespace

int main(int argc, char** argv) {
    HeadlessConfig config;
    std::string trace_path, data_dir, script_path;
    std::map<uint64_t, std::vector<std::string>> shots;
    bool have_script = false;
    bool trace_playing = false;

    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto value = [&]() -> std::string {
            if (i + 1 >= argc) fail_usage(arg + " needs a value");
            return argv[++i];
        };
        uint64_t number;
        if (arg == "--seed") {
            if (!parse_u64(value(), UINT32_MAX, &number)) fail_usage("--seed takes a number from 0 to 4294967295");
            config.seed = uint32_t(number);
        } else if (arg == "--frames") {
            if (!parse_u64(value(), INT64_MAX, &number)) fail_usage("--frames takes a number of frames");
            config.frame_limit = int64_t(number);
        } else if (arg == "--trace") {
            trace_path = value();
        } else if (arg == "--shot") {
            const std::string shot_arg = value();
            const size_t colon = shot_arg.find(':');
            if (colon == std::string::npos || colon + 1 == shot_arg.size() ||
                !parse_u64(shot_arg.substr(0, colon), INT64_MAX, &number))
                fail_usage("--shot takes FRAME:FILE.png");
            shots[number].push_back(shot_arg.substr(colon + 1));
        } else if (arg == "--trace-playing") {
            trace_playing = true;
        } else if (arg == "--data") {
            data_dir = value();
        } else if (arg == "--help" || arg == "-h") {
            std::cout << "usage: kuzari-replay [--seed N] [--frames N] [--trace FILE] "
                         "[--shot N:FILE.png]... [--data DIR] [--trace-playing] SCRIPT\n";
            return 0;
        } else if (arg.size() > 1 && arg[0] == '-') {
            fail_usage("unknown option '" + arg + "'");
        } else if (!have_script) {
            script_path = arg;
            have_script = true;
        } else {
            fail_usage("only one script may be given");
        }
    }
    if (!have_script) fail_usage("usage: kuzari-replay [--seed N] [--frames N] [--trace FILE] "
                                 "[--shot N:FILE.png]... [--data DIR] SCRIPT");

    char cwd[4096];
    const std::string start_dir = getcwd(cwd, sizeof cwd) ? cwd : ".";
    std::string error;
    if (!parse_script(read_script(absolute(start_dir, script_path)), &config.script, &error))
        fail_usage(error);

    std::FILE* trace = nullptr;
    if (trace_path == "-") {
        trace = stdout;
    } else if (!trace_path.empty()) {
        trace = std::fopen(absolute(start_dir, trace_path).c_str(), "wb");
        if (!trace) fail_usage("cannot write the trace '" + trace_path + "'");
    }
    for (auto& [frame, paths] : shots)
        for (std::string& path : paths) path = absolute(start_dir, path);
    if (!data_dir.empty() && chdir(data_dir.c_str()) != 0)
        fail_usage("cannot enter the data directory '" + data_dir + "'");

    int shot_failures = 0;
    config.on_frame = [&](uint64_t frame, bool presented) {
        const std::vector<HeadlessEvent> events = headless_take_events();
        if (trace) write_trace_line(trace, frame, presented, events, trace_playing);
        const auto wanted = shots.find(frame);
        if (wanted != shots.end()) {
            for (const std::string& path : wanted->second) {
                if (!write_screenshot_png(path, back_buffer_pixels())) {
                    std::cerr << "kuzari-replay: cannot write " << path << "\n";
                    ++shot_failures;
                }
            }
        }
    };
    headless_configure(config);
    const int status = game_main();
    headless_finish();
    if (trace && trace != stdout) std::fclose(trace);
    else if (trace) std::fflush(trace);
    return shot_failures ? 1 : status;
}
