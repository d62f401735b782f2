// The suite's main: before every test the game is put back to its starting
// state, and the working directory to where the suite started, so that no
// test depends on what an earlier one in the same process did.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "support/fresh_game.h"

namespace {

struct FreshStart : ::testing::EmptyTestEventListener {
    std::filesystem::path start_dir = std::filesystem::current_path();

    void OnTestStart(const ::testing::TestInfo&) override {
        std::filesystem::current_path(start_dir);
        reset_game_to_start();
    }
};

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshStart);
    return RUN_ALL_TESTS();
}
