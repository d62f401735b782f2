// The game's listeners: each one added is told, in the order added, and one
// taken away is told no more.
#include <gtest/gtest.h>

#include <string>

#include "core/observer.h"

namespace {

std::string heard;

void first_heard(const char* path) { heard += std::string("1:") + path + " "; }
void second_heard(const char* path) { heard += std::string("2:") + path + " "; }

const GameObserver first = {nullptr, nullptr, first_heard, nullptr, nullptr, nullptr, nullptr};
const GameObserver second = {nullptr, nullptr, second_heard, nullptr, nullptr, nullptr, nullptr};
const GameObserver deaf = {}, fourth = {}, fifth = {};

}  // namespace

TEST(Observer, EveryListenerIsToldInTheOrderAddedUntilItIsTakenAway) {
    clear_game_observers();
    heard.clear();
    ASSERT_TRUE(add_game_observer(&first));
    ASSERT_TRUE(add_game_observer(&deaf));
    ASSERT_TRUE(add_game_observer(&second));
    ASSERT_TRUE(add_game_observer(&first));  // once is enough
    observe(&GameObserver::voice_started, "a.wav");
    EXPECT_EQ(heard, "1:a.wav 2:a.wav ");
    remove_game_observer(&first);
    observe(&GameObserver::voice_started, "b.wav");
    EXPECT_EQ(heard, "1:a.wav 2:a.wav 2:b.wav ");
    ASSERT_TRUE(add_game_observer(&first));
    EXPECT_TRUE(add_game_observer(&fourth));
    EXPECT_FALSE(add_game_observer(&fifth)) << "four places";
    clear_game_observers();
    observe(&GameObserver::voice_started, "c.wav");
    EXPECT_EQ(heard, "1:a.wav 2:a.wav 2:b.wav ");
}
