// kuzari-bot: plays rounds in this process on the headless host, choosing
// each frame's input from the game's state, and writes the input of the first
// perfect round (all 4000 units of food left) as a kuzari-replay script.
//
//   kuzari-bot [--seed N] [--tries N] [--data DIR] [--out FILE]
//
// Each seed is played in a child process of its own, so the game's globals
// start fresh; the script it writes replays the same round with
// `kuzari-replay --seed N FILE`.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "audio/audio.h"
#include "gameplay/gameplay.h"
#include "hosts/headless/headless.h"
#include "policy.h"
#include "scenes/scenes.h"
#include "shell/shell.h"

namespace {

constexpr uint64_t staff_hold_frames = 150;   // A held on the staff screen, which must not leave it
constexpr uint64_t staff_release_frames = 20;
constexpr uint64_t title_frames = 120;        // shown after the round, then the run ends

struct RoundFigures {
    uint64_t frames = 0;
    int total_left = -1;
    int hits = 0;
    int refills = 0;
};

// The whole run's choices: the title, the round, the staff screen and back.
struct Bot {
    BotPolicy policy;
    bool started = false;
    bool played = false;
    uint64_t staff_frames = 0;
    uint64_t title_again = 0;
    int last_action = 0;
    RoundFigures figures;
    std::vector<InputRun> chosen;
};

InputRun run_of(const BotKeys& keys) {
    InputRun run{};
    run.count = 1;
    run.joystick = joystick_at_rest;
    run.keys.up = keys.up;
    run.keys.down = keys.down;
    run.keys.enter = keys.a;
    run.keys.shift = keys.b;
    return run;
}

BotKeys choose(Bot& bot) {
    BotKeys keys;
    if (top_scene == scene_title) {
        if (bot.played) {
            ++bot.title_again;  // back on the title: let it open, then end the run
            return keys;
        }
        keys.a = title_state == title_choosing && cursor_pos == item_start && !bot.started;
        bot.started |= keys.a;
        return keys;
    }
    bot.played = true;
    if (round_state == round_playing) {
        const bool refill_began =
            round_data.player_action == action_refilling && bot.last_action != action_refilling;
        if (refill_began) ++bot.figures.refills;
        bot.last_action = round_data.player_action;
        return choose_play_keys(bot.policy);
    }
    // A held from the fade before the staff screen on, released, then pressed afresh.
    if (round_state == round_ranking && result_state >= result_breaking_up) {
        if (result_state == result_staff_shown) ++bot.staff_frames;
        keys.a = bot.staff_frames < staff_hold_frames ||
                 bot.staff_frames >= staff_hold_frames + staff_release_frames;
    }
    return keys;
}

// Lines of `COUNT keys`, one per run of frames with the same keys.
std::string format_script(const std::vector<InputRun>& runs) {
    std::string text;
    for (size_t i = 0; i < runs.size();) {
        InputRun merged = runs[i];
        size_t j = i + 1;
        for (; j < runs.size() && same_input(runs[j], merged); ++j) merged.count += runs[j].count;
        text += script_line(merged) + "\n";
        i = j;
    }
    return text;
}

// Plays one seed to the end in this process; returns its figures and script.
RoundFigures play(uint32_t seed, std::string* script) {
    Bot bot;
    HeadlessConfig config;
    config.seed = seed;
    config.input_source = [&](uint64_t) {
        const bool ending = bot.played && top_scene == scene_title && bot.title_again >= title_frames;
        if (ending) return InputRun{};
        const InputRun run = run_of(choose(bot));
        bot.chosen.push_back(run);
        return run;
    };
    config.on_frame = [&](uint64_t frame, bool) {
        for (const HeadlessEvent& e : headless_take_events())
            if (round_state == round_playing && e.kind == HeadlessEvent::se && e.number == effect_hit)
                ++bot.figures.hits;
        bot.figures.frames = frame;
        if (round_state == round_ranking && bot.figures.total_left < 0 && result_state >= result_rank_rising)
            bot.figures.total_left = round_data.total_left;
    };
    headless_configure(config);
    game_main();
    headless_finish();
    *script = format_script(bot.chosen);
    return bot.figures;
}

}  // namespace

int main(int argc, char** argv) {
    uint32_t seed = 1;
    int tries = 1;
    std::string data_dir = "data", out_path = "perfect.txt";
    for (int i = 1; i < argc; i += 2) {
        // An option without its value is refused with the usage.
        const std::string arg = i + 1 < argc ? argv[i] : "", value = i + 1 < argc ? argv[i + 1] : "";
        if (arg == "--seed") seed = uint32_t(std::strtoul(value.c_str(), nullptr, 10));
        else if (arg == "--tries") tries = std::atoi(value.c_str());
        else if (arg == "--data") data_dir = value;
        else if (arg == "--out") out_path = value;
        else {
            std::fprintf(stderr, "usage: kuzari-bot [--seed N] [--tries N] [--data DIR] [--out FILE]\n");
            return 2;
        }
    }
    char cwd[4096];
    const std::string start_dir = getcwd(cwd, sizeof cwd) ? cwd : ".";
    if (out_path[0] != '/') out_path = start_dir + "/" + out_path;
    if (chdir(data_dir.c_str()) != 0) {
        std::fprintf(stderr, "kuzari-bot: cannot enter the data directory '%s'\n", data_dir.c_str());
        return 2;
    }

    for (int t = 0; t < tries; ++t, ++seed) {
        int pipe_ends[2];
        if (pipe(pipe_ends) != 0) return 1;
        const pid_t child = fork();
        if (child < 0) return 1;
        if (child == 0) {
            close(pipe_ends[0]);
            std::string script;
            const RoundFigures f = play(seed, &script);
            std::FILE* to_parent = fdopen(pipe_ends[1], "w");
            std::fprintf(to_parent, "%llu %d %d %d\n%s", (unsigned long long)f.frames, f.total_left, f.hits,
                         f.refills, script.c_str());
            std::fclose(to_parent);
            _exit(0);
        }
        close(pipe_ends[1]);
        std::FILE* from_child = fdopen(pipe_ends[0], "r");
        std::string text;
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, from_child)) > 0) text.append(buffer, n);
        std::fclose(from_child);
        int status = 0;
        waitpid(child, &status, 0);

        unsigned long long frames = 0;
        int left = -1, hits = 0, refills = 0;
        std::sscanf(text.c_str(), "%llu %d %d %d", &frames, &left, &hits, &refills);
        std::printf("seed %u: %d units left, %llu frames, %d hits, %d refills\n", seed, left, frames, hits, refills);
        if (left == 4000) {
            std::FILE* out = std::fopen(out_path.c_str(), "w");
            if (!out) return 1;
            std::fprintf(out,
                         "# seed %u\n"
                         "# A perfect round made by kuzari-bot (%d units left, %d hits, %d refills): the\n"
                         "# title, the round, the ranking, the staff screen left on a fresh press of A\n"
                         "# after one held from before it opened, and the title again.\n",
                         seed, left, hits, refills);
            std::fputs(text.c_str() + text.find('\n') + 1, out);
            std::fclose(out);
            std::printf("perfect round written to %s\n", out_path.c_str());
            return 0;
        }
    }
    return 1;
}
