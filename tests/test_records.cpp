// The player's records: a round's end seen once from the game's state, the
// records brought up to date and read back, and a damaged file refused.
#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>
#include <sstream>
#include <vector>

#include "core/data_file.h"
#include "hosts/headless/headless.h"
#include "hosts/shared/options_menu.h"
#include "hosts/shared/input_script.h"
#include "hosts/shared/records.h"
#include "hosts/shared/round_watch.h"
#include "shell/shell.h"

TEST(RoundWatch, ThePerfectRoundIsWonOnceAndItsRankStands) {
    ASSERT_EQ(chdir(KUZARI_DATA_DIR), 0);
    std::ifstream file(KUZARI_SOURCE_DIR "/docs/screenshots/perfect.txt");
    std::stringstream text;
    text << file.rdbuf();
    HeadlessConfig config;
    std::string error;
    ASSERT_TRUE(parse_script(text.str(), &config.script, &error)) << error;
    RoundWatch watch;
    std::vector<std::pair<RoundEvent, uint64_t>> events;
    int32_t rank = -1, food = -1;
    config.on_frame = [&](uint64_t frame, bool) {
        const RoundEvent event = watch_round(&watch);
        if (event == round_event_none) return;
        events.emplace_back(event, frame);
        if (event == round_event_won) rank = round_rank(), food = round_food_left();
    };
    headless_configure(config);
    game_main();
    headless_finish();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].first, round_event_won);
    EXPECT_EQ(events[1].first, round_event_rank_stood);
    EXPECT_GT(events[1].second, events[0].second + 200) << "the rank stands 200 frames first";
    EXPECT_EQ(rank, 3);
    EXPECT_EQ(food, 4000);
}

TEST(Records, RoundsCountPerEditionAndTheMostFoodIsTheBest) {
    Records records;
    EXPECT_FALSE(add_round(&records, false, false, 0, 0));
    EXPECT_TRUE(add_round(&records, false, true, 1, 1500));
    EXPECT_FALSE(add_round(&records, false, true, 1, 1500)) << "a tie keeps the first";
    EXPECT_FALSE(add_round(&records, false, true, 0, 900));
    EXPECT_TRUE(add_round(&records, false, true, 3, 4000));
    EXPECT_TRUE(add_round(&records, true, true, 0, 10)) << "each edition has its own best";
    EXPECT_EQ(records.japanese.rounds, 5u);
    EXPECT_EQ(records.japanese.perfect, 1u);
    EXPECT_EQ(records.japanese.best_rank, 3);
    EXPECT_EQ(records.japanese.most_food, 4000);
    EXPECT_EQ(records.english.rounds, 1u);

    Records again;
    std::string error;
    ASSERT_TRUE(parse_records(records_text(records), &again, &error)) << error;
    EXPECT_EQ(records_text(again), records_text(records));
    EXPECT_EQ(again.english.most_food, 10);

    // A player who has only lost has no best yet.
    Records lost;
    add_round(&lost, true, false, 0, 0);
    ASSERT_TRUE(parse_records(records_text(lost), &again, &error)) << error;
    EXPECT_EQ(again.english.rounds, 1u);
    EXPECT_EQ(again.english.best_rank, no_rank);
}

TEST(Records, ABestRoundIsKeptAsItsRankIsTakenAndAgainOnceItStands) {
    Records records;
    bool best = false;
    EXPECT_EQ(records_after_event(&records, &best, round_event_none, false, 0, 0), write_nothing);
    EXPECT_EQ(records_after_event(&records, &best, round_event_won, false, 2, 3000), write_records | write_best_round);
    EXPECT_EQ(records_after_event(&records, &best, round_event_rank_stood, false, 2, 3000), write_best_round);
    EXPECT_EQ(records_after_event(&records, &best, round_event_rank_stood, false, 2, 3000), write_nothing)
        << "once a round";
    EXPECT_EQ(records_after_event(&records, &best, round_event_won, false, 1, 2000), write_records)
        << "a lesser round is counted, its recording not kept";
    EXPECT_EQ(records_after_event(&records, &best, round_event_rank_stood, false, 1, 2000), write_nothing);
    EXPECT_EQ(records_after_event(&records, &best, round_event_lost, false, 0, 0), write_records);
    EXPECT_EQ(records.japanese.rounds, 3u);
    EXPECT_EQ(records.japanese.most_food, 3000);
}

TEST(Records, NumbersAboveASmallMaximumAreRefused) {
    uint64_t value = 0;
    EXPECT_FALSE(parse_decimal("4", 3, &value));
    EXPECT_TRUE(parse_decimal("3", 3, &value));
    EXPECT_EQ(value, 3u);
    EXPECT_FALSE(parse_decimal("10", 9, &value));
    EXPECT_TRUE(parse_decimal("4000", 4000, &value));
    EXPECT_FALSE(parse_decimal("4001", 4000, &value));
    EXPECT_FALSE(parse_decimal("18446744073709551616", UINT64_MAX, &value));
    EXPECT_TRUE(parse_decimal("18446744073709551615", UINT64_MAX, &value));
}

TEST(Records, ADamagedFileIsRefusedWithItsLine) {
    // Each file, and why it is refused.
    const std::pair<const char*, const char*> cases[] = {
        {"ja rounds 2\nja rounds 3\n", "line 2: 'rounds' of ja again"},
        {"fr rounds 2\n", "line 1: the edition 'fr' is neither ja nor en"},
        {"ja wins 2\n", "line 1: unknown record 'wins'"},
        {"ja rounds\n", "line 1: 'ja rounds' is not EDITION KEY VALUE"},
        {"ja rounds 1\nja best-rank 4\nja most-food 10\n", "line 2: '4' is no number from 0 to 3"},
        {"ja rounds 1\nja most-food 4001\n", "line 2: '4001' is no number from 0 to 4000"},
        {"ja rounds 1\nja best-rank 2\n", "the records of ja do not agree with each other"},
        {"en rounds 1\nen perfect 2\n", "the records of en do not agree with each other"},
        {"en rounds 1\nen perfect 1\nen best-rank 1\nen most-food 1500\n",
         "the records of en do not agree with each other"},
    };
    for (const auto& [text, why] : cases) {
        Records records;
        records.japanese.rounds = 7;
        std::string error;
        EXPECT_FALSE(parse_records(text, &records, &error)) << text;
        EXPECT_EQ(error, why);
        EXPECT_EQ(records.japanese.rounds, 7u) << "a refused file changes nothing";
    }
}

TEST(RecordsPage, ShowsTheEditionsRecordsAndOffersTheBestRoundOnlyWhenKept) {
    set_data_folder(KUZARI_DATA_DIR);
    PixelFont font;
    std::string error;
    ASSERT_TRUE(load_pixel_font(&font, &error)) << error;
    set_data_folder("");
    MenuFeatures features;
    MenuValues values;
    // Without records kept the main page has no such row: the cursor wraps from Resume to Quit.
    OptionsMenu* menu = open_options_menu(values, features, true);
    menu_input(menu, menu_up);
    EXPECT_EQ(menu_input(menu, menu_confirm), request_none);
    EXPECT_EQ(menu_input(menu, menu_down), request_none);  // the question: No, then Yes
    EXPECT_EQ(menu_input(menu, menu_confirm), request_quit);
    close_options_menu(menu);

    features.records = true;
    values.records.rounds = 12;
    values.records.best_rank = 2;
    values.records.most_food = 3100;
    for (const bool kept : {false, true}) {
        values.best_round_kept = kept;
        menu = open_options_menu(values, features, true);
        menu_input(menu, menu_up);
        menu_input(menu, menu_up);  // Records, above Quit
        EXPECT_EQ(menu_input(menu, menu_confirm), request_none);
        OverlayImage image;
        draw_options_menu(&image, font, menu);
        // The cursor stands on Watch when there is a round to watch, else on Back.
        EXPECT_EQ(menu_input(menu, menu_confirm), kept ? request_watch_best_round : request_none) << kept;
        if (kept) {
            EXPECT_EQ(menu_input(menu, menu_back), request_none);  // back to the main page
            EXPECT_EQ(menu_input(menu, menu_back), request_resume);
        } else {
            EXPECT_EQ(menu_input(menu, menu_back), request_resume) << "Back led to the main page";
        }
        close_options_menu(menu);
    }
}
