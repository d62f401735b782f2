// Settings as the menu's changes write them back into its values.
#include "hosts/shared/menu_setting.h"

#include "hosts/shared/settings_table.h"

namespace {

bool read_yes_no(const std::string& text, bool* value) {
    if (text != "yes" && text != "no") return false;
    *value = text == "yes";
    return true;
}

// "a, b": the names the menu joins with a comma; an empty list is none.
bool read_names(const std::string& text, std::vector<std::string>* names) {
    std::vector<std::string> read;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find(',', at);
        if (end == std::string::npos) end = text.size();
        const size_t first = text.find_first_not_of(' ', at);
        size_t last = end;
        while (last > at && text[last - 1] == ' ') --last;
        if (first >= last) return false;  // an empty name between commas
        read.push_back(text.substr(first, last - first));
        at = end + 1;
        if (end + 1 == text.size()) return false;  // a trailing comma
    }
    *names = std::move(read);
    return true;
}

int game_key_named(const std::string& name) {
    for (int key = 0; key < game_key_count; ++key)
        if (name == game_keys[key].setting) return key;
    return -1;
}

}  // namespace

bool apply_menu_setting(MenuValues* values, const std::string& section, const std::string& key,
                        const std::string& value) {
    if (section == keys_section || section == pad_section) {
        const int game_key = game_key_named(key);
        if (game_key < 0) return false;
        return read_names(value, section == keys_section ? &values->keys[game_key] : &values->buttons[game_key]);
    }
    const SettingName name = setting_named(key);
    if (!section.empty() || name == setting_name_count || !setting_rows[name].in_menu) return false;
    switch (name) {
    case setting_volume: return read_whole_setting(name, value, &values->volume);
    case setting_music_volume: return read_whole_setting(name, value, &values->music_volume);
    case setting_effects_volume: return read_whole_setting(name, value, &values->effects_volume);
    case setting_scale: return read_whole_setting(name, value, &values->scale);
    case setting_mute: return read_yes_no(value, &values->mute);
    case setting_fullscreen: return read_yes_no(value, &values->fullscreen);
    case setting_pause_in_background: return read_yes_no(value, &values->pause_in_background);
    case setting_vibration: return read_yes_no(value, &values->vibration);
    case setting_captions: return parse_caption_mode(value.c_str(), &values->captions);
    case setting_lang:
        if (value != "en" && value != "ja") return false;
        values->english = value == "en";
        return true;
    default: return false;
    }
}

int apply_menu_settings_text(MenuValues* values, const std::string& text) {
    int refused = 0;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(at, end - at);
        at = end + 1;
        if (line.empty()) continue;
        const size_t tab = line.find('\t');
        const size_t second = tab == std::string::npos ? tab : line.find('\t', tab + 1);
        if (second == std::string::npos ||
            !apply_menu_setting(values, line.substr(0, tab), line.substr(tab + 1, second - tab - 1),
                                line.substr(second + 1)))
            ++refused;
    }
    return refused;
}
