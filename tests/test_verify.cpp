// kuzari-replay --verify: what a recording claims is read strictly, and the
// verdict holds the game to it.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "hosts/shared/recorder.h"
#include "hosts/shared/recording_claims.h"
#include "support/replay_run.h"
#include "support/scratch_dir.h"

namespace {

struct Verdict {
    int status = -1;
    std::string line;
};

Verdict verify(const std::string& recording) {
    const ScratchDir scratch;
    const std::string path = scratch.path + "/recording.txt";
    std::ofstream(path) << recording;
    const std::string command =
        std::string(KUZARI_REPLAY) + " --verify --data " KUZARI_DATA_DIR " " + path + " 2>/dev/null";
    FILE* output = popen(command.c_str(), "r");
    Verdict verdict;
    char buffer[512];
    while (output && std::fgets(buffer, sizeof buffer, output)) verdict.line += buffer;
    const int status = output ? pclose(output) : -1;
    verdict.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    const std::string prefix = path + ": ";
    if (verdict.line.rfind(prefix, 0) == 0) verdict.line.erase(0, prefix.size());
    return verdict;
}

std::string perfect_input() {
    std::ifstream file(KUZARI_SOURCE_DIR "/docs/screenshots/perfect.txt");
    std::string input, line;
    while (std::getline(file, line))
        if (!line.empty() && line[0] != '#') input += line + "\n";
    return input;
}

// The frame number and picture hash kuzari-replay's trace gives for `frame`
// (the last frame when 0).
std::pair<uint64_t, uint64_t> traced(const std::string& script, uint64_t frame) {
    ReplayOptions options;
    options.script = script;
    options.parse = false;
    const ReplayResult result = run_replay(options);
    const nlohmann::json line = nlohmann::json::parse(frame ? result.lines.at(frame) : result.lines.back());
    return {line["frame"].get<uint64_t>(), std::stoull(line["fb"].get<std::string>(), nullptr, 16)};
}

}  // namespace

TEST(Verify, ARecordingOfThePerfectRoundIsVerifiedWithItsRank) {
    const std::string input = perfect_input();
    const auto [frames, hash] = traced(input, 0);
    const std::string recording = recording_opening(1, false) + input + recording_closing(frames, hash);
    const Verdict verdict = verify(recording);
    EXPECT_EQ(verdict.status, 0);
    char expected[160];
    std::snprintf(expected, sizeof expected,
                  "verified: %llu frames, closing picture %016llx, round won with rank 3 of 3 and 4000 food left\n",
                  static_cast<unsigned long long>(frames), static_cast<unsigned long long>(hash));
    EXPECT_EQ(verdict.line, expected);

    // One input line changed: the game no longer reaches its closing picture.
    std::string changed = recording;
    const size_t throw_line = changed.find(" enter\n", changed.size() / 2);
    ASSERT_NE(throw_line, std::string::npos);
    changed.replace(throw_line, 7, " shift\n");
    const Verdict refused = verify(changed);
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.line.rfind("not verified: ", 0), 0u) << refused.line;
}

TEST(Verify, AGameThatGoesOnOrStopsShortOfTheClosingFrameIsRefused) {
    const std::string input = "100\n1 enter\n420\n20 down\n60 enter\n";
    const auto [frame, hash] = traced(input, 300);
    const Verdict on = verify(recording_opening(1, false) + input + recording_closing(frame, hash));
    EXPECT_EQ(on.status, 1);
    EXPECT_EQ(on.line, "not verified: the game went on to frame 301 past the closing frame 300\n");

    const Verdict short_of = verify(recording_opening(1, false) + input + recording_closing(700, hash));
    EXPECT_EQ(short_of.status, 1);
    EXPECT_EQ(short_of.line, "not verified: the game ended at frame 601, before the closing frame 700\n");
}

TEST(Verify, AnUnreadableRecordingIsRefusedWithTheReason) {
    const std::string closing = recording_closing(10, 0);
    const struct {
        std::string text, reason;
    } cases[] = {
        {"10\n" + closing, "bad header: the first line names no seed"},
        {"# seed 1\n10\n" + closing, "bad header: no '# lang' line among the opening comments"},
        {recording_opening(1, false) + "10\n", "no closing line ('# frame N fb HASH')"},
        {recording_opening(1, false) + "10 jump\n" + closing, "line 3: unknown key 'jump'"},
    };
    for (const auto& c : cases) {
        const Verdict verdict = verify(c.text);
        EXPECT_EQ(verdict.status, 1) << c.text;
        EXPECT_EQ(verdict.line, "not verified: " + c.reason + "\n");
    }
}

TEST(RecordingClaims, TheClosingLineMayBeFollowedByCommentsOnly) {
    RecordingClaims claims;
    std::string reason;
    const std::string recording = recording_opening(42, true) + "5 up\n" + recording_closing(5, 0xabcdef0123456789);
    ASSERT_TRUE(read_recording_claims(recording + "# the game ended: a crash\n#  ./kuzari(+0x1234)\n\n", &claims,
                                      &reason))
        << reason;
    EXPECT_EQ(claims.seed, 42u);
    EXPECT_TRUE(claims.english);
    EXPECT_EQ(claims.frames, 5u);
    EXPECT_EQ(claims.picture_hash, 0xabcdef0123456789u);

    EXPECT_FALSE(read_recording_claims(recording + "3 down\n", &claims, &reason));
    EXPECT_EQ(reason, "no closing line: line 5 is input after the last '# frame' line");
    EXPECT_FALSE(read_recording_claims(recording_opening(1, false) + "# frame 5 fb 12\n", &claims, &reason));
    EXPECT_EQ(reason, "bad closing line 3: '# frame 5 fb 12'");
    EXPECT_FALSE(read_recording_claims("# seed 1\n# lang fr\n" + recording_closing(1, 1), &claims, &reason));
    EXPECT_EQ(reason, "bad header: the edition 'fr' is neither ja nor en");
}
