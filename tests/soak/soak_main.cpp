// kuzari-soak: plays a long run of random input (fixed seed) through
// kuzari-replay and checks that it ends cleanly having visited every scene.
//
//   kuzari-soak REPLAY DATA_DIR PREFIX_SCRIPT FRAMES
//
// The first script opens with PREFIX_SCRIPT, a recorded perfect round (the
// staff screen is out of reach of random input), and a visit to the
// explanation (random input reaches it only now and then); it goes on with random runs
// of keys that press Enter often enough to start rounds and leave every
// screen, and never Escape. Random input chooses quit on the title now and
// then, which ends that game: the soak then starts the next one on fresh
// random input, until FRAMES frames have run in all. The traces are read as
// they are written, to count rounds and scenes.
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "hosts/shared/input_script.h"

namespace {

// One run of the random part: 1 to 40 frames holding a few keys.
std::string random_run(std::mt19937& random, long long* frames_planned) {
    static const char* const moves[] = {"", "", "up", "down", "left", "right", "jup", "jdown"};
    static const char* const extras[] = {"shift", "ctrl", "space", "j2", "j3", "j4"};
    const unsigned frames = unsigned(1 + random() % 40);
    std::string keys;
    const unsigned pick = unsigned(random() % 100);
    if (pick < 40) keys = "enter";                        // throw, start, leave a screen
    else if (pick < 45) keys = "j1";                      // the same on the joystick
    else if (pick < 55) keys = extras[random() % 6];      // refill and the unused buttons
    const std::string move = moves[random() % 8];
    if (!move.empty()) keys += (keys.empty() ? "" : " ") + move;
    // Hops and menu moves need short presses: most runs with a move are one frame.
    const unsigned count = !move.empty() && random() % 4 != 0 ? 1 : frames;
    *frames_planned += count;
    return std::to_string(count) + (keys.empty() ? "" : " " + keys) + "\n";
}

struct Tally {
    long long frames = -1;  // the last frame traced in the current game
    long long rounds = 0, explanations = 0, won = 0, lost = 0, rankings = 0, game_overs = 0, staff = 0, boxes = 0;
};

void count_line(const char* line, Tally* tally) {
    long long frame;
    if (std::sscanf(line, "{\"frame\":%lld", &frame) == 1) tally->frames = frame;
    const struct {
        const char* text;
        long long* counter;
    } marks[] = {
        {"[\"sheet\",\"bitmap/main.bmp\"]", &tally->rounds},
        {"[\"sheet\",\"bitmap/setumei.bmp\"]", &tally->explanations},
        {"[\"music\",\"midi/hue.mid\",0]", &tally->won},
        {"[\"music\",\"midi/miss.mid\",0]", &tally->lost},
        {"[\"sheet\",\"bitmap/end.bmp\"]", &tally->rankings},
        {"[\"sheet\",\"bitmap/gameover.bmp\"]", &tally->game_overs},
        {"[\"sheet\",\"bitmap/staff.bmp\"]", &tally->staff},
        {"[\"box\",", &tally->boxes},
    };
    const char* events = std::strstr(line, "\"events\":");
    if (!events) return;
    for (const auto& mark : marks)
        if (std::strstr(events, mark.text)) ++*mark.counter;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: kuzari-soak REPLAY DATA_DIR PREFIX_SCRIPT FRAMES\n");
        return 2;
    }
    const std::string replay = argv[1], data_dir = argv[2], prefix_path = argv[3];
    const long long frames = std::atoll(argv[4]);

    std::ifstream prefix_file(prefix_path);
    std::stringstream prefix_text;
    prefix_text << prefix_file.rdbuf();
    std::string prefix = prefix_text.str();
    uint32_t seed;
    if (!script_seed(prefix, &seed)) {
        std::fprintf(stderr, "kuzari-soak: %s names no seed\n", prefix_path.c_str());
        return 2;
    }
    // The recorded round ends idling on the title; the random input takes over there.
    while (!prefix.empty() && prefix.back() == '\n') prefix.pop_back();
    prefix.erase(prefix.rfind('\n') + 1);
    // Then a look at the explanation, back to the start item, before random input.
    prefix += "1 down\n20\n1 enter\n150\n1 enter\n150\n1 up\n20\n";

    std::mt19937 random(20240607);
    const std::string script_path =
        (std::filesystem::temp_directory_path() / ("kuzari-soak-" + std::to_string(getpid()) + ".script")).string();
    const auto started = std::chrono::steady_clock::now();
    Tally tally;
    long long frames_run = 0, games = 0;
    bool ok = true;
    while (ok && frames_run < frames) {
        const long long budget = frames - frames_run;
        std::string script = games == 0 ? prefix : "";
        for (long long planned = 0; planned < budget;) script += random_run(random, &planned);
        std::ofstream(script_path) << script;
        const std::string command = "'" + replay + "' --seed " + std::to_string(seed + games) + " --frames " +
                                    std::to_string(budget) + " --data '" + data_dir + "' --trace - '" +
                                    script_path + "'";
        std::FILE* trace = popen(command.c_str(), "r");
        if (!trace) {
            std::remove(script_path.c_str());
            return 2;
        }
        tally.frames = -1;
        std::string line;
        char chunk[65536];
        while (std::fgets(chunk, sizeof chunk, trace)) {
            line += chunk;
            if (line.back() != '\n') continue;
            count_line(line.c_str(), &tally);
            line.clear();
        }
        const int status = pclose(trace);
        ++games;
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || tally.frames < 1) {
            std::printf("soak: game %lld failed with status %d after frame %lld\n", games, status, tally.frames);
            ok = false;
        }
        frames_run += tally.frames;
    }
    std::remove(script_path.c_str());
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

    std::printf("soak: %lld frames in %lld games, %.1f s\n", frames_run, games, seconds);
    std::printf("soak: %lld rounds (%lld won, %lld lost), %lld explanations, %lld rankings, "
                "%lld game-over screens, %lld staff screens, %lld message boxes\n",
                tally.rounds, tally.won, tally.lost, tally.explanations, tally.rankings, tally.game_overs,
                tally.staff, tally.boxes);
    ok = ok && frames_run == frames && tally.boxes == 0 && tally.rounds > 2;
    for (long long seen : {tally.explanations, tally.won, tally.lost, tally.rankings, tally.game_overs, tally.staff})
        ok = ok && seen > 0;
    if (!ok) std::printf("soak: FAILED (every game must end with status 0, every scene be visited, no box)\n");
    return ok ? 0 : 1;
}
