// The shots: flight, the hit test against the raiders, sparks, the gauge and the label.
#include <gtest/gtest.h>

#include "gameplay/gameplay.h"
#include "core/random.h"
#include "support/round_setup.h"

namespace {

const Rect stock_icon = make_rect(208, 176, 216, 192);
const Rect empty_label = make_rect(248, 176, 304, 192);

Shot& flying_shot(int i, int32_t x, int32_t y) {
    Shot& shot = round_data.shots[i];
    shot = Shot{i, shot_flying, x, y, 0};
    round_data.shots_left = i;
    return shot;
}

// Frames until a shot thrown from `lane`'s home leaves the screen, for each x offset.
std::vector<int> frames_to_leave(int32_t lane) {
    std::vector<int> frames;
    for (int32_t dx = 0; dx < 4; ++dx) {
        place_player(lane);
        Shot& shot = flying_shot(0, 56 - 16 * lane + 28 + dx, 32 * lane + 63);
        int frame = 0;
        while (shot.state == 1 && frame < 100) {
            update_shots();
            ++frame;
        }
        frames.push_back(frame);
    }
    return frames;
}

}  // namespace

TEST(ShotsFlight, LeavesAfterTwentyFourFramesOnLaneZeroAndTwentyNineOnLaneThree) {
    EXPECT_EQ(frames_to_leave(0), (std::vector<int>{24, 24, 24, 24}));
    EXPECT_EQ(frames_to_leave(3), (std::vector<int>{29, 29, 29, 29}));
}

TEST(ShotsHit, ThrownOnLaneZeroStrikesARaiderAtTheStopLineInFrameThree) {
    for (uint32_t seed : {1u, 8u, 21u, 300u}) {
        place_player(0);
        Raider& raider = round_data.raiders[0][1];
        raider = Raider{112, 44, 2, 3, raider_walking};
        game_srand(seed);
        for (int frame = 1; frame <= 3; ++frame) {
            next_input(5, frame == 1);
            play_frame();
            if (frame < 3) {
                EXPECT_EQ(round_data.shots[37].state, 1) << frame;
                EXPECT_EQ(raider.state, 1);
            }
        }
        EXPECT_EQ(round_data.shots[37].state, 2) << seed;
        EXPECT_EQ(raider.state, 2);
        EXPECT_EQ(raider.hp, 1);
        // Sparks 0, 1, 2 in the next three frames, then spent.
        for (int32_t t = 1; t <= 3; ++t) {
            update_shots();
            EXPECT_EQ(round_data.shots[37].timer, t);
        }
        EXPECT_EQ(round_data.shots[37].state, 3);
    }
}

TEST(ShotsHit, OneShotStrikesEveryRaiderItPassesInThatFrame) {
    ASSERT_TRUE(start_round_display());
    place_player(1);
    round_data.raiders[1][0] = Raider{96, 76, 2, 0, raider_walking};
    round_data.raiders[1][4] = Raider{96, 76, 1, 0, raider_walking};
    round_data.raiders[1][2] = Raider{120, 76, 1, 0, raider_walking};  // not passed yet
    Shot& shot = flying_shot(30, 90, 96);
    take_sounds();
    update_shots();
    EXPECT_EQ(shot.state, 2);
    EXPECT_EQ(round_data.raiders[1][0].state, 2);
    EXPECT_EQ(round_data.raiders[1][0].hp, 1);
    EXPECT_EQ(round_data.raiders[1][4].state, 3);
    EXPECT_EQ(round_data.raiders[1][4].hp, 0);
    EXPECT_EQ(round_data.raiders[1][2].state, 1);
    EXPECT_EQ(take_sounds(), (std::vector<std::string>{"se 6", "se 6", "se 5"}));
}

TEST(ShotsHit, TheBandIsStrictlyInsideTheRaidersTopThirtyTwoRows) {
    const struct {
        int32_t shot_y;
        bool hit;
    } cases[] = {{76, false}, {77, true}, {107, true}, {108, false}};
    for (const auto& c : cases) {
        place_player(1);
        round_data.raiders[1][0] = Raider{96, 76, 2, 0, raider_walking};
        flying_shot(5, 86, c.shot_y);  // tested at 96: not past the raider's x
        update_shots();
        EXPECT_EQ(round_data.raiders[1][0].hp, 2) << "x equal is no hit";
        update_shots();
        EXPECT_EQ(round_data.raiders[1][0].hp, c.hit ? 1 : 2) << c.shot_y;
    }
}

TEST(ShotsHit, AKnockedBackRaiderStaysKnockedBackAndAFlyingOneIsStruckAgain) {
    ASSERT_TRUE(start_round_display());
    place_player(1);
    Raider& struck = round_data.raiders[1][0];
    struck = Raider{150, 76, 3, 20, raider_knocked_back};
    flying_shot(3, 145, 90);
    update_shots();
    EXPECT_EQ(struck.state, 2);
    EXPECT_EQ(struck.hp, 2);
    EXPECT_EQ(struck.anim, 20) << "a hit does not reset the knock-back clock";

    // A raider flying off from lane 2 rises through lane 1's band.
    place_player(1);
    Raider& flier = round_data.raiders[2][3];
    flier = Raider{100, 80, 0, 4, raider_flying_off};
    Shot& shot = flying_shot(10, 150, 95);
    take_sounds();
    update_raiders();  // now at (110, 70): 95 lies within 71..101
    update_shots();
    EXPECT_EQ(flier.state, 3);
    EXPECT_EQ(flier.hp, -1);
    EXPECT_EQ(shot.state, 2);
    EXPECT_EQ(take_sounds(), (std::vector<std::string>{"se 6", "se 5"}));
}

TEST(ShotsHit, AHitAsTheShotLeavesShowsNoSpark) {
    place_player(0);
    round_data.raiders[0][0] = Raider{300, 44, 2, 0, raider_walking};
    Shot& shot = flying_shot(0, 310, 60);
    update_shots();
    EXPECT_EQ(round_data.raiders[0][0].hp, 1);
    EXPECT_EQ(shot.state, 3);
    // One frame earlier it sparks.
    place_player(0);
    round_data.raiders[0][0] = Raider{300, 44, 2, 0, raider_walking};
    Shot& earlier = flying_shot(0, 305, 60);
    update_shots();
    EXPECT_EQ(earlier.state, 2);
}

TEST(ShotsGauge, IconsForTheStockAndTheLabelWhenItIsEmpty) {
    ASSERT_TRUE(start_round_display());
    place_player(1);
    for (Shot& s : round_data.shots) s = Shot{};
    std::vector<Placed> full;
    for (int i = 0; i < shot_count; ++i) full.push_back({8 * i + 8, 208, stock_icon});
    EXPECT_EQ(drawn_hash(update_shots), sprites_hash(full));
    EXPECT_NE(sprites_hash(full), sprites_hash({})) << "the icons show";

    // One thrown: the icon at x 304 is gone and the shot flies.
    round_data.shots[37] = Shot{0, shot_flying, 70, 96, 0};
    std::vector<Placed> after_one(full.begin(), full.end() - 1);
    after_one.push_back({70, 96, make_rect(216, 176, 224, 184)});
    EXPECT_EQ(drawn_hash(update_shots), sprites_hash(after_one));

    // All spent: only the label.
    for (Shot& s : round_data.shots) s.state = shot_spent;
    EXPECT_EQ(drawn_hash(update_shots), sprites_hash({{100, 208, empty_label}}));
    EXPECT_NE(sprites_hash({{100, 208, empty_label}}), sprites_hash({}));

    // The label is drawn first, under a spark of a higher index.
    round_data.shots[0] = Shot{0, shot_sparking, 110, 212, 1};
    round_data.shots[5] = Shot{5, shot_sparking, 120, 212, 2};
    EXPECT_EQ(drawn_hash(update_shots),
              sprites_hash({{100, 208, empty_label},
                            {110, 212, make_rect(232, 176, 240, 184)},
                            {120, 212, make_rect(240, 176, 248, 184)}}));
}

TEST(ShotsGauge, TheLabelShowsFromTheFrameOfTheLastThrow) {
    ASSERT_TRUE(start_round_display());
    place_player(1);
    round_data.shots_left = 1;
    for (int i = 1; i < shot_count; ++i) round_data.shots[i].state = shot_spent;
    next_input(5, true);
    update_player();
    const Shot thrown = round_data.shots[0];
    ASSERT_EQ(thrown.state, 1);
    EXPECT_EQ(drawn_hash(update_shots),
              sprites_hash({{100, 208, empty_label}, {thrown.x, thrown.y, make_rect(216, 176, 224, 184)}}));
}
