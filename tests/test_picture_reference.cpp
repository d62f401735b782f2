// Every picture of two long runs, checked against the back buffer hashes
// recorded in tests/reference/: a won round from the title to the title again,
// and the explanation, a lost round with its game-over screen, and quit.
// Any change to the sprite copy, the fills or a scene that alters one pixel
// of one frame shows here, with the first frame that differs.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/replay_run.h"

namespace {

std::string reference_path(const std::string& name) {
    return std::string(KUZARI_SOURCE_DIR) + "/tests/reference/" + name;
}

std::string read_text(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

std::vector<std::string> read_lines(const std::string& path) {
    std::istringstream text(read_text(path));
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(text, line))
        if (!line.empty()) lines.push_back(line);
    return lines;
}

void expect_pictures_match(const std::string& name) {
    const std::vector<std::string> expected = read_lines(reference_path(name + ".fb"));
    ASSERT_GT(expected.size(), 1000u) << "the reference " << name << ".fb is missing";

    ReplayOptions options;
    options.script = read_text(reference_path(name + ".script"));
    options.seed = 1;
    const ReplayResult result = run_replay(options);
    ASSERT_EQ(result.exit_status, 0) << result.error_output;
    ASSERT_EQ(result.frames.size(), expected.size());

    long long first_difference = -1, differences = 0;
    for (size_t i = 0; i < expected.size(); ++i) {
        if (result.frames[i]["fb"].get<std::string>() == expected[i]) continue;
        if (first_difference < 0) first_difference = result.frames[i]["frame"].get<long long>();
        ++differences;
    }
    EXPECT_EQ(differences, 0) << differences << " frames differ, the first is frame " << first_difference;
}

}  // namespace

TEST(PictureReference, WonRoundFromTitleToTitle) { expect_pictures_match("won_round"); }

TEST(PictureReference, ExplanationLostRoundAndQuit) { expect_pictures_match("detours"); }
