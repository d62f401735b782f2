// The end and miss cut-ins, the ranking of the food left and the staff screen,
// driven call by call in this process.
#include <gtest/gtest.h>

#include "audio/audio.h"
#include "gameplay/gameplay.h"
#include "graphics/graphics.h"
#include "scenes/scenes.h"
#include "support/headless_game.h"
#include "support/scene_driver.h"

using Texts = std::vector<std::string>;

namespace {

class Endings : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(start_headless_game());
        load_sheet("bitmap/main.bmp");
        set_button_a(false, false);
        take_event_texts();
    }

    // One call of finish_cutin with what it reported, the state it left and the events.
    struct Call {
        bool done;
        int32_t state, offset;
        Texts events;
    };
    std::vector<Call> run_cutin(bool won) {
        std::vector<Call> calls;
        do {
            const bool done = finish_cutin(won);
            calls.push_back({done, cutin_state, cutin_offset, take_event_texts()});
        } while (!calls.back().done && calls.size() < 1000);
        return calls;
    }

    void check_cutin_timing(bool won, const char* music, const char* voice) {
        voice_cooldown = 60;  // a clip started a moment ago
        const std::vector<Call> calls = run_cutin(won);
        ASSERT_EQ(calls.size(), 36u + 83 + 40 + 32);
        // The picture drops 4 pixels a call from y -64; the music changes on the 36th call.
        for (int i = 0; i < 35; ++i) {
            EXPECT_EQ(calls[i].state, 1) << i;
            EXPECT_EQ(calls[i].offset, -60 + 4 * i) << i;
            EXPECT_TRUE(calls[i].events.empty()) << i;
        }
        EXPECT_EQ(calls[35].state, 2);
        EXPECT_EQ(calls[35].events, (Texts{"stop_music", std::string("music ") + music + " 0"}));
        // The screen closes for 83 calls; the voice comes on the last, whatever the cooldown.
        for (int i = 36; i < 118; ++i) EXPECT_EQ(calls[i].state, 2) << i;
        EXPECT_EQ(calls[118].state, 3);
        EXPECT_EQ(calls[118].events, (Texts{std::string("voice ") + voice}));
        // The hold counts the offset from 80 down to 0 over 40 calls.
        EXPECT_EQ(calls[119].offset, 78);
        EXPECT_EQ(calls[157].state, 3);
        EXPECT_EQ(calls[158].state, 4);
        EXPECT_EQ(calls[158].offset, 0);
        // The picture leaves 10 pixels a call and is gone on the 32nd.
        EXPECT_EQ(calls[159].offset, 10);
        for (size_t i = 0; i + 1 < calls.size(); ++i) EXPECT_FALSE(calls[i].done) << i;
        EXPECT_TRUE(calls.back().done);
        EXPECT_EQ(calls.back().state, 0);
    }

    // Runs the ranking with these amounts left; the number of calls until the rank is taken.
    int rank_with(int a, int b, int c, int d) {
        const int amounts[4] = {a, b, c, d};
        for (int i = 0; i < 4; ++i) round_data.bowls[i].amount = amounts[i];
        result_state = result_window_growing;
        result_counter = 0;
        return calls_until_done([] { return result_sequence() || result_state == 2; }, 1000);
    }
};

}  // namespace

TEST_F(Endings, EndCutInTimingMusicAndVoice) { check_cutin_timing(true, "midi/end.mid", "voice/itadaki.wav"); }

TEST_F(Endings, MissCutInTimingMusicAndVoice) { check_cutin_timing(false, "midi/miss.mid", "voice/uwa.wav"); }

TEST_F(Endings, EndCutInSweepsEveryRaiderUpAndRightKeepingItsState) {
    round_data.raiders[0][0] = Raider{100, 44, 2, 3, raider_walking};
    round_data.raiders[3][4] = Raider{0, 0, 0, 0, raider_waiting};  // still waiting off-screen
    finish_cutin(true);  // the first call steps the round twice
    EXPECT_EQ(round_data.raiders[0][0].x, 120);
    EXPECT_EQ(round_data.raiders[0][0].y, 24);
    EXPECT_EQ(round_data.raiders[0][0].state, 1);
    EXPECT_EQ(round_data.raiders[3][4].x, 20);
    EXPECT_EQ(round_data.raiders[3][4].y, -20);
    EXPECT_EQ(round_data.raiders[3][4].state, 0);
    finish_cutin(true);
    EXPECT_EQ(round_data.raiders[0][0].x, 130);
    EXPECT_EQ(round_data.raiders[0][0].y, 14);
}

TEST_F(Endings, FoodLeftIsRankedAfterTheRevealAndTheBanner) {
    const struct {
        int amounts[4];
        int rank;
    } cases[] = {
        {{1000, 1000, 1000, 1000}, 3}, {{1000, 1000, 1000, 999}, 2}, {{1000, 1000, 0, 0}, 2},
        {{999, 1000, 0, 0}, 1},        {{0, 0, 1000, 0}, 1},         {{0, 999, 0, 0}, 0},
        {{1, 0, 0, 0}, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rank_with(c.amounts[0], c.amounts[1], c.amounts[2], c.amounts[3]), 32 + 68);
        const int total = c.amounts[0] + c.amounts[1] + c.amounts[2] + c.amounts[3];
        EXPECT_EQ(round_data.total_left, total);
        EXPECT_EQ(round_data.rank, c.rank) << total;
    }
}

TEST_F(Endings, RankingWithoutPerfectRoundEndsAfterTheMosaic) {
    ASSERT_EQ(rank_with(900, 900, 900, 900), 32 + 68);
    take_event_texts();
    // Rise 32, hold 200, mosaic 19; the end music is left to run out.
    EXPECT_EQ(calls_until_done([] { return result_sequence() || result_state == 3; }, 1000), 32);
    EXPECT_EQ(calls_until_done([] { return result_sequence() || result_state == 4; }, 1000), 200);
    EXPECT_EQ(calls_until_done(result_sequence, 1000), 19);
    EXPECT_EQ(result_state, 0);
    EXPECT_EQ(result_counter, 0);
    EXPECT_TRUE(take_event_texts().empty()) << "no sheet, no sound";
}

TEST_F(Endings, PerfectRoundShowsTheStaffScreenUntilAFreshPress) {
    se_enabled = false;  // as the round left it at time-up
    ASSERT_EQ(rank_with(1000, 1000, 1000, 1000), 32 + 68);
    EXPECT_EQ(calls_until_done([] { return result_sequence() || result_state == 5; }, 1000), 32 + 200 + 19);
    EXPECT_EQ(take_event_texts(), (Texts{"sheet bitmap/staff.bmp"}));
    EXPECT_FALSE(se_enabled);

    // The staff screen wipes open with the effects back on; A held from before is ignored.
    set_button_a(true, true);
    EXPECT_FALSE(result_sequence());
    EXPECT_TRUE(se_enabled);
    EXPECT_EQ(calls_until_done([] { return result_sequence() || result_state == 6; }, 1000), 82);
    for (int i = 0; i < 30; ++i) ASSERT_FALSE(result_sequence());
    set_button_a(false, true);
    EXPECT_FALSE(result_sequence());
    input.button_b = 1;
    EXPECT_FALSE(result_sequence()) << "only A leaves";
    EXPECT_TRUE(take_event_texts().empty());

    set_button_a(true, false);
    EXPECT_TRUE(result_sequence());
    EXPECT_EQ(take_event_texts(), (Texts{"se 0", "stop_music"}));
    EXPECT_EQ(result_state, 0);
    EXPECT_EQ(result_counter, 0);
}
