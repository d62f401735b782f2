// The raiders: setting out, walking, eating at the bowl, knock-back and flying off.
#include <gtest/gtest.h>

#include <set>

#include "audio/audio.h"
#include "gameplay/gameplay.h"
#include "core/random.h"
#include "support/round_setup.h"

namespace {

// Every raider waiting, every bowl full.
void fresh_raiders(int32_t time_left) {
    round_data = RoundState{};
    round_data.time_left = time_left;
    for (Bowl& bowl : round_data.bowls) bowl.amount = 1000;
}

Raider& walker(int row, int slot, int32_t x) {
    Raider& raider = round_data.raiders[row][slot];
    raider = Raider{x, 32 * row + 44, 2, 0, raider_walking};
    return raider;
}

// The hit points of every raider that sets out over many frames.
std::set<int32_t> hp_at_set_out(int32_t time_left) {
    fresh_raiders(time_left);
    game_srand(4242);
    std::set<int32_t> seen;
    int set_outs = 0;
    for (int frame = 0; frame < 3000; ++frame) {
        update_raiders();
        for (auto& row : round_data.raiders) {
            for (Raider& raider : row) {
                if (raider.state != 1) continue;
                seen.insert(raider.hp);
                ++set_outs;
                raider.state = raider_waiting;  // back to waiting, to roll again
            }
        }
    }
    EXPECT_GT(set_outs, 50);
    return seen;
}

}  // namespace

TEST(RaidersSetOut, DrawsXAnimRollAndHpInVisitingOrder) {
    // Find a seed with which some raider sets out in the first frame.
    for (uint32_t seed = 1; seed < 2000; ++seed) {
        fresh_raiders(18000);
        game_srand(seed);
        update_raiders();
        const int32_t after_frame = game_rand();
        game_srand(seed);
        bool any_set_out = false;
        for (int row = 0; row < lane_count; ++row) {
            for (int slot = 0; slot < raiders_per_lane; ++slot) {
                const Raider& raider = round_data.raiders[row][slot];
                ASSERT_EQ(raider.x, game_rand() % 420 + 360);
                ASSERT_EQ(raider.y, 32 * row + 44);
                ASSERT_EQ(raider.anim, game_rand() % 30);
                const bool sets_out = game_rand() % 500 == 1;
                ASSERT_EQ(raider.state, sets_out ? 1 : 0);
                if (sets_out) {
                    ASSERT_EQ(raider.hp, game_rand() % 2 + 1);
                    any_set_out = true;
                }
            }
        }
        ASSERT_EQ(game_rand(), after_frame) << "no number drawn beyond these";
        if (any_set_out) return;
    }
    FAIL() << "no seed made a raider set out";
}

TEST(RaidersSetOut, TougherFromTimeThreeThousandDown) {
    EXPECT_EQ(hp_at_set_out(18000), (std::set<int32_t>{1, 2}));
    EXPECT_EQ(hp_at_set_out(3002), (std::set<int32_t>{1, 2}));
    EXPECT_EQ(hp_at_set_out(3000), (std::set<int32_t>{3, 4}));
    EXPECT_EQ(hp_at_set_out(2), (std::set<int32_t>{3, 4}));
}

TEST(RaidersSetOut, OnlyWaitingRaidersDrawNumbers) {
    fresh_raiders(18000);
    for (auto& row : round_data.raiders)
        for (Raider& raider : row) raider = Raider{330, 0, 1, 0, raider_knocked_back};  // knocked back, off-screen
    game_srand(3);
    const int32_t next = game_rand();
    game_srand(3);
    update_raiders();
    EXPECT_EQ(game_rand(), next);
}

TEST(RaidersWalking, StopLineOfEachRowThenABiteEveryFrame) {
    for (int row = 0; row < lane_count; ++row) {
        fresh_raiders(18000);
        const int32_t line = 112 - 16 * row;
        Raider& raider = walker(row, 2, line + 1);
        update_raiders();
        EXPECT_EQ(raider.x, line);
        EXPECT_EQ(round_data.bowls[row].amount, 1000) << "reaching the line is no bite";
        for (int frame = 1; frame <= 5; ++frame) {
            update_raiders();
            EXPECT_EQ(raider.x, line);
            EXPECT_EQ(round_data.bowls[row].amount, 1000 - frame);
        }
        for (int other = 0; other < lane_count; ++other) {
            if (other != row) { EXPECT_EQ(round_data.bowls[other].amount, 1000); }
        }
    }
}

TEST(RaidersWalking, AnimationCycleOfTenAndDoubleSpeedAtTheEnd) {
    fresh_raiders(102);
    Raider& raider = walker(1, 0, 300);
    raider.anim = 8;
    update_raiders();
    EXPECT_EQ(raider.x, 299);
    EXPECT_EQ(raider.anim, 9);
    update_raiders();
    EXPECT_EQ(raider.anim, 0);
    round_data.time_left = 100;
    update_raiders();
    EXPECT_EQ(raider.x, 296);
    // At double speed a raider at its bowl still takes one unit per frame.
    raider.x = 97;
    update_raiders();
    EXPECT_EQ(raider.x, 96);
    EXPECT_EQ(round_data.bowls[1].amount, 999);
    update_raiders();
    EXPECT_EQ(raider.x, 96);
    EXPECT_EQ(round_data.bowls[1].amount, 998);
}

TEST(RaidersEating, SeveralAtOneBowlBiteIndependentlyPastZero) {
    ASSERT_TRUE(start_round_display());
    fresh_raiders(18000);
    round_data.bowls[2].amount = 2;
    walker(2, 0, 80);
    walker(2, 3, 80);
    voice_cooldown = 0;
    take_sounds();
    update_raiders();
    EXPECT_EQ(round_data.bowls[2].amount, 0);
    EXPECT_EQ(take_sounds(), (std::vector<std::string>{"voice voice/hin.wav"}));

    fresh_raiders(18000);
    round_data.bowls[0].amount = 1;
    for (int slot = 0; slot < 3; ++slot) walker(0, slot, 112);
    voice_cooldown = 0;
    update_raiders();
    EXPECT_EQ(round_data.bowls[0].amount, -2);
    EXPECT_EQ(take_sounds(), (std::vector<std::string>{"voice voice/hin.wav"}));
    draw_bowls();
    EXPECT_EQ(round_data.bowls[0].amount, 0);
    // Biting an empty bowl makes no sound.
    voice_cooldown = 0;
    update_raiders();
    EXPECT_EQ(round_data.bowls[0].amount, -3);
    EXPECT_TRUE(take_sounds().empty());
}

TEST(RaidersKnockBack, LastsFortyMinusTheWalkingPhase) {
    for (int32_t phase : {0, 1, 5, 9, 39}) {
        fresh_raiders(18000);
        Raider& raider = round_data.raiders[3][4];
        raider = Raider{100, 140, 1, phase, raider_knocked_back};
        int frames = 0;
        while (raider.state == 2 && frames < 100) {
            update_raiders();
            ++frames;
        }
        EXPECT_EQ(frames, 40 - phase) << phase;
        EXPECT_EQ(raider.x, 100 + 2 * frames) << "pushed right in every frame, the last too";
        // Back to walking, the phase folds to 0 on its first step.
        update_raiders();
        EXPECT_EQ(raider.anim, 0);
        EXPECT_EQ(raider.x, 100 + 2 * frames - 1);
    }
}

TEST(RaidersFlyingOff, RisesUntilXReachesThreeTwentyThenWaits) {
    fresh_raiders(18000);
    Raider& raider = round_data.raiders[3][0];
    raider = Raider{250, 140, 0, 3, raider_flying_off};
    for (int frame = 1; frame <= 6; ++frame) {
        update_raiders();
        EXPECT_EQ(raider.y, 140 - 10 * frame);
        EXPECT_EQ(raider.state, 3);
    }
    update_raiders();  // x 320
    EXPECT_EQ(raider.x, 320);
    EXPECT_EQ(raider.y, 70);
    EXPECT_EQ(raider.state, 0);
    update_raiders();  // re-rolled as a waiting raider
    EXPECT_GE(raider.x, 360);
    EXPECT_EQ(raider.y, 140);
}
