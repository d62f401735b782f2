// The menu's changes to the player's settings file: only the changed keys'
// lines change, a missing key lands in its section, and nothing that cannot
// be written on one line is written.
#include <gtest/gtest.h>

#include <string>

#include "hosts/desktop/settings_edit.h"

namespace {

const std::string players_file =
    "# my settings\n"
    "fullscreen = no\n"
    "volume=80   ; too loud at night\n"
    "\n"
    "[keys]\n"
    "# I throw with space\n"
    "throw = Space\n"
    "\n"
    "# end\n";

}  // namespace

TEST(SettingsEdit, OnlyTheChangedValueChanges) {
    std::string text = players_file;
    ASSERT_TRUE(edit_settings_text(&text, {{"", "volume", "40"}, {"keys", "throw", "Left Alt"}}));
    std::string expected = players_file;
    expected.replace(expected.find("80"), 2, "40");
    expected.replace(expected.find("throw = Space"), 13, "throw = Left Alt");
    EXPECT_EQ(text, expected);
}

TEST(SettingsEdit, AMissingKeyJoinsItsSectionAndAMissingSectionComesLast) {
    std::string text = players_file;
    ASSERT_TRUE(edit_settings_text(&text, {{"keys", "refill", "Z"}, {"", "captions", "on"}, {"pad", "throw", "b"}}));
    EXPECT_EQ(text,
              "# my settings\n"
              "fullscreen = no\n"
              "volume=80   ; too loud at night\n"
              "captions = on\n"
              "\n"
              "[keys]\n"
              "# I throw with space\n"
              "throw = Space\n"
              "refill = Z\n"
              "\n"
              "# end\n"
              "\n"
              "[pad]\n"
              "throw = b\n");
    std::string value;
    ASSERT_TRUE(settings_text_value(text, "pad", "throw", &value));
    EXPECT_EQ(value, "b");
}

TEST(SettingsEdit, WindowsLineEndsAndAnUnendedLastLineAreKept) {
    std::string text = "scale = 2\r\n[keys]\r\nthrow = Space";
    ASSERT_TRUE(edit_settings_text(&text, {{"", "scale", "3"}, {"keys", "up", "W"}}));
    EXPECT_EQ(text, "scale = 3\r\n[keys]\r\nthrow = Space\r\nup = W\r\n");
}

TEST(SettingsEdit, WhatWouldNotReadBackIsRefusedAndNothingChanges) {
    for (const SettingsEdit& bad : {SettingsEdit{"", "volume", "1\nsound = no"}, SettingsEdit{"", "", "1"},
                                    SettingsEdit{"", "a=b", "1"}, SettingsEdit{"", "lang", "en ; no"},
                                    SettingsEdit{"x]y", "k", "1"}}) {
        std::string text = players_file;
        EXPECT_FALSE(edit_settings_text(&text, {{"", "volume", "10"}, bad})) << bad.key << bad.value;
        EXPECT_EQ(text, players_file);
    }
}

// Lines the game's reader leaves out (a NUL, too long for libinih) hold no
// section for the editor either; a value after "= " starting with ';' is a
// comment there, and a comment right after an old value stays one.
TEST(SettingsEdit, LinesTheGameLeavesOutAndCommentsAreReadAsTheGameReadsThem) {
    const char held_nul[] = "[keys]\0\nthrow = Return\n";
    std::string text(held_nul, sizeof held_nul - 1);
    ASSERT_TRUE(edit_settings_text(&text, {{"keys", "up", "W"}}));
    EXPECT_EQ(text.substr(sizeof held_nul - 1), "\n[keys]\nup = W\n");
    text = "[pad] " + std::string(250, '#') + "\n";
    ASSERT_TRUE(edit_settings_text(&text, {{"pad", "up", "x"}}));
    EXPECT_EQ(text.substr(257), "\n[pad]\nup = x\n");
    text = "lang = ;en\nscale = 1 ;two\n";
    std::string value;
    ASSERT_TRUE(settings_text_value(text, "", "lang", &value));
    EXPECT_EQ(value, "");
    EXPECT_FALSE(edit_settings_text(&text, {{"", "lang", ";en"}}));
    ASSERT_TRUE(edit_settings_text(&text, {{"", "lang", "en"}, {"", "scale", "3"}}));
    EXPECT_EQ(text, "lang = en ;en\nscale = 3 ;two\n");
    // An indented line after a key with no name is no continuation of it.
    text = "[keys]\n = x\n [pad]\n";
    ASSERT_TRUE(edit_settings_text(&text, {{"pad", "up", "y"}}));
    EXPECT_EQ(text, "[keys]\n = x\n [pad]\nup = y\n");
}
