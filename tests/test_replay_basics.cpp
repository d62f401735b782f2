// kuzari-replay's own behaviour: the trace's shape, determinism and usage errors.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/replay_run.h"
#include "support/scratch_dir.h"

TEST(Replay, EmptyScriptWithFrameCountTracesEveryFrame) {
    ReplayOptions options;
    options.frames = 120;
    const ReplayResult result = run_replay(options);
    ASSERT_EQ(result.exit_status, 0) << result.error_output;
    ASSERT_EQ(result.frames.size(), 121u);
    const char* keys[] = {"frame", "top_scene", "scenes", "input", "sound", "title", "fx", "time_left",
                          "player", "bowls", "bowl_drop", "raiders", "shots", "scroll", "result",
                          "events", "presented", "fb"};
    for (size_t i = 0; i < result.frames.size(); ++i) {
        const auto& frame = result.frames[i];
        EXPECT_EQ(frame["frame"], i);
        ASSERT_EQ(frame.size(), std::size(keys));
        for (const char* key : keys) EXPECT_TRUE(frame.contains(key)) << key;
        EXPECT_EQ(frame["raiders"].size(), 20u);
        EXPECT_EQ(frame["shots"].size(), 38u);
        EXPECT_EQ(frame["bowls"].size(), 4u);
        EXPECT_EQ(frame["fb"].get<std::string>().size(), 16u);
    }
    EXPECT_EQ(result.frames[0]["presented"], false);
    EXPECT_EQ(result.frames[1]["presented"], true);

    // The keys stand in exactly this order on every line.
    options.parse = false;
    for (const std::string& line : run_replay(options).lines) {
        size_t at = 0;
        for (const char* key : keys) {
            const size_t found = line.find(std::string("\"") + key + "\":", at);
            ASSERT_NE(found, std::string::npos) << key << " out of order in " << line.substr(0, 80);
            at = found;
        }
    }
}

TEST(Replay, SameArgumentsGiveTheSameTrace) {
    ReplayOptions options;
    options.frames = 60;
    options.script = "30 down\n30 enter\n";
    const ReplayResult first = run_replay(options);
    const ReplayResult second = run_replay(options);
    ASSERT_EQ(first.frames.size(), 61u);
    EXPECT_EQ(first.frames, second.frames);
}

TEST(Replay, BadScriptsAreRefusedWithTheirLineNumber) {
    const struct {
        const char* script;
        const char* message;
    } cases[] = {
        {"10 up\n5 jump\n", "line 2"},
        {"# comment\n0 up\n", "line 2"},
        {"3 jup jdown\n", "line 1"},
        {"3 jleft jright\n", "line 1"},
        {"x\n", "line 1"},
        {"-4 up\n", "line 1"},
    };
    for (const auto& c : cases) {
        ReplayOptions options;
        options.script = c.script;
        const ReplayResult result = run_replay(options);
        EXPECT_EQ(result.exit_status, 2) << c.script;
        EXPECT_NE(result.error_output.find(c.message), std::string::npos) << result.error_output;
        EXPECT_EQ(result.error_output.find('\n'), result.error_output.size() - 1) << "one line";
    }
}

TEST(Replay, ScriptLengthSetsTheRunAndEscapeEndsItBeforeItsLine) {
    ReplayOptions options;
    options.script = "5\n# nothing held\n\n3 up left   # a comment\n";
    ReplayResult result = run_replay(options);
    ASSERT_EQ(result.exit_status, 0);
    EXPECT_EQ(result.frames.size(), 9u);
    EXPECT_EQ(result.frames[8]["input"][0], 7);

    options.script = "4\n2 escape\n10\n";
    result = run_replay(options);
    ASSERT_EQ(result.exit_status, 0);
    EXPECT_EQ(result.frames.size(), 5u) << "no frame of the escape line runs";
}

TEST(Replay, AnEmptyScriptWithoutAFrameCountIsRefused) {
    ReplayOptions options;
    options.script = "";
    const ReplayResult result = run_replay(options);
    EXPECT_EQ(result.exit_status, 2);
    EXPECT_NE(result.error_output.find("is empty: no frames to play"), std::string::npos) << result.error_output;
}

TEST(Replay, AnEmptyPicturesFolderIsReportedAndFails) {
    const ScratchDir scratch;
    std::filesystem::copy(KUZARI_DATA_DIR, scratch.path, std::filesystem::copy_options::recursive);
    for (const auto& entry : std::filesystem::directory_iterator(scratch.path + "/bitmap"))
        std::filesystem::remove(entry.path());
    ReplayOptions options;
    options.frames = 5;
    options.data_dir = scratch.path;
    const ReplayResult result = run_replay(options);
    EXPECT_EQ(result.exit_status, 1);
    EXPECT_NE(result.error_output.find("the game showed a box: bitmap/title.bmp: "), std::string::npos)
        << result.error_output;
}
