// The bowls, the countdown with its display and judgement, and the scrolling field.
#include <gtest/gtest.h>

#include "gameplay/gameplay.h"
#include "support/replay_run.h"
#include "support/round_setup.h"

namespace {

Rect digit_picture(int32_t d, int32_t o) { return make_rect(16 * d, 176 + o, 16 * d + 16, 192 + o); }

// The countdown display as it should look for these digits and row.
uint64_t timer_display(const int32_t (&d)[4], int32_t o) {
    const Rect separator = make_rect(160, 176 + o, 168, 192 + o);
    return sprites_hash({{0, 0, make_rect(168, 176 + o, 208, 192 + o)},
                         {64, 0, separator},
                         {104, 0, separator},
                         {48, 0, digit_picture(d[0], o)},
                         {72, 0, digit_picture(d[1], o)},
                         {88, 0, digit_picture(d[2], o)},
                         {112, 0, digit_picture(d[3], o)}});
}

void set_amounts(int32_t a, int32_t b, int32_t c, int32_t d) {
    const int32_t amounts[4] = {a, b, c, d};
    for (int i = 0; i < 4; ++i) round_data.bowls[i].amount = amounts[i];
}

}  // namespace

TEST(BowlsDropIn, LandsOnItsTwentiethCallFull) {
    round_data.bowls[2].amount = 0;  // as a lost round leaves them
    for (int call = 1; call <= 19; ++call) {
        ASSERT_FALSE(bowls_drop_in()) << call;
        const int32_t fallen = (call - 1) * call / 2;
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(round_data.bowls[i].x, 88 - 16 * i);
            EXPECT_EQ(round_data.bowls[i].y, 32 * i - 136 + fallen) << call;
            EXPECT_EQ(round_data.bowls[i].amount, 1000);
        }
    }
    ASSERT_TRUE(bowls_drop_in());
    for (int i = 0; i < 4; ++i) EXPECT_EQ(round_data.bowls[i].y, 48 + 32 * i);
    EXPECT_EQ(round_data.bowl_drop_state, 0);
    EXPECT_EQ(round_data.bowl_fall_speed, 6);  // the overshoot
    // The next entrance starts again from above.
    EXPECT_FALSE(bowls_drop_in());
    EXPECT_EQ(round_data.bowls[0].y, -136);
}

TEST(BowlsDrawing, FivePicturesByFillWithTheirThresholds) {
    const struct {
        int32_t amount;
        int32_t column;
        int32_t after;
    } cases[] = {{1000, 0, 1000}, {999, 1, 999}, {751, 1, 751}, {750, 2, 750}, {501, 2, 501},
                 {500, 3, 500},   {1, 3, 1},     {0, 4, 0},     {-1, 4, 0},    {-40, 4, 0}};
    for (const auto& c : cases) {
        Bowl bowl{72, 80, c.amount};
        EXPECT_EQ(bowl_picture(bowl), c.column) << c.amount;
        EXPECT_EQ(bowl.amount, c.after);
    }
}

TEST(BowlsDrawing, DrawsEachBowlByItsFillAndPutsNegativeAmountsBackToZero) {
    ASSERT_TRUE(start_round_display());
    for (int i = 0; i < 4; ++i) round_data.bowls[i] = Bowl{88 - 16 * i, 48 + 32 * i, 0};
    set_amounts(1000, 600, -3, 200);
    round_data.player_action = action_idle;
    const auto bowl = [](int i, int column) {
        return Placed{88 - 16 * i, 48 + 32 * i, make_rect(32 * column, 40, 32 * column + 32, 80)};
    };
    EXPECT_EQ(drawn_hash(draw_bowls), sprites_hash({bowl(0, 0), bowl(1, 2), bowl(2, 4), bowl(3, 3)}));
    EXPECT_EQ(round_data.bowls[2].amount, 0);
    EXPECT_NE(sprites_hash({bowl(1, 2)}), sprites_hash({bowl(1, 3)})) << "the pictures differ";
}

TEST(TimerHud, DigitsReadLikeMinutesSecondsAndTenths) {
    const struct {
        int32_t time_left;
        int32_t digits[4];
    } cases[] = {{18000, {3, 0, 0, 0}}, {17998, {2, 5, 9, 9}}, {6000, {1, 0, 0, 0}}, {5998, {0, 5, 9, 9}},
                 {3000, {0, 3, 0, 0}},  {100, {0, 0, 1, 0}},   {98, {0, 0, 0, 9}},    {0, {0, 0, 0, 0}}};
    for (const auto& c : cases) {
        int32_t digits[4] = {-1, -1, -1, -1};
        timer_digits(c.time_left, digits);
        for (int i = 0; i < 4; ++i) EXPECT_EQ(digits[i], c.digits[i]) << c.time_left << " digit " << i;
    }
    EXPECT_EQ(timer_row_offset(18000), 0);
    EXPECT_EQ(timer_row_offset(3001), 0);
    EXPECT_EQ(timer_row_offset(3000), 16);
    EXPECT_EQ(timer_row_offset(0), 16);
}

TEST(TimerHud, CountsOnlyWhenAskedAndDrawsTheRowOfItsTime) {
    ASSERT_TRUE(start_round_display());
    set_amounts(1000, 1000, 1000, 1000);
    round_data.time_left = 3002;
    EXPECT_EQ(drawn_hash([] { EXPECT_EQ(update_timer_hud(false), 0); }), timer_display({0, 3, 0, 0}, 0));
    EXPECT_EQ(round_data.time_left, 3002);
    EXPECT_EQ(drawn_hash([] { EXPECT_EQ(update_timer_hud(true), 0); }), timer_display({0, 3, 0, 0}, 16));
    EXPECT_EQ(round_data.time_left, 3000);
    EXPECT_NE(timer_display({0, 3, 0, 0}, 0), timer_display({0, 3, 0, 0}, 16)) << "the rows differ";
    round_data.time_left = 18000;
    EXPECT_EQ(drawn_hash([] { update_timer_hud(false); }), timer_display({3, 0, 0, 0}, 0));
}

TEST(TimerHud, EmptyBowlsAreJudgedBeforeTimeUp) {
    round_data.time_left = 2;
    set_amounts(1, 0, 0, 0);
    EXPECT_EQ(update_timer_hud(true), 1);
    round_data.time_left = 2;
    set_amounts(0, 0, 0, 0);
    EXPECT_EQ(update_timer_hud(true), 2);
    round_data.time_left = 500;
    set_amounts(0, 0, 5, -5);
    EXPECT_EQ(update_timer_hud(true), 2);
    set_amounts(0, 0, 5, -4);
    EXPECT_EQ(update_timer_hud(false), 0);
    EXPECT_EQ(round_data.time_left, 498);
}

TEST(TimerHud, FourRaidersAtAnEmptySecondBowlLoseTheRoundWithThreeLeft) {
    round_data = RoundState{};
    round_data.time_left = 9000;
    set_amounts(3, 0, 0, 0);
    // Everyone else knocked back far off to the right, drawing no numbers.
    for (auto& row : round_data.raiders)
        for (Raider& raider : row) raider = Raider{500, 0, 1, 0, raider_knocked_back};
    for (int slot = 0; slot < 4; ++slot) round_data.raiders[1][slot] = Raider{96, 76, 1, 0, raider_walking};
    draw_bowls();
    update_raiders();
    EXPECT_EQ(round_data.bowls[1].amount, -4);
    EXPECT_EQ(update_timer_hud(true), 2);
}

TEST(Playfield, StripsScrollAtTheirOwnSpeedsAndWrapByOneTile) {
    round_data.scroll[0] = 0;
    round_data.scroll[1] = 0;
    round_data.scroll[2] = -60;
    round_data.scroll[3] = -58;
    draw_playfield();
    EXPECT_EQ(round_data.scroll[0], -4);
    EXPECT_EQ(round_data.scroll[1], -5);
    EXPECT_EQ(round_data.scroll[2], -66 + 64);
    EXPECT_EQ(round_data.scroll[3], -65 + 64);
    // Exactly -64 is kept.
    round_data.scroll[0] = -60;
    draw_playfield();
    EXPECT_EQ(round_data.scroll[0], -64);
    for (int frame = 0; frame < 500; ++frame) {
        draw_playfield();
        for (int s = 0; s < 4; ++s) {
            EXPECT_GE(round_data.scroll[s], -64);
            EXPECT_LE(round_data.scroll[s], -1);
        }
    }
}

TEST(Playfield, TilesTruncateHalfTheOffsetTowardZero) {
    ASSERT_TRUE(start_round_display());
    const int32_t scroll[4] = {-5, -1, -63, -64};
    const int32_t shift[4] = {-2, 0, -31, -32};
    const int32_t strip_y[4] = {0, 32, 192, 224};
    for (int s = 0; s < 4; ++s) round_data.scroll[s] = scroll[s];
    std::vector<Placed> expected;
    for (int s = 0; s < 4; ++s)
        for (int j = 0; j <= 10; ++j)
            expected.push_back({32 * j + shift[s], strip_y[s], make_rect(64 + 32 * s, 208, 96 + 32 * s, 240)});
    const int32_t row_start[4] = {-48, -32, -16, 0};
    for (int r = 0; r < 4; ++r)
        for (int k = 0; k < 6; ++k) expected.push_back({row_start[r] + 64 * k, 64 + 32 * r, make_rect(0, 208, 64, 240)});
    EXPECT_EQ(drawn_hash(draw_playfield), sprites_hash(expected));
    // Flooring instead of truncating would show strip 0 a pixel further left.
    for (int j = 0; j <= 10; ++j) expected[j].x -= 1;
    for (int s = 0; s < 4; ++s) round_data.scroll[s] = scroll[s];
    EXPECT_NE(drawn_hash(draw_playfield), sprites_hash(expected));
}

TEST(RoundInPlay, EntrancesThenTheFirstPlayFrameThrowsWithAHeldA) {
    ReplayOptions options;
    options.script = "300\n2 enter\n198\n300 enter\n";
    const ReplayResult run = run_replay(options);
    ASSERT_EQ(run.exit_status, 0) << run.error_output;
    // The frames in which the bowls and then the player finish their entrances.
    const auto first_in_state = [&](int state) {
        for (size_t i = 0; i < run.frames.size(); ++i)
            if (run.frames[i]["scenes"][2] == state) return i;
        return size_t(0);
    };
    const size_t bowls_landed = first_in_state(3), player_landed = first_in_state(4);
    ASSERT_GT(bowls_landed, 20u);
    EXPECT_EQ(player_landed - bowls_landed, 39u);
    EXPECT_EQ(run.frames[bowls_landed]["bowls"],
              nlohmann::json::parse("[[88,48,1000],[72,80,1000],[56,112,1000],[40,144,1000]]"));
    EXPECT_EQ(run.frames[bowls_landed - 1]["bowls"][0][1], 35);
    const auto& player = run.frames[player_landed]["player"];
    EXPECT_EQ(player[0], 40);
    EXPECT_EQ(player[1], 80);
    EXPECT_EQ(player[2], 0);
    // The first play frame throws at once: stock 37, shots[37] thrown and moved once.
    const size_t first_play = player_landed + 1;
    ASSERT_LT(first_play + 186, run.frames.size());
    const auto& first = run.frames[first_play];
    EXPECT_EQ(first["time_left"], 17998);
    EXPECT_EQ(first["player"][6], 37);
    EXPECT_EQ(first["player"][3], 4);
    const auto& shot = first["shots"][37];
    EXPECT_EQ(shot[1], 1);
    EXPECT_GE(shot[2].get<int>(), 78);
    EXPECT_LE(shot[2].get<int>(), 81);
    EXPECT_GE(shot[3].get<int>(), 95);
    EXPECT_LE(shot[3].get<int>(), 98);
    EXPECT_FALSE(frames_with_event(run, {"se", 3}).empty());
    // The 38th throw comes in play frame 186.
    EXPECT_EQ(run.frames[first_play + 184]["player"][6], 1);
    EXPECT_EQ(run.frames[first_play + 185]["player"][6], 0);
}
