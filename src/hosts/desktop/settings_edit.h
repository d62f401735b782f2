// Changing a few keys of a settings file's text and nothing else: the
// player's comments, order, spacing and every other line stay byte for
// byte, so that a change made in the options menu does not rewrite a file
// they keep by hand.
#pragma once

#include <string>
#include <vector>

struct SettingsEdit {
    std::string section;  // "" for the keys before any [section]
    std::string key;
    std::string value;
};

// The text with each edit's key set to its value: every line of that key in
// its section is rewritten in place (its spacing and any ' ; comment' kept),
// a missing key is added after the last line of its section, and a missing
// section is added at the end. False, and *text untouched, when an edit cannot
// be written on one line (an empty key, a key with '=', ':' or a bracket, a
// line break or NUL anywhere), or when a new key would run into an indented
// line after it, which the game would then read as its value.
bool edit_settings_text(std::string* text, const std::vector<SettingsEdit>& edits);

// The value of a key as the game reads it (the last line of it in its
// section wins); false when there is none.
bool settings_text_value(const std::string& text, const std::string& section, const std::string& key,
                         std::string* value);
