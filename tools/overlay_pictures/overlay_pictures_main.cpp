// kuzari-overlay-pictures: writes each voice's caption band, as the hosts lay
// it over the game, in both editions, for the hosts' tests to compare their
// screens with and for the README.
//   kuzari-overlay-pictures [--data DIR] OUTDIR
// OUTDIR/caption-NAME-ja.png and caption-NAME-en.png, 320 x 16 RGBA, one
// pixel a game pixel, NAME the clip's ("hajimaru"); menu-ja.png and
// menu-en.png, 320 x 240, the options menu as it opens on the desktop with
// every setting as it starts; hint-LINE-DEVICE-ja.png and -en.png, 320 wide
// and the line's height, the words laid over the title's line ("title") and
// the round's refill line ("refill") for a pad ("pad"), a touch screen
// ("touch") and a keyboard with throw and refill moved to Z and X ("zx").
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/data_file.h"
#include "hosts/shared/captions.h"
#include "hosts/shared/hints.h"
#include "hosts/shared/options_menu.h"
#include "hosts/shared/pixel_font.h"
#include "hosts/shared/png/png_file.h"

namespace {

int fail(const std::string& message) {
    std::fprintf(stderr, "kuzari-overlay-pictures: %s\n", message.c_str());
    return 1;
}

// "voice/hajimaru.wav" -> "hajimaru"
std::string clip_name(const char* file) {
    std::string name = file;
    const size_t slash = name.rfind('/');
    if (slash != std::string::npos) name.erase(0, slash + 1);
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.erase(dot);
    return name;
}

bool write_band(const std::string& path, const OverlayImage& band, std::string* error) {
    std::vector<uint8_t> rgba(band.pixels.size() * 4);
    for (size_t i = 0; i < band.pixels.size(); ++i) {
        const OverlayColour c = band.pixels[i];
        rgba[i * 4 + 0] = uint8_t(c >> 16);
        rgba[i * 4 + 1] = uint8_t(c >> 8);
        rgba[i * 4 + 2] = uint8_t(c);
        rgba[i * 4 + 3] = uint8_t(c >> 24);
    }
    return write_png(path, band.width, band.height, 4, rgba.data(), error);
}

// The menu with the desktop's rows and every value as the game starts.
OverlayImage opening_menu(const PixelFont& font, bool english) {
    MenuFeatures features;
    features.window_options = true;
    MenuValues values;
    values.english = english;
    for (int key = 0; key < game_key_count; ++key)
        for (const char* name : game_keys[key].desktop_keys)
            if (name) values.keys[key].push_back(name);
    OptionsMenu* menu = open_options_menu(values, features, english);
    OverlayImage image;
    draw_options_menu(&image, font, menu);
    close_options_menu(menu);
    return image;
}

// Each hint line's band for each device, throw and refill moved to Z and X
// for the keyboard's.
bool write_hints(const std::string& out, const PixelFont& font, std::string* error) {
    std::vector<std::string> keys[game_key_count], buttons[game_key_count];
    for (int key = 0; key < game_key_count; ++key) {
        for (const char* name : game_keys[key].desktop_keys)
            if (name) keys[key].push_back(name);
        buttons[key] = {game_keys[key].pad_button};
    }
    keys[key_throw] = {"Z"};
    keys[key_refill] = {"X"};
    const HintBindings bindings{keys, buttons, false};
    const struct {
        InputDevice device;
        const char* name;
    } devices[] = {{device_pad, "pad"}, {device_touch, "touch"}, {device_keyboard, "zx"}};
    for (const GameHint hint : {hint_title, hint_refill})
        for (const auto& device : devices)
            for (bool english : {false, true}) {
                OverlayImage band;
                draw_hint(&band, font, hint, hint_words(hint, device.device, english, bindings));
                const std::string path = out + "/hint-" + (hint == hint_title ? "title-" : "refill-") +
                                         device.name + (english ? "-en" : "-ja") + ".png";
                if (!write_band(path, band, error)) return false;
            }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const char* environment = std::getenv("KUZARI_DATA");
    std::string data = environment && *environment ? environment : KUZARI_SOURCE_DATA_DIR;
    std::string out;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--data") == 0 && i + 1 < argc) {
            data = argv[++i];
        } else if (argv[i][0] == '-' || !out.empty()) {
            return fail("usage: kuzari-overlay-pictures [--data DIR] OUTDIR");
        } else {
            out = argv[i];
        }
    }
    if (out.empty()) return fail("usage: kuzari-overlay-pictures [--data DIR] OUTDIR");

    set_data_folder(data);
    PixelFont font;
    std::string error;
    if (!load_pixel_font(&font, &error)) return fail(data + "/" + error);
    for (int i = 0; i < voice_caption_count; ++i)
        for (bool english : {false, true}) {
            OverlayImage band;
            draw_caption(&band, font, voice_captions[i], english);
            const std::string path =
                out + "/caption-" + clip_name(voice_captions[i].file) + (english ? "-en" : "-ja") + ".png";
            if (!write_band(path, band, &error)) return fail(error);
        }
    for (bool english : {false, true})
        if (!write_band(out + (english ? "/menu-en.png" : "/menu-ja.png"), opening_menu(font, english), &error))
            return fail(error);
    if (!write_hints(out, font, &error)) return fail(error);
    return 0;
}
