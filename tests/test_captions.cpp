// The voices' captions: when one shows, the mode setting, and that each
// edition's text fits the band.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "core/data_file.h"
#include "hosts/shared/captions.h"

namespace {

const VoiceCaption* caption_of(const char* file) {
    for (int i = 0; i < voice_caption_count; ++i)
        if (std::strcmp(voice_captions[i].file, file) == 0) return &voice_captions[i];
    return nullptr;
}

}  // namespace

TEST(Captions, ShowWhileTheClipPlaysUntilReplacedOrReset) {
    reset_captions();
    caption_voice_asked("voice/hajimaru.wav");
    EXPECT_EQ(nullptr, caption_showing(1000));  // asked, not yet sounding
    caption_voice_played(1700, 1000);
    EXPECT_EQ(caption_of("voice/hajimaru.wav"), caption_showing(1000));
    EXPECT_EQ(caption_of("voice/hajimaru.wav"), caption_showing(2699));
    EXPECT_EQ(nullptr, caption_showing(2700));

    // A short shout's caption stays long enough to read.
    caption_voice_asked("voice/uwa.wav");
    caption_voice_played(500, 3000);
    EXPECT_EQ(caption_of("voice/uwa.wav"), caption_showing(4499));
    EXPECT_EQ(nullptr, caption_showing(4500));

    // The next voice replaces one still sounding.
    caption_voice_asked("voice/kono.wav");
    caption_voice_played(400, 2000);
    caption_voice_asked("voice/uwa.wav");
    caption_voice_played(900, 2100);
    EXPECT_EQ(caption_of("voice/uwa.wav"), caption_showing(2500));

    // A clip that failed to load never plays: nothing shows, and the voice
    // it cut off shows no more.
    caption_voice_asked("voice/tama.wav");
    EXPECT_EQ(nullptr, caption_showing(2600));

    // Across the millisecond clock's wrap.
    caption_voice_asked("voice/hin.wav");
    caption_voice_played(500, 0xFFFFFF00u);
    EXPECT_EQ(caption_of("voice/hin.wav"), caption_showing(100));

    reset_captions();
    EXPECT_EQ(nullptr, caption_showing(101));
}

TEST(Captions, EveryVoiceOfTheDataHasOne) {
    int voices = 0;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(KUZARI_DATA_DIR) + "/voice")) {
        const std::string file = "voice/" + entry.path().filename().string();
        EXPECT_NE(nullptr, caption_of(file.c_str())) << file;
        ++voices;
    }
    EXPECT_EQ(voices, voice_caption_count);
}

TEST(Captions, ModeParsesAndFollowsTheEdition) {
    for (CaptionMode mode : {captions_auto, captions_on, captions_off}) {
        CaptionMode read = mode == captions_on ? captions_off : captions_on;
        EXPECT_TRUE(parse_caption_mode(caption_mode_name(mode), &read));
        EXPECT_EQ(mode, read);
    }
    CaptionMode mode = captions_on;
    for (const char* bad : {"", "On", "yes", "auto ", "1"}) EXPECT_FALSE(parse_caption_mode(bad, &mode)) << bad;
    EXPECT_EQ(captions_on, mode);
    EXPECT_TRUE(captions_wanted(captions_auto, true));
    EXPECT_FALSE(captions_wanted(captions_auto, false));
    EXPECT_TRUE(captions_wanted(captions_on, false));
    EXPECT_FALSE(captions_wanted(captions_off, true));
}

TEST(Captions, EachEditionsTextFitsItsBandCentred) {
    set_data_folder(KUZARI_DATA_DIR);
    PixelFont font;
    std::string error;
    ASSERT_TRUE(load_pixel_font(&font, &error)) << error;
    set_data_folder("");
    for (int i = 0; i < voice_caption_count; ++i)
        for (bool english : {false, true}) {
            const char* text = english ? voice_captions[i].meaning : voice_captions[i].words;
            EXPECT_LE(pixel_text_width(font, text) + 12, caption_band_width) << text;
            OverlayImage band;
            draw_caption(&band, font, voice_captions[i], english);
            ASSERT_EQ(caption_band_width * caption_band_height, int(band.pixels.size()));
            // The strip is centred: its first and last columns mirror each other.
            int left = caption_band_width, right = -1;
            for (int x = 0; x < caption_band_width; ++x)
                if (band.pixels[size_t(x)]) left = std::min(left, x), right = std::max(right, x);
            EXPECT_LE(std::abs(left - (caption_band_width - 1 - right)), 1) << text;
        }
}

// A caption lasts as long as its clip: the clip's length from its bytes and format.
TEST(Captions, ClipLengthFromItsFormat) {
    EXPECT_EQ(clip_milliseconds(44100, ClipFormat{22050, 16, 1}), 1000u);
    EXPECT_EQ(clip_milliseconds(22050, ClipFormat{11025, 8, 2}), 1000u);
    EXPECT_EQ(clip_milliseconds(0xFFFFFFFFu, ClipFormat{8000, 8, 1}), 536870911u);  // no overflow on the way
    EXPECT_EQ(clip_milliseconds(4000, ClipFormat{0, 16, 1}), 0u);
    EXPECT_EQ(clip_milliseconds(4000, ClipFormat{22050, 16, 0}), 0u);
}
