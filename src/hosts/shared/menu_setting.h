// A setting kept as the menu's changes name it (section, key, value as text),
// read back into the menu's values: how a host that keeps the changes as they
// come (the browser's localStorage) starts the next game with them.
#pragma once

#include <string>

#include "hosts/shared/options_menu.h"

// Sets the value the setting names; false, leaving the values as they were,
// for a setting the menu does not know or a value it would not have written.
bool apply_menu_setting(MenuValues* values, const std::string& section, const std::string& key,
                        const std::string& value);
// Settings as lines "section\tkey\tvalue\n", as a host may keep the changes;
// returns how many lines were refused (each leaves its setting as it was).
int apply_menu_settings_text(MenuValues* values, const std::string& text);
