// The settings behind the real game's options (sdl_settings_table.cpp) and
// the settings file that holds them (sdl_settings_file.cpp).
#pragma once

#include <functional>
#include <string>
#include <vector>

// One key of the settings file: its section ("" before any), its name, what
// it takes and does (the file's comments), its value now as the file writes
// it, and how a value is taken (false: a value it cannot take).
struct Setting {
    const char* section;
    const char* key;
    const char* values;
    const char* about;
    std::function<std::string()> text;
    std::function<bool(const std::string& value)> set;
};

const Setting* find_setting(const std::string& section, const std::string& key);
const Setting* settings_begin();
const Setting* settings_end();

// $XDG_CONFIG_HOME/kuzari/kuzari.ini; empty when there is no folder for it.
std::string default_settings_path();
// Applies every good line of the file; each bad one is named on standard
// error with its line and left out. A missing file is fine unless the player
// named it; one that cannot be read is reported and the defaults stay.
void read_settings_file(const std::string& path, bool named_by_player);
// The same for a settings file's text, `path` naming it in the messages.
void read_settings_text(const std::string& path, const std::string& text);
// The file with every key at its value now, commented; false (and a message)
// when it cannot be written or is there already.
bool write_settings_file(const std::string& path);

// The settings file with these keys changed and every other line kept (a
// missing file is begun); written whole or not at all. False, with *error
// saying why, when it cannot be read or written: the change then holds for
// this session only.
struct SettingsEdit;
bool keep_settings(const std::string& path, const std::vector<SettingsEdit>& edits, std::string* error);
