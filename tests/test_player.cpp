// The player: entrance, throwing, lane changes with the hop, refilling and idling.
#include <gtest/gtest.h>

#include "audio/audio.h"
#include "gameplay/gameplay.h"
#include "core/random.h"
#include "support/round_setup.h"

namespace {

Rect player_picture(int32_t pose) { return make_rect(32 * pose, 0, 32 * pose + 32, 40); }

void expect_stock_invariant() {
    for (int i = 0; i < shot_count; ++i)
        ASSERT_EQ(round_data.shots[i].state == 0, i < round_data.shots_left) << "shot " << i;
}

}  // namespace

TEST(PlayerDropIn, FallsStandsAndLandsOnItsThirtyNinthCall) {
    round_data.player_action = action_idle;
    for (int call = 1; call <= 38; ++call) {
        ASSERT_FALSE(player_drop_in()) << call;
        if (call == 1) { EXPECT_EQ(round_data.player_y, -40); }  // speed 1 / 3 moves nothing
        if (call == 27) { EXPECT_EQ(round_data.player_y, 77); }
        if (call == 27) { EXPECT_EQ(round_data.player_pose, pose_tucked); }
        if (call == 28) { EXPECT_EQ(round_data.player_y, 80); }  // 86 held at 80
        if (call == 28) { EXPECT_EQ(round_data.player_pose, pose_crouching); }
        if (call == 37) { EXPECT_EQ(round_data.drop_state, 2); }
    }
    ASSERT_TRUE(player_drop_in());
    EXPECT_EQ(round_data.player_x, 40);
    EXPECT_EQ(round_data.player_y, 80);
    EXPECT_EQ(round_data.player_pose, pose_standing);
    EXPECT_EQ(round_data.player_timer, 0);
    EXPECT_EQ(round_data.player_lane, 1);
    EXPECT_EQ(round_data.drop_state, 0);
    // The entrance starts afresh next time.
    EXPECT_FALSE(player_drop_in());
    EXPECT_EQ(round_data.player_y, -40);
    EXPECT_EQ(round_data.drop_speed, 1);
}

TEST(PlayerThrowing, AThrowEveryFiveFramesUntilTheStockIsEmpty) {
    place_player(1);
    std::vector<int> throw_frames;
    for (int frame = 1; frame <= 200; ++frame) {
        next_input(5, true);
        const int32_t before = round_data.shots_left;
        update_player();
        expect_stock_invariant();
        if (round_data.shots_left != before) {
            throw_frames.push_back(frame);
            EXPECT_EQ(round_data.player_timer, 4) << frame;
            // The shot used is the one at the new stock count.
            const Shot& shot = round_data.shots[round_data.shots_left];
            EXPECT_EQ(shot.state, 1);
            EXPECT_EQ(shot.timer, 0);
        }
        // Pose 1 in the throw frame and the two after, then 0 for two frames.
        const int phase = (frame - 1) % 5;
        if (frame <= 186) { EXPECT_EQ(round_data.player_pose, phase < 3 ? pose_throwing : pose_standing) << frame; }
        EXPECT_EQ(round_data.player_action, 1);
    }
    ASSERT_EQ(throw_frames.size(), 38u);
    for (size_t i = 0; i < throw_frames.size(); ++i) EXPECT_EQ(throw_frames[i], int(5 * i + 1));
    EXPECT_EQ(round_data.shots_left, 0);
    EXPECT_NE(round_data.shots[0].state, 0);
    EXPECT_EQ(round_data.player_pose, pose_standing);
}

TEST(PlayerThrowing, FirstThrowFromFullStockDrawsVoiceThenXThenY) {
    for (uint32_t seed : {1u, 2u, 3u, 77u, 1234u}) {
        place_player(1);
        for (Shot& s : round_data.shots) s = Shot{};
        game_srand(seed);
        game_rand();  // the voice choice comes first
        const int32_t x_draw = game_rand(), y_draw = game_rand();
        game_srand(seed);
        next_input(5, true);
        update_player();
        const Shot& shot = round_data.shots[37];
        EXPECT_EQ(shot.x, 40 + x_draw % 4 + 28) << seed;
        EXPECT_EQ(shot.y, 80 + y_draw % 4 + 15) << seed;
        EXPECT_GE(shot.x, 68);
        EXPECT_LE(shot.x, 71);
        EXPECT_GE(shot.y, 95);
        EXPECT_LE(shot.y, 98);
        EXPECT_EQ(round_data.player_pose, pose_throwing);
        EXPECT_EQ(round_data.player_timer, 4);
    }
    // A throw from a stock that is not full draws no voice number.
    place_player(1);
    round_data.shots_left = 20;
    game_srand(9);
    const int32_t x_draw = game_rand(), y_draw = game_rand();
    game_srand(9);
    next_input(5, true);
    update_player();
    EXPECT_EQ(round_data.shots[19].x, 40 + x_draw % 4 + 28);
    EXPECT_EQ(round_data.shots[19].y, 80 + y_draw % 4 + 15);
}

TEST(PlayerThrowing, EmptyStockHoldsTheThrowUntilAIsReleased) {
    place_player(2);
    round_data.shots_left = 1;
    for (int i = 1; i < shot_count; ++i) round_data.shots[i].state = shot_spent;
    next_input(5, true);
    update_player();
    ASSERT_EQ(round_data.shots_left, 0);
    ASSERT_EQ(round_data.shots[0].state, 1);
    // Held A with nothing left: no lane change, a B press is lost.
    next_input(2, true, true);
    update_player();
    EXPECT_EQ(round_data.player_action, 1);
    EXPECT_EQ(round_data.player_lane, 2);
    // Release with B still held from before: idle again, no refill.
    next_input(2, false, true);
    update_player();
    EXPECT_EQ(round_data.player_action, 0);
    EXPECT_EQ(round_data.player_lane, 2);
    // Next frame the held direction counts.
    next_input(2, false, true);
    update_player();
    EXPECT_EQ(round_data.player_action, 3);
    EXPECT_EQ(round_data.player_lane, 3);
}

TEST(PlayerThrowing, CooldownLeftInIdleStillCountsDownWithoutThrowing) {
    // Up at the top lane: no move and no idle animation, so the pose shows the cooldown.
    place_player(0);
    next_input(8, true);
    update_player();  // throw, timer 4
    next_input(8, false);
    update_player();  // released: idle, timer 3, pose 1
    EXPECT_EQ(round_data.player_action, 0);
    EXPECT_EQ(round_data.player_timer, 3);
    EXPECT_EQ(round_data.player_pose, pose_throwing);
    next_input(8, true);
    update_player();  // cooldown 3 blocks the throw; counts to 2
    EXPECT_EQ(round_data.shots_left, 37);
    EXPECT_EQ(round_data.player_timer, 2);
    EXPECT_EQ(round_data.player_pose, pose_throwing);
    update_player();
    EXPECT_EQ(round_data.player_pose, pose_standing);
    update_player();
    EXPECT_EQ(round_data.player_timer, 0);
    update_player();
    EXPECT_EQ(round_data.shots_left, 36);
}

TEST(PlayerLaneChange, DownFromLaneZeroHopsAlongTheArcAndLands) {
    ASSERT_TRUE(start_round_display());
    place_player(0);
    const int drawn_y[15] = {40, 34, 30, 28, 28, 28, 28, 30, 32, 34, 38, 42, 46, 52, 60};
    for (int frame = 1; frame <= 20; ++frame) {
        next_input(frame == 1 ? 2 : 5);
        update_player();
        const RoundState& r = round_data;
        if (frame <= 16) {
            EXPECT_EQ(r.player_x, 56 - frame) << frame;
            EXPECT_EQ(r.player_y, 48 + 2 * frame) << frame;
        }
        const uint64_t drawn = drawn_hash([&] { draw_player(r.player_x, r.player_y, r.player_pose); });
        if (frame <= 15) {
            EXPECT_EQ(r.player_action, 3);
            EXPECT_EQ(r.player_pose, pose_tucked);
            EXPECT_EQ(drawn, sprites_hash({{r.player_x, drawn_y[frame - 1], player_picture(3)}})) << frame;
        } else if (frame <= 19) {
            EXPECT_EQ(r.player_action, 4) << frame;
            EXPECT_EQ(r.player_pose, pose_crouching) << frame;
            EXPECT_EQ(drawn, sprites_hash({{40, 80, player_picture(2)}})) << frame;
        } else {
            EXPECT_EQ(r.player_action, 0);
            EXPECT_EQ(r.player_lane, 1);
        }
    }
    EXPECT_EQ(round_data.player_x, 40);
    EXPECT_EQ(round_data.player_y, 80);
    // The lifted picture differs from the unlifted one, so the check above sees the lift.
    EXPECT_NE(sprites_hash({{55, 40, player_picture(3)}}), sprites_hash({{55, 50, player_picture(3)}}));
}

TEST(PlayerLaneChange, UpUsesItsOwnPosesAndHeldDirectionMovesEveryTwentyFrames) {
    place_player(3);
    std::vector<int> starts;
    for (int frame = 1; frame <= 60; ++frame) {
        next_input(8);
        const int32_t lane = round_data.player_lane;
        update_player();
        if (round_data.player_lane != lane) starts.push_back(frame);
        if (frame == 1) { EXPECT_EQ(round_data.player_pose, pose_leaping); }
        if (frame == 16) { EXPECT_EQ(round_data.player_pose, pose_landing); }
        if (frame == 16) { EXPECT_EQ(round_data.player_action, 4); }
        if (frame == 1) { EXPECT_EQ(round_data.player_x, 9); }
        if (frame == 1) { EXPECT_EQ(round_data.player_y, 142); }
    }
    EXPECT_EQ(starts, (std::vector<int>{1, 21, 41}));
    EXPECT_EQ(round_data.player_lane, 0);
    // At the top lane an upward direction does nothing.
    for (int frame = 0; frame < 30; ++frame) {
        next_input(9);
        update_player();
        EXPECT_EQ(round_data.player_lane, 0);
    }
    EXPECT_EQ(round_data.player_action, 0);
    EXPECT_EQ(round_data.player_pose, pose_standing);
    EXPECT_EQ(round_data.player_x, 56);
    EXPECT_EQ(round_data.player_y, 48);
}

TEST(PlayerLaneChange, BottomLaneIgnoresDownAndAIsIgnoredWhileHopping) {
    place_player(3);
    for (int frame = 0; frame < 10; ++frame) {
        next_input(1);
        update_player();
        EXPECT_EQ(round_data.player_lane, 3);
        EXPECT_EQ(round_data.player_action, 0);
    }
    // A direction with A in the same idle frame: the hop wins, nothing thrown until idle.
    place_player(1);
    for (int frame = 1; frame <= 21; ++frame) {
        next_input(frame == 1 ? 2 : 5, true);
        update_player();
        if (frame < 21) { EXPECT_EQ(round_data.shots_left, 38) << frame; }
    }
    EXPECT_EQ(round_data.shots_left, 37);
    EXPECT_GE(round_data.shots[37].y, 127);
    EXPECT_LE(round_data.shots[37].y, 130);
}

TEST(PlayerRefill, ThirtyFramesWithItsPosesThenAFullStock) {
    place_player(1);
    // Throws in frames 1, 6 and 11, A released in 12, B pressed in 13.
    for (int frame = 1; frame <= 12; ++frame) {
        next_input(5, frame <= 11);
        update_player();
        update_shots();
    }
    ASSERT_EQ(round_data.shots_left, 35);
    ASSERT_EQ(round_data.player_timer, 3);  // a running cooldown does not hold the refill back
    for (int frame = 1; frame <= 30; ++frame) {
        next_input(5, false, frame == 1);
        const int32_t flying_x = round_data.shots[35].x;
        update_player();
        update_shots();
        const PlayerPose expected_pose =
            frame == 30 ? pose_standing : (frame < 10 || frame >= 20) ? pose_throwing : pose_crouching;
        EXPECT_EQ(round_data.player_pose, expected_pose) << frame;
        if (frame == 29) {
            // Something still in the air when the refill completes vanishes.
            round_data.shots[37] = Shot{0, shot_flying, 200, 60, 0};
            round_data.shots[36] = Shot{0, shot_sparking, 150, 60, 1};
        }
        if (frame < 30) {
            EXPECT_EQ(round_data.player_action, 2) << frame;
            EXPECT_EQ(round_data.shots_left, 35);
            if (frame < 10) { EXPECT_EQ(round_data.shots[35].x, flying_x + 10) << "keeps flying"; }
        }
    }
    EXPECT_EQ(round_data.player_action, 1);
    EXPECT_EQ(round_data.shots_left, 38);
    for (int i = 0; i < shot_count; ++i) {
        EXPECT_EQ(round_data.shots[i].id, i);
        EXPECT_EQ(round_data.shots[i].state, 0);
        EXPECT_EQ(round_data.shots[i].timer, 0);
    }
    // x and y are left as they were.
    EXPECT_EQ(round_data.shots[37].x, 200);
    EXPECT_EQ(round_data.shots[36].y, 60);
    // With A held the very next frame throws from the full stock.
    next_input(5, true);
    update_player();
    EXPECT_EQ(round_data.shots_left, 37);
}

TEST(PlayerRefill, DownAndBInTheSameFrameRefillsInPlaceThenStandsOnTheNewLane) {
    place_player(1);
    next_input(2, false, true);
    update_player();
    EXPECT_EQ(round_data.player_lane, 2);
    EXPECT_EQ(round_data.player_action, 2);
    EXPECT_EQ(round_data.player_timer, 1);
    for (int frame = 2; frame <= 30; ++frame) {
        next_input(5, false, true);  // held B is no new press
        update_player();
        EXPECT_EQ(round_data.player_x, 40);
        EXPECT_EQ(round_data.player_y, 80);
    }
    EXPECT_EQ(round_data.player_action, 1);
    // A throw at once leaves from the old position.
    next_input(5, true);
    update_player();
    EXPECT_GE(round_data.shots[37].y, 95);
    EXPECT_LE(round_data.shots[37].y, 98);
    next_input(5);
    update_player();
    EXPECT_EQ(round_data.player_action, 0);
    EXPECT_EQ(round_data.player_x, 24);
    EXPECT_EQ(round_data.player_y, 112);
}

TEST(PlayerIdle, AnimationFollowsTheIdleClockOnlyForLevelDirections) {
    place_player(1);
    round_data.idle_clock = 59;
    for (int call = 0; call < 120; ++call) {
        next_input(call % 2 ? 4 : 6);
        update_player();
        const int32_t clock = round_data.idle_clock;
        ASSERT_EQ(clock, call % 60);
        PlayerPose expected = pose_standing;
        if ((clock >= 10 && clock < 20) || (clock >= 30 && clock < 40)) expected = pose_blinking;
        if (clock >= 50) expected = pose_fidgeting;
        EXPECT_EQ(round_data.player_pose, expected) << clock;
    }
    // A diagonal at the top lane shows no idle animation.
    place_player(0);
    round_data.idle_clock = 14;
    next_input(7);
    update_player();
    EXPECT_EQ(round_data.idle_clock, 15);
    EXPECT_EQ(round_data.player_pose, pose_standing);
}

TEST(PlayerFlash, OnlyInThrowFramesCyclingItsThreePictures) {
    ASSERT_TRUE(start_round_display());
    place_player(1);
    round_data.flash_frame = 2;  // carried over from an earlier round
    std::vector<int32_t> pictures;
    for (int frame = 1; frame <= 16; ++frame) {
        next_input(5, true);
        update_player();
        const int32_t picture = round_data.flash_frame;
        game_srand(1000 + frame);
        const int32_t dy = game_rand() % 4, dx = game_rand() % 4;
        const int32_t after_draws = game_rand();
        game_srand(1000 + frame);
        const uint64_t drawn = drawn_hash(draw_throw_flash);
        const bool throw_frame = (frame - 1) % 5 == 0;
        if (throw_frame) {
            pictures.push_back(picture);
            const Rect flash = make_rect(208 + 16 * picture, 192, 224 + 16 * picture, 208);
            EXPECT_EQ(drawn, sprites_hash({{40 + 28 + dx, 80 + 11 + dy, flash}})) << frame;
            EXPECT_EQ(game_rand(), after_draws);  // exactly two numbers drawn
        } else {
            EXPECT_EQ(round_data.flash_frame, picture);
            EXPECT_EQ(drawn, sprites_hash({}));
            game_srand(1000 + frame);
        }
    }
    EXPECT_EQ(pictures, (std::vector<int32_t>{2, 0, 1, 2}));
    for (int32_t picture = 0; picture < 3; ++picture) {
        const Rect flash = make_rect(208 + 16 * picture, 192, 224 + 16 * picture, 208);
        EXPECT_NE(sprites_hash({{70, 92, flash}}), sprites_hash({})) << "flash " << picture << " shows";
    }
    EXPECT_EQ(round_data.flash_frame, 0);
}

TEST(PlayerSounds, ThrowLaneChangeRefillAndTheLastShot) {
    ASSERT_TRUE(start_round_display());
    if (!sound_is_recorded()) GTEST_SKIP() << "the sound engine does not record its calls yet";
    place_player(1);
    voice_cooldown = 0;
    game_srand(5);
    const bool first_voice = game_rand() % 6 < 3;
    game_srand(5);
    next_input(5, true);
    update_player();
    EXPECT_EQ(take_sounds(), (std::vector<std::string>{
                                 "se 3", first_voice ? "voice voice/kono.wav" : "voice voice/oraora.wav"}));
    next_input(5);
    for (int i = 0; i < 5; ++i) update_player();
    EXPECT_TRUE(take_sounds().empty());
    next_input(2, false, true);
    update_player();
    EXPECT_EQ(take_sounds(), (std::vector<std::string>{"se 2", "se 4"}));
    next_input(5);
    for (int i = 0; i < 29; ++i) update_player();
    EXPECT_EQ(take_sounds(), (std::vector<std::string>{"se 4"}));
    round_data.shots_left = 1;
    voice_cooldown = 0;
    next_input(5, true);
    update_player();
    EXPECT_EQ(take_sounds(), (std::vector<std::string>{"se 3", "voice voice/tama.wav"}));
}
