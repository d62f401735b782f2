// Files from outside read safely: only a regular file of a fitting size is
// read, whatever stands in its place; scripts' totals and seeds checked; a
// file's text shown in a message without its control bytes; kuzari-replay's
// refusals. Each run of kuzari-replay is bounded by `timeout`, so a hang
// fails instead of stopping the suite.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/data_file.h"
#include "core/file_read.h"
#include "core/shown_text.h"
#include "hosts/shared/input_script.h"
#include "hosts/shared/script_player.h"
#include "support/scratch_dir.h"

namespace fs = std::filesystem;

namespace {

struct Refusal {
    std::string name;
    std::string path;
    std::string reason;  // part of what the reader says
};

// A FIFO, a folder, a device and an oversized file, each under `scratch`.
std::vector<Refusal> stand_ins(const std::string& scratch, size_t limit) {
    const std::string fifo = scratch + "/fifo", folder = scratch + "/folder", big = scratch + "/big";
    EXPECT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    fs::create_directory(folder);
    std::ofstream(big).put('x');
    fs::resize_file(big, limit + 1);
    return {{"FIFO", fifo, "FIFO"},
            {"folder", folder, "is a directory"},
            {"/dev/zero", "/dev/zero", "is a character device"},
            {"oversized", big, "is larger than " + std::to_string(limit) + " bytes"}};
}

struct ReplayRun {
    int status;
    std::string errors;
};

ReplayRun run_in(const std::string& folder, const std::string& arguments) {
    const ScratchDir scratch;
    const std::string errors = scratch.path + "/errors";
    const std::string command = "cd '" + folder + "' && timeout 20 " KUZARI_REPLAY " " + arguments + " 2>'" + errors + "'";
    const int status = std::system(command.c_str());
    std::ifstream file(errors);
    std::stringstream text;
    text << file.rdbuf();
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, text.str()};
}

}  // namespace

TEST(FileReads, ARegularFileIsReadWholeAndAMissingOneIsToldApart) {
    const ScratchDir scratch;
    const std::string path = scratch.path + "/file";
    std::ofstream(path, std::ios::binary) << std::string("a\0b", 3);
    std::string text, reason;
    ASSERT_EQ(read_whole_file(path, 3, &text, &reason), file_read) << reason;
    EXPECT_EQ(text, std::string("a\0b", 3));
    EXPECT_EQ(read_whole_file(scratch.path + "/none", 3, &text, &reason), file_missing);
    EXPECT_TRUE(readable_regular_file(path, &reason));
}

TEST(FileReads, AnythingButARegularFileOfItsSizeIsRefusedSayingWhatItIs) {
    const ScratchDir scratch;
    for (const Refusal& stand_in : stand_ins(scratch.path, 1000)) {
        std::vector<uint8_t> bytes;
        std::string reason;
        EXPECT_EQ(read_whole_file(stand_in.path, 1000, &bytes, &reason), file_refused) << stand_in.name;
        EXPECT_NE(reason.find(stand_in.reason), std::string::npos) << stand_in.name << ": " << reason;
        EXPECT_TRUE(bytes.empty()) << stand_in.name;
    }
    std::string reason;
    EXPECT_FALSE(readable_regular_file(scratch.path + "/fifo", &reason));
    EXPECT_NE(reason.find("FIFO"), std::string::npos) << reason;
}

TEST(FileReads, ADataFileThatIsAFifoIsMissingToTheGameAndItsEnglishOneFallsBackAsBefore) {
    const ScratchDir scratch;
    fs::create_directories(scratch.path + "/bitmap");
    ASSERT_EQ(mkfifo((scratch.path + "/bitmap/title.bmp").c_str(), 0600), 0);
    std::ofstream(scratch.path + "/bitmap/main.bmp") << "japanese";
    set_data_folder(scratch.path);
    set_game_language(language_english);
    std::vector<uint8_t> bytes;
    EXPECT_FALSE(read_data_file("bitmap/title.bmp", 1 << 20, &bytes));
    ASSERT_TRUE(read_data_file("bitmap/main.bmp", 1 << 20, &bytes)) << "no lang/en: the Japanese file";
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "japanese");
    set_game_language(language_japanese);
    set_data_folder("");
}

TEST(FileReads, AFilesTextIsShownWithoutItsControlBytes) {
    EXPECT_EQ(shown_text(std::string("a\x1b[2J\0b\\\x7f", 9)), "a\\x1B[2J\\0b\\\\\\x7F");
    EXPECT_EQ(shown_text("\xc2\x9b" "31m"), "\\x9B31m") << "UTF-8's C1 controls too";
    EXPECT_EQ(shown_text("ファイル"), "ファイル");
}

TEST(ScriptReads, AScriptWhoseFramesAddUpPast2To64IsRefusedAtItsLine) {
    std::string fits;
    for (int line = 0; line < 18; ++line) fits += "999999999999999999\n";
    std::vector<InputRun> runs;
    std::string error;
    EXPECT_TRUE(parse_script(fits + "446744073709551633\n", &runs, &error)) << error;
    EXPECT_EQ(script_player(runs).frames, UINT64_MAX);
    runs.clear();
    EXPECT_FALSE(parse_script(fits + "446744073709551634\n", &runs, &error));
    EXPECT_EQ(error.rfind("line 19: ", 0), 0u) << error;
}

TEST(ScriptReads, AnErrorShowsTheLinesControlBytesEscaped) {
    std::vector<InputRun> runs;
    std::string error;
    EXPECT_FALSE(parse_script(std::string("10 enter\x1b[2J\0x\n", 16), &runs, &error));
    EXPECT_EQ(error, "line 1: unknown key 'enter\\x1B[2J\\0x'");
}

TEST(ScriptReads, ASeedTooLargeNegativeOrLateIsLeftOutWithAWarningNamingItsLine) {
    struct Case {
        std::string script, warning;
    };
    const Case cases[] = {
        {"# seed 4294967296\n10\n", "line 1: the seed '4294967296' is not a number from 0 to 4294967295"},
        {"# seed -5\n10\n", "line 1: the seed '-5' is not"},
        {"# lang en\n# seed 7\n10\n", "line 2: a seed counts only on the first line"},
    };
    for (const Case& c : cases) {
        const ScriptHeader header = script_header(c.script);
        EXPECT_FALSE(header.seed_named) << c.script;
        EXPECT_EQ(header.seed, 1u) << c.script;
        ASSERT_EQ(header.warnings.size(), 1u) << c.script;
        EXPECT_EQ(header.warnings[0].rfind(c.warning, 0), 0u) << header.warnings[0];
    }
    EXPECT_TRUE(script_header("# seed 4294967295\n10\n").warnings.empty());
}

TEST(ReplayReads, AScriptThatIsNoRegularFileOfItsSizeIsRefusedWithItsReason) {
    const ScratchDir scratch;
    for (const Refusal& stand_in : stand_ins(scratch.path, max_script_bytes)) {
        const ReplayRun run = run_in(scratch.path, "--data " KUZARI_DATA_DIR " '" + stand_in.path + "'");
        EXPECT_EQ(run.status, 2) << stand_in.name << ": " << run.errors;
        EXPECT_NE(run.errors.find("cannot read the script"), std::string::npos) << stand_in.name << ": " << run.errors;
        EXPECT_NE(run.errors.find(stand_in.reason), std::string::npos) << stand_in.name << ": " << run.errors;
    }
}

TEST(ReplayReads, StartedWithoutItsDataItSaysSoAndFails) {
    const ScratchDir scratch;
    std::ofstream(scratch.path + "/run.txt") << "10\n";
    const ReplayRun run = run_in(scratch.path, "run.txt");
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.errors.find("no game data"), std::string::npos) << run.errors;
    EXPECT_EQ(run_in(KUZARI_DATA_DIR, "--frames 2 " + scratch.path + "/run.txt").status, 0)
        << "started in the data folder, it needs no --data";
}

TEST(ReplayReads, AScreenshotPastTheLastFrameIsReportedAndFails) {
    const ScratchDir scratch;
    std::ofstream(scratch.path + "/run.txt") << "10\n";
    const ReplayRun run =
        run_in(scratch.path, "--data " KUZARI_DATA_DIR " --shot 5:early.png --shot 50:late.png run.txt");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.errors.find("late.png: the run ended at frame 10, before frame 50"), std::string::npos)
        << run.errors;
    EXPECT_TRUE(fs::exists(scratch.path + "/early.png"));
}
