// Loading Windows bitmaps into the sheet: the formats, the sheet's size rule,
// and malformed files that must be turned away without harm.
#include <gtest/gtest.h>

#include "graphics/graphics.h"
#include "shell/shell.h"
#include "hosts/headless/headless.h"
#include "support/bmp_writer.h"
#include "support/scratch_display.h"

namespace {

const char missing_caption[] = "ファイルが見つかりませーん";

// The display starts in an empty scratch directory, so the title sheet is
// missing at start-up and the sheet does not exist yet.
using SheetTest = ScratchDisplayTest;

std::vector<Rgb> test_colours(int width, int height, int distinct) {
    const Rgb choices[] = {{255, 255, 255}, {10, 200, 30}, {200, 17, 99}, {7, 3, 7},     {128, 64, 250},
                           {33, 66, 99},    {250, 250, 4}, {0, 0, 0},     {90, 180, 45}, {1, 255, 130}};
    std::vector<Rgb> pixels;
    for (int i = 0; i < width * height; ++i) pixels.push_back(choices[(i * 7 + i / width) % distinct]);
    return pixels;
}

// 5-bit channels are widened to 8 bits by bit replication, then truncated.
uint16_t rgb555_in_sheet(Rgb c) {
    const auto widen = [](unsigned v5) { return uint8_t(v5 << 3 | v5 >> 2); };
    return rgb565(Rgb{widen(c.r >> 3), widen(c.g >> 3), widen(c.b >> 3)});
}

}  // namespace

TEST_F(SheetTest, MissingTitleAtStartUpIsReportedAndLeavesNoSheet) {
    ASSERT_EQ(startup_events_.size(), 2u);
    EXPECT_EQ(startup_events_[0].kind, HeadlessEvent::sheet);
    EXPECT_EQ(startup_events_[0].text, "bitmap/title.bmp");
    EXPECT_EQ(startup_events_[1].kind, HeadlessEvent::box);
    EXPECT_EQ(startup_events_[1].text, "bitmap/title.bmp");
    EXPECT_EQ(startup_events_[1].caption, missing_caption);
    int w, h;
    EXPECT_FALSE(sheet_size(&w, &h));
}

TEST_F(SheetTest, EveryFormatLoadsWithTruncatedColours) {
    const struct {
        BmpFormat format;
        int distinct;
        bool top_down;
    } cases[] = {
        {BmpFormat::pal1, 2, false},   {BmpFormat::pal4, 10, false},        {BmpFormat::pal8, 10, false},
        {BmpFormat::pal8, 10, true},   {BmpFormat::os2_pal8, 10, false},    {BmpFormat::rgb555, 10, false},
        {BmpFormat::rgb565_bitfields, 10, false}, {BmpFormat::rgb24, 10, false}, {BmpFormat::rgb24, 10, true},
        {BmpFormat::rgb32, 10, false}, {BmpFormat::rgb32, 10, true},
    };
    const int width = 7, height = 5;  // an odd width exercises the row padding
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.format) * 10 + c.top_down);
        const std::vector<Rgb> pixels = test_colours(width, height, c.distinct);
        ASSERT_TRUE(write_file("picture.bmp", make_bmp(c.format, width, height, pixels, c.top_down)));
        ASSERT_TRUE(load_sheet("picture.bmp"));
        int w, h;
        ASSERT_TRUE(sheet_size(&w, &h));
        EXPECT_EQ(w, width);
        EXPECT_EQ(h, height);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const Rgb colour = pixels[size_t(y) * width + x];
                const uint16_t expected =
                    c.format == BmpFormat::rgb555 ? rgb555_in_sheet(colour) : rgb565(colour);
                ASSERT_EQ(sheet_pixel(x, y), expected) << "at " << x << "," << y;
            }
        }
    }
    for (const HeadlessEvent& e : headless_take_events()) EXPECT_NE(e.kind, HeadlessEvent::box);
}

TEST_F(SheetTest, FirstLoadSetsTheSheetSizeAndLaterOnesGoTopLeft) {
    const Rgb red{255, 0, 0}, blue{0, 0, 255}, green{0, 255, 0};
    ASSERT_TRUE(write_file("small.bmp", make_bmp(BmpFormat::rgb24, 4, 3, std::vector<Rgb>(12, red))));
    ASSERT_TRUE(write_file("large.bmp", make_bmp(BmpFormat::rgb24, 8, 6, std::vector<Rgb>(48, blue))));
    ASSERT_TRUE(write_file("tiny.bmp", make_bmp(BmpFormat::rgb24, 2, 1, std::vector<Rgb>(2, green))));

    ASSERT_TRUE(load_sheet("small.bmp"));
    ASSERT_TRUE(load_sheet("large.bmp"));  // cut off at the sheet's edges
    int w, h;
    ASSERT_TRUE(sheet_size(&w, &h));
    EXPECT_EQ(w, 4);
    EXPECT_EQ(h, 3);
    EXPECT_EQ(sheet_pixel(3, 2), rgb565(blue));

    ASSERT_TRUE(load_sheet("tiny.bmp"));  // the rest keeps what it held
    EXPECT_EQ(sheet_pixel(0, 0), rgb565(green));
    EXPECT_EQ(sheet_pixel(1, 0), rgb565(green));
    EXPECT_EQ(sheet_pixel(2, 0), rgb565(blue));
    EXPECT_EQ(sheet_pixel(0, 1), rgb565(blue));
}

TEST_F(SheetTest, AWholeSheetOfAnotherSizeIsStretchedOverTheScreenFromTheMiddleOfEachShare) {
    const auto screen = [](int x, int y) { return back_buffer_pixels()[y * screen_width + x]; };
    for (const int scale : {2, -2}) {  // twice the screen's size, then half
        SCOPED_TRACE(scale);
        const int width = scale > 0 ? 640 : 160, height = scale > 0 ? 480 : 120;
        std::vector<Rgb> pixels;
        for (int i = 0; i < width * height; ++i) pixels.push_back(Rgb{uint8_t(i * 8), uint8_t(i / 32 * 4), uint8_t(i / width * 8)});
        ASSERT_TRUE(write_file("odd.bmp", make_bmp(BmpFormat::rgb24, width, height, pixels)));
        release_display();
        ASSERT_TRUE(init_display(main_window, screen_width, screen_height));
        ASSERT_TRUE(load_sheet("odd.bmp"));
        copy_whole_sheet();
        for (int y = 0; y < screen_height; y += 7) {
            for (int x = 0; x < screen_width; x += 3) {
                // Shrunk, every other pixel from the second on; grown, each pixel twice.
                const int from_x = scale > 0 ? 2 * x + 1 : x / 2, from_y = scale > 0 ? 2 * y + 1 : y / 2;
                ASSERT_EQ(screen(x, y), sheet_pixel(from_x, from_y)) << x << "," << y;
            }
        }
    }
}

TEST_F(SheetTest, MalformedFilesAreReportedAndLeaveTheSheetAsItWas) {
    const Rgb grey{100, 100, 100};
    const std::vector<uint8_t> good = make_bmp(BmpFormat::rgb24, 6, 4, std::vector<Rgb>(24, grey));
    ASSERT_TRUE(write_file("good.bmp", good));
    ASSERT_TRUE(load_sheet("good.bmp"));
    headless_take_events();

    const auto patched = [&](size_t at, uint32_t value, int bytes) {
        std::vector<uint8_t> b = good;
        for (int i = 0; i < bytes; ++i) b[at + i] = uint8_t(value >> (8 * i));
        return b;
    };
    const std::vector<uint8_t> pal8 = make_bmp(BmpFormat::pal8, 6, 4, std::vector<Rgb>(24, grey));
    std::vector<uint8_t> too_many_colours = pal8;
    too_many_colours[46] = 0x01;  // 257 colours for an 8-bit picture
    too_many_colours[47] = 0x01;

    // An OS/2 picture's height is unsigned: 0xFFFF is 65535 rows, not one row
    // stored top-down.
    std::vector<uint8_t> os2_tall = make_bmp(BmpFormat::os2_pal8, 6, 1, std::vector<Rgb>(6, grey));
    os2_tall[20] = 0xFF;
    os2_tall[21] = 0xFF;

    const std::vector<std::pair<const char*, std::vector<uint8_t>>> cases = {
        {"empty", {}},
        {"not a bitmap", std::vector<uint8_t>(good.begin() + 2, good.end())},
        {"truncated to half", std::vector<uint8_t>(good.begin(), good.begin() + good.size() / 2)},
        {"only the headers", std::vector<uint8_t>(good.begin(), good.begin() + 54)},
        {"pixel offset past the end", patched(10, 0x7FFFFFF0, 4)},
        {"absurd width", patched(18, 100000, 4)},
        {"negative width", patched(18, uint32_t(-6), 4)},
        {"zero height", patched(22, 0, 4)},
        {"absurd height", patched(22, 0x7FFFFFFF, 4)},
        {"most negative height", patched(22, 0x80000000u, 4)},
        {"seven bits per pixel", patched(28, 7, 2)},
        {"two planes", patched(26, 2, 2)},
        {"unknown compression", patched(30, 9, 4)},
        {"unknown header size", patched(14, 77, 4)},
        {"too many palette colours", too_many_colours},
        {"an OS/2 height past 8192", os2_tall},
    };
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(write_file("bad.bmp", bytes));
        EXPECT_FALSE(load_sheet("bad.bmp"));
        const std::vector<HeadlessEvent> events = headless_take_events();
        ASSERT_EQ(events.size(), 2u);
        EXPECT_EQ(events[1].kind, HeadlessEvent::box);
        EXPECT_EQ(events[1].text, "bad.bmp");
        EXPECT_EQ(events[1].caption, missing_caption);
        int w, h;
        ASSERT_TRUE(sheet_size(&w, &h));
        EXPECT_EQ(w, 6);
        EXPECT_EQ(sheet_pixel(5, 3), rgb565(grey));
    }
    EXPECT_FALSE(load_sheet("no such file.bmp"));
    EXPECT_EQ(headless_take_events().size(), 2u);
}

TEST_F(SheetTest, ReleasingTwiceDoesNothingTheSecondTime) {
    release_display();
    EXPECT_EQ(headless_release_log(), std::vector<std::string>{"display"});
    release_display();
    EXPECT_EQ(headless_release_log(), std::vector<std::string>{"display"});
    int w, h;
    EXPECT_FALSE(sheet_size(&w, &h));
    EXPECT_EQ(back_buffer_pixels(), nullptr);
}
