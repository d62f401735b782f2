// Where the game's data is read from: the first candidate that holds it, and
// the data folder that read_data_file puts before the game's own paths.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/data_file.h"
#include "hosts/shared/data_folder.h"
#include "support/scratch_dir.h"

namespace {

std::vector<uint8_t> file_bytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Looks at the candidates as a stand-in file system would.
auto holding(std::vector<std::string> with_data, std::vector<std::string>* looked_at) {
    return [with_data, looked_at](const std::string& folder) {
        looked_at->push_back(folder);
        for (const std::string& good : with_data)
            if (good == folder) return true;
        return false;
    };
}

}  // namespace

TEST(DataFolder, TheFirstCandidateHoldingTheDataWinsAndNoLaterOneIsLookedAt) {
    std::vector<std::string> looked_at;
    const DataFolderChoice choice =
        choose_data_folder({"given", "environment", "installed", "source"}, holding({"installed", "source"}, &looked_at));
    EXPECT_TRUE(choice.found);
    EXPECT_EQ(choice.folder, "installed");
    EXPECT_EQ(looked_at, (std::vector<std::string>{"given", "environment", "installed"}));
    EXPECT_EQ(choice.tried, looked_at);
}

TEST(DataFolder, PlacesNobodyNamedArePassedOver) {
    std::vector<std::string> looked_at;
    const DataFolderChoice choice = choose_data_folder({"", "", "installed", "source"}, holding({"source"}, &looked_at));
    EXPECT_EQ(choice.folder, "source");
    EXPECT_EQ(looked_at, (std::vector<std::string>{"installed", "source"}));
}

TEST(DataFolder, WithNoneHoldingTheDataEveryOneTriedIsToldAndTheFirstIsUsed) {
    std::vector<std::string> looked_at;
    const DataFolderChoice choice = choose_data_folder({"", "environment", "installed"}, holding({}, &looked_at));
    EXPECT_FALSE(choice.found);
    EXPECT_EQ(choice.folder, "environment");
    EXPECT_EQ(choice.tried, (std::vector<std::string>{"environment", "installed"}));
}

TEST(DataFolder, OnlyAFolderWithTheGamesPicturesHoldsItsData) {
    ScratchDir empty;
    EXPECT_TRUE(holds_game_data(KUZARI_DATA_DIR));
    EXPECT_FALSE(holds_game_data(empty.path));
    EXPECT_FALSE(holds_game_data(empty.path + "/no-such-folder"));
}

TEST(DataFolder, FilesAreReadFromTheDataFolderWhateverTheWorkingDirectory) {
    ScratchDir elsewhere;
    char start[4096];
    ASSERT_NE(getcwd(start, sizeof start), nullptr);
    ASSERT_EQ(chdir(elsewhere.path.c_str()), 0);
    std::vector<uint8_t> bytes;
    EXPECT_FALSE(read_data_file("bitmap/title.bmp", 1 << 20, &bytes));

    set_data_folder(KUZARI_DATA_DIR);
    ASSERT_TRUE(read_data_file("bitmap/title.bmp", 1 << 20, &bytes));
    EXPECT_EQ(bytes, file_bytes(KUZARI_DATA_DIR "/bitmap/title.bmp"));

    // The English edition's files lie in the same folder.
    set_game_language(language_english);
    ASSERT_TRUE(read_data_file("bitmap/title.bmp", 1 << 20, &bytes));
    EXPECT_EQ(bytes, file_bytes(KUZARI_DATA_DIR "/lang/en/bitmap/title.bmp"));
    set_game_language(language_japanese);
    set_data_folder("");
    ASSERT_EQ(chdir(start), 0);
}
