// kuzari-replay: runs the game on the headless host from an input script
// and writes its trace and screenshots. --trace-playing adds a last key to each
// trace line telling what really sounds; without it the trace has exactly its
// standard keys. --verify plays a recording and says whether the game reaches
// the frame and picture it closes on.
#include <getopt.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <map>
#include <set>
#include <string>

#include "graphics/graphics.h"
#include "hosts/shared/file_writer.h"
#include "hosts/shared/input_script.h"
#include "hosts/shared/png/png_file.h"
#include "hosts/shared/script_player.h"
#include "hosts/shared/recording_claims.h"
#include "core/data_file.h"
#include "core/shown_text.h"
#include "core/file_read.h"
#include "hosts/shared/data_folder.h"
#include "shell/shell.h"
#include "trace.h"
#include "verify.h"

namespace {

constexpr int exit_usage = 2;
constexpr int exit_not_verified = 1;

const char usage[] =
    "usage: kuzari-replay [--seed N] [--frames N] [--trace FILE] [--shot N:FILE.png]...\n"
    "                     [--data DIR] [--lang ja|en] [--trace-playing] SCRIPT\n"
    "       kuzari-replay --verify [--data DIR] [--trace FILE] [--shot N:FILE.png]... RECORDING\n";

[[noreturn]] void fail(const std::string& message) {
    std::cerr << "kuzari-replay: " << message << "\n";
    std::exit(exit_usage);
}

// A mistake on the command line: the usage follows the message.
[[noreturn]] void fail_usage(const std::string& message) {
    std::cerr << "kuzari-replay: " << message << "\n" << usage;
    std::exit(exit_usage);
}

// Paths given on the command line are relative to where we were started,
// not to the data directory we change into.
std::string absolute(const std::string& start_dir, const std::string& path) {
    if (path.empty() || path[0] == '/' || path == "-") return path;
    return start_dir + "/" + path;
}

// Standard input stays a stream, read only up to a script's largest size.
std::string read_script_from_stdin() {
    std::string text;
    char chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, stdin)) > 0) {
        if (text.size() + got > max_script_bytes)
            fail("the script on standard input is larger than " + std::to_string(max_script_bytes) + " bytes");
        text.append(chunk, got);
    }
    if (std::ferror(stdin)) fail(std::string("cannot read the script on standard input: ") + std::strerror(errno));
    return text;
}

std::string read_script(const std::string& path) {
    if (path == "-") return read_script_from_stdin();
    std::string text, reason;
    if (read_whole_file(path, max_script_bytes, &text, &reason) != file_read)
        fail("cannot read the script '" + path + "': " + reason);
    return text;
}

// Without --data the game's data is in the folder KUZARI_DATA names (the
// installed launcher names the installed data) or where we were started.
std::string default_data_folder() {
    const char* from_environment = std::getenv("KUZARI_DATA");
    const DataFolderChoice choice =
        choose_data_folder({from_environment ? from_environment : "", "."}, holds_game_data);
    return choice.found ? choice.folder : ".";
}

// The working directory is the data folder now. Without --data the game's
// data must be in the folder chosen; a folder named with --data is played
// even with files missing, as the game reports them, but must hold some of
// its folders.
void check_data_folder(const std::string& folder, bool named) {
    if (named) {
        struct stat info;
        for (const char* part : {"bitmap", "wave", "voice", "midi"})
            if (stat(part, &info) == 0 && S_ISDIR(info.st_mode)) return;
        fail("no game data in '" + folder + "' (none of bitmap/, wave/, voice/, midi/)");
    }
    if (!holds_game_data("."))
        fail("no game data here (" + folder + " has no bitmap/title.bmp); name its folder with --data DIR");
}

// The screenshots asked for frames the run never reached.
int report_shots_not_reached(const std::map<uint64_t, std::vector<std::string>>& shots, uint64_t last_frame) {
    int missed = 0;
    for (const auto& [frame, paths] : shots) {
        if (frame <= last_frame) continue;
        for (const std::string& path : paths)
            std::cerr << "kuzari-replay: no screenshot " << path << ": the run ended at frame " << last_frame
                      << ", before frame " << frame << "\n";
        missed += int(paths.size());
    }
    return missed;
}

enum Option {
    option_seed = 256,
    option_frames,
    option_trace,
    option_shot,
    option_data,
    option_lang,
    option_trace_playing,
    option_verify
};

const option options[] = {
    {"seed", required_argument, nullptr, option_seed},
    {"frames", required_argument, nullptr, option_frames},
    {"trace", required_argument, nullptr, option_trace},
    {"shot", required_argument, nullptr, option_shot},
    {"data", required_argument, nullptr, option_data},
    {"lang", required_argument, nullptr, option_lang},
    {"trace-playing", no_argument, nullptr, option_trace_playing},
    {"verify", no_argument, nullptr, option_verify},
    {"help", no_argument, nullptr, 'h'},
    {nullptr, 0, nullptr, 0},
};

}  // namespace

int main(int argc, char** argv) {
    HeadlessConfig config;
    std::string trace_path, data_dir;
    std::map<uint64_t, std::vector<std::string>> shots;
    bool trace_playing = false;
    bool seed_given = false, lang_given = false, frames_given = false, verifying = false;

    opterr = 0;  // our own messages, with the usage
    int chosen;
    while ((chosen = getopt_long(argc, argv, "h", options, nullptr)) != -1) {
        const std::string value = optarg ? optarg : "";
        uint64_t number;
        switch (chosen) {
        case option_seed:
            if (!parse_decimal(value, UINT32_MAX, &number)) fail_usage("--seed takes a number from 0 to 4294967295");
            config.seed = uint32_t(number);
            seed_given = true;
            break;
        case option_frames:
            if (!parse_decimal(value, INT64_MAX, &number)) fail_usage("--frames takes a number of frames");
            config.frame_limit = int64_t(number);
            frames_given = true;
            break;
        case option_trace:
            trace_path = value;
            break;
        case option_shot: {
            const size_t colon = value.find(':');
            if (colon == std::string::npos || colon + 1 == value.size() ||
                !parse_decimal(value.substr(0, colon), INT64_MAX, &number))
                fail_usage("--shot takes FRAME:FILE.png");
            shots[number].push_back(value.substr(colon + 1));
            break;
        }
        case option_data:
            data_dir = value;
            break;
        case option_lang:
            if (value != "ja" && value != "en") fail_usage("--lang takes ja or en");
            set_game_language(value == "en" ? language_english : language_japanese);
            lang_given = true;
            break;
        case option_trace_playing:
            trace_playing = true;
            break;
        case option_verify:
            verifying = true;
            break;
        case 'h':
            std::cout << usage;
            return 0;
        default:
            fail_usage(std::string("option '") + argv[optind - 1] + "' is unknown or needs a value");
        }
    }
    if (optind == argc) fail_usage("no script given");
    if (argc - optind > 1) fail_usage("only one script may be given");
    const std::string script_path = argv[optind];
    // A verdict holds the recording to its own seed, edition and length.
    if (verifying && (seed_given || lang_given || frames_given))
        fail_usage("--verify plays the recording as it names itself: no --seed, --lang or --frames");

    char cwd[4096];
    const std::string start_dir = getcwd(cwd, sizeof cwd) ? cwd : ".";
    std::string error;
    const std::string script = read_script(absolute(start_dir, script_path));
    RecordingClaims claims;
    if (verifying) {
        std::string reason;
        if (!parse_script(script, &config.script, &reason) || !read_recording_claims(script, &claims, &reason)) {
            std::cout << shown_text(script_path) << ": " << unreadable_line(reason) << "\n";
            return exit_not_verified;
        }
        // One frame past the closing one tells a game that went on; no more is played.
        uint64_t listed = 0;
        for (const InputRun& run : config.script) listed += run.count;
        const uint64_t wanted = claims.frames < listed ? claims.frames + 1 : listed;
        if (wanted <= uint64_t(INT64_MAX)) config.frame_limit = int64_t(wanted);
    } else {
        if (!parse_script(script, &config.script, &error)) fail(error);
        // A file cut to nothing is no recording; a run of no input is asked for with --frames.
        if (script.empty() && config.frame_limit < 0)
            fail("the script '" + shown_text(script_path) +
                 "' is empty: no frames to play (--frames N runs without input)");
    }
    // A recording of the real game names the seed and the edition it was played with.
    const ScriptHeader header = script_header(script);
    if (!seed_given) {
        for (const std::string& warning : header.warnings)
            std::cerr << "kuzari-replay: warning: " << script_path << ": " << warning << "\n";
        config.seed = header.seed;
    }
    if (!lang_given && header.language == "en") set_game_language(language_english);

    // Refused before the trace is opened, so that nothing is left behind.
    const std::string data_folder = data_dir.empty() ? default_data_folder() : data_dir;
    if (chdir(data_folder.c_str()) != 0) fail("cannot enter the data directory '" + data_folder + "'");
    check_data_folder(data_folder == "." ? start_dir : data_folder, !data_dir.empty());

    // The trace streams into a file beside its target, renamed into place
    // when the run is over: a run that cannot finish it leaves none.
    FileWriter trace;
    const bool tracing = !trace_path.empty();
    if (trace_path == "-") {
        writer_open_stream(&trace, STDOUT_FILENO, "standard output");
    } else if (tracing && !writer_open(&trace, absolute(start_dir, trace_path))) {
        fail("cannot write the trace '" + trace_path + "': " + trace.error);
    }
    for (auto& [frame, paths] : shots)
        for (std::string& path : paths) path = absolute(start_dir, path);

    int write_failures = 0;
    uint64_t last_frame = 0;
    std::set<std::string> boxes;  // a missing or broken data file shows one
    VerifyRun verify_run;
    config.on_frame = [&](uint64_t frame, bool presented) {
        last_frame = frame;
        if (verifying && frame > 0) verify_frame(&verify_run, claims, frame);
        const std::vector<HeadlessEvent> events = headless_take_events();
        for (const HeadlessEvent& event : events)
            if (event.kind == HeadlessEvent::box && boxes.insert(event.text + "\n" + event.caption).second)
                std::cerr << "kuzari-replay: the game showed a box: " << shown_text(event.text) << ": "
                          << shown_text(event.caption) << "\n";
        // After a failure the trace is only reported, at the end.
        if (tracing && trace.error.empty()) writer_write(&trace, trace_line(frame, presented, events, trace_playing));
        const auto wanted = shots.find(frame);
        if (wanted != shots.end()) {
            for (const std::string& path : wanted->second) {
                std::string reason;
                if (!write_rgb565_png(path, back_buffer_pixels(), screen_width, screen_height, screen_width, 1,
                                      &reason)) {
                    std::cerr << "kuzari-replay: cannot write " << path << ": " << reason << "\n";
                    ++write_failures;
                }
            }
        }
    };
    headless_configure(config);
    // A game that could not start is still a replay that ran: its box is in the trace.
    game_main();
    headless_finish();
    write_failures += report_shots_not_reached(shots, last_frame);
    if (tracing && !writer_commit(&trace)) {
        std::cerr << "kuzari-replay: cannot write the trace '" << trace.target << "': " << trace.error << "\n";
        ++write_failures;
    }
    if (verifying) {
        bool verified;
        std::cout << shown_text(script_path) << ": " << verdict_line(claims, verify_run, &verified) << "\n";
        if (!verified) return exit_not_verified;
    }
    return write_failures || !boxes.empty() ? 1 : 0;
}
