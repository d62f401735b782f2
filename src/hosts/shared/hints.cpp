// The hints' words for each device in both editions, and their band.
#include "hosts/shared/hints.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr OverlayColour title_strip = 0xFF000000;   // the title caption's black
constexpr OverlayColour refill_strip = 0xFF1C1C3C;  // the sign's lower half
constexpr OverlayColour text_colour = 0xFFFCFCFC;
constexpr int strip_margin = 2;  // beside words wider than the line

struct HintText {
    const char* english;
    const char* japanese;
};

// {up} {down} {throw} {refill} stand for the keys' names.
constexpr HintText title_text = {"{up}/{down}: choose  {throw}: OK", "{up}/{down}：えらぶ  {throw}：けってい"};
constexpr HintText pad_title_text = {"{up}{down}: choose  {throw}: OK", "{up}{down}：えらぶ  {throw}：けってい"};
constexpr HintText refill_text = {"{refill}:refill", "{refill}で補充"};
constexpr HintText touch_title_text = {"▲▼ or tap: choose  throw: OK", "▲▼・タップ：えらぶ  投げる：けってい"};
constexpr HintText touch_refill_text = {"bowl: refill", "おわん：補充"};
constexpr HintText no_key = {"none", "なし"};

// A pad button as its face shows it.
struct ButtonFace {
    const char* name;  // SDL's
    const char* face;
};
constexpr ButtonFace button_faces[] = {
    {"a", "A"},     {"b", "B"},         {"x", "X"},         {"y", "Y"},     {"leftshoulder", "LB"},
    {"rightshoulder", "RB"}, {"lefttrigger", "LT"}, {"righttrigger", "RT"}, {"back", "Back"},
    {"start", "Start"}, {"leftstick", "L3"}, {"rightstick", "R3"}, {"dpup", "↑"}, {"dpdown", "↓"},
    {"dpleft", "←"}, {"dpright", "→"}, {"guide", "Guide"},
};

std::string button_face(const std::string& name) {
    for (const ButtonFace& button : button_faces)
        if (name == button.name) return button.face;
    return name;
}

// A page's KeyboardEvent.code as the key's cap says it ("KeyZ" -> "Z").
std::string page_key_face(const std::string& code) {
    for (const char* prefix : {"Key", "Digit"})
        if (code.size() > std::strlen(prefix) && code.compare(0, std::strlen(prefix), prefix) == 0)
            return code.substr(std::strlen(prefix));
    return code;
}

// The name the game's own line gives a key whose default still plays it.
const char* own_name(GameKey key, bool english) {
    switch (key) {
        case key_up: return english ? "Up" : "↑";
        case key_down: return english ? "Down" : "↓";
        case key_throw: return "Enter";
        case key_refill: return "Shift";
        default: return "";
    }
}

// Whether the player still has the key the game's line names (its first default).
bool default_bound(GameKey key, const HintBindings& bindings) {
    const char* named = bindings.page_codes ? game_keys[key].page_codes[0] : game_keys[key].desktop_keys[0];
    const std::vector<std::string>& keys = bindings.keys[key];
    return std::find(keys.begin(), keys.end(), named) != keys.end();
}

std::string key_name(GameKey key, InputDevice device, bool english, const HintBindings& bindings) {
    if (device == device_pad) {
        const std::vector<std::string>* buttons = bindings.buttons ? &bindings.buttons[key] : nullptr;
        if (!buttons) return button_face(game_keys[key].pad_button);
        return buttons->empty() ? (english ? no_key.english : no_key.japanese) : button_face(buttons->front());
    }
    if (default_bound(key, bindings)) return own_name(key, english);
    const std::vector<std::string>& keys = bindings.keys[key];
    if (keys.empty()) return english ? no_key.english : no_key.japanese;
    return bindings.page_codes ? page_key_face(keys.front()) : keys.front();
}

std::string fill_in(const char* text, InputDevice device, bool english, const HintBindings& bindings) {
    std::string out = text;
    for (const GameKey key : {key_up, key_down, key_throw, key_refill}) {
        const std::string mark = std::string("{") + game_keys[key].setting + "}";
        const size_t at = out.find(mark);
        if (at != std::string::npos) out.replace(at, mark.size(), key_name(key, device, english, bindings));
    }
    return out;
}

}  // namespace

HintPlace hint_place(GameHint hint) {
    switch (hint) {
        case hint_title: return {16, 178, 160, 14};
        case hint_refill: return {101, 216, 54, 8};  // inside the sign's sides, down to its foot
        case hint_none: break;
    }
    return {};
}

std::string hint_words(GameHint hint, InputDevice device, bool english, const HintBindings& bindings) {
    if (hint == hint_none) return "";
    if (device == device_touch) {
        const HintText& text = hint == hint_title ? touch_title_text : touch_refill_text;
        return english ? text.english : text.japanese;
    }
    if (device == device_keyboard) {
        const bool moved = hint == hint_title
                               ? !default_bound(key_up, bindings) || !default_bound(key_down, bindings) ||
                                     !default_bound(key_throw, bindings)
                               : !default_bound(key_refill, bindings);
        if (!moved) return "";
    }
    const HintText* text = &refill_text;
    if (hint == hint_title) {
        const bool arrows = key_name(key_up, device, english, bindings) == "↑" &&
                            key_name(key_down, device, english, bindings) == "↓";
        text = arrows ? &pad_title_text : &title_text;
    }
    return fill_in(english ? text->english : text->japanese, device, english, bindings);
}

void draw_hint(OverlayImage* band, const PixelFont& font, GameHint hint, const std::string& words) {
    const HintPlace place = hint_place(hint);
    clear_overlay(band, hint_band_width, place.height);
    if (hint == hint_none || words.empty()) return;
    const int width = pixel_text_width(font, words.c_str());
    // Words wider than the line widen the strip about its middle, within the picture.
    const int strip_width =
        width <= place.width ? place.width : std::min(hint_band_width, width + 2 * strip_margin);
    const int strip_left =
        std::clamp(place.left + (place.width - strip_width) / 2, 0, hint_band_width - strip_width);
    fill_overlay_box(band, strip_left, 0, strip_width, place.height, hint == hint_title ? title_strip : refill_strip);
    const int x = strip_left + (strip_width - width) / 2;
    draw_pixel_text(band, font, x, (place.height - pixel_font_cell + 1) / 2, words.c_str(), text_colour);
}
