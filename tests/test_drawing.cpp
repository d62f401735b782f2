// The clipped colour-keyed copy and the screen transitions, checked pixel by
// pixel against the sheet.
#include <gtest/gtest.h>

#include <filesystem>

#include "graphics/graphics.h"
#include "support/bmp_writer.h"
#include "support/scratch_display.h"

namespace {

// A 320 x 240 sheet where every pixel has its own colour, never black, except
// a black (transparent) 8 x 8 square at (72, 8).
std::vector<Rgb> pattern() {
    std::vector<Rgb> pixels;
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x) {
            const bool hole = x >= 72 && x < 80 && y >= 8 && y < 16;
            pixels.push_back(hole ? Rgb{0, 0, 0} : Rgb{uint8_t(x), uint8_t(8 + y), uint8_t(8 + (x >> 8) * 64)});
        }
    return pixels;
}

class DrawingTest : public ScratchDisplayTest {
protected:
    void prepare_files() override {
        std::filesystem::create_directory("bitmap");
        ASSERT_TRUE(write_file("bitmap/title.bmp", make_bmp(BmpFormat::rgb24, 320, 240, pattern())));
    }
    void SetUp() override {
        ScratchDisplayTest::SetUp();
        clear_screen();
    }

    static uint16_t screen(int x, int y) { return back_buffer_pixels()[y * screen_width + x]; }
    static void fill_screen_from_sheet() { draw_sprite(0, 0, make_rect(0, 0, 320, 240)); }
    static bool row_black(int y) {
        for (int x = 0; x < screen_width; ++x)
            if (screen(x, y) != 0) return false;
        return true;
    }
    static bool row_shown(int y) {
        for (int x = 0; x < screen_width; ++x)
            if (screen(x, y) != sheet_pixel(x, y)) return false;
        return true;
    }
    // Checks that exactly the sheet area (sx, sy, w, h) shows at (x, y) and nothing else.
    static void expect_copy(int x, int y, int sx, int sy, int w, int h) {
        for (int py = 0; py < screen_height; ++py)
            for (int px = 0; px < screen_width; ++px) {
                const bool inside = px >= x && px < x + w && py >= y && py < y + h;
                const uint16_t want = inside ? sheet_pixel(sx + px - x, sy + py - y) : 0;
                ASSERT_EQ(screen(px, py), want) << "at " << px << "," << py;
            }
    }
};

}  // namespace

TEST_F(DrawingTest, ClippingAtEachEdgeAndCorner) {
    const struct {
        int x, y;           // where the 32 x 32 sprite from (96, 32) is drawn
        int dx, dy, w, h;   // what shows: screen position and size
        int sx, sy;         // taken from this sheet position
    } cases[] = {
        {-10, 50, 0, 50, 22, 32, 106, 32},    // left edge
        {300, 50, 300, 50, 20, 32, 96, 32},   // right edge
        {100, -7, 100, 0, 32, 25, 96, 39},    // top edge
        {100, 220, 100, 220, 32, 20, 96, 32}, // bottom edge
        {-5, -9, 0, 0, 27, 23, 101, 41},      // top-left corner
        {310, 230, 310, 230, 10, 10, 96, 32}, // bottom-right corner
        {-20, 225, 0, 225, 12, 15, 116, 32},  // bottom-left corner
        {295, -30, 295, 0, 25, 2, 96, 62},    // top-right corner
        {288, 208, 288, 208, 32, 32, 96, 32}, // right and bottom edges exactly on 320 and 240: whole
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
        clear_screen();
        draw_sprite(c.x, c.y, make_rect(96, 32, 128, 64));
        expect_copy(c.dx, c.dy, c.sx, c.sy, c.w, c.h);
    }
}

TEST_F(DrawingTest, SpritesWhollyOffScreenOrOutsideTheSheetDrawNothing) {
    const Rect sprite = make_rect(96, 32, 128, 64);
    const int positions[][2] = {{320, 10}, {-32, 10}, {10, 240}, {10, -32}, {400, 400}, {-1000, -1000}};
    for (const auto& p : positions) draw_sprite(p[0], p[1], sprite);
    // A source rectangle reaching past the sheet is refused whole.
    draw_sprite(0, 0, make_rect(300, 0, 340, 32));
    draw_sprite(0, 0, make_rect(-8, 0, 24, 32));
    draw_sprite(0, 0, make_rect(0, 230, 32, 250));
    // Empty and inverted rectangles.
    draw_sprite(0, 0, make_rect(40, 40, 40, 60));
    draw_sprite(0, 0, make_rect(40, 60, 60, 40));
    for (int y = 0; y < screen_height; ++y) ASSERT_TRUE(row_black(y)) << y;
}

TEST_F(DrawingTest, BlackSheetPixelsLeaveWhatIsUnderThem) {
    fill_screen_from_sheet();
    draw_sprite(200, 100, make_rect(64, 0, 96, 32));  // holds the black square at (72, 8)
    for (int y = 100; y < 132; ++y)
        for (int x = 200; x < 232; ++x) {
            const int sx = 64 + x - 200, sy = y - 100;
            const bool hole = sx >= 72 && sx < 80 && sy >= 8 && sy < 16;
            ASSERT_EQ(screen(x, y), hole ? sheet_pixel(x, y) : sheet_pixel(sx, sy)) << x << "," << y;
        }
}

TEST_F(DrawingTest, WipeOpenShowsAGrowingBandAndEndsOnItsEightyThirdCall) {
    for (int call = 1; call <= 83; ++call) {
        SCOPED_TRACE(call);
        fill_screen_from_sheet();
        const bool done = wipe_open();
        EXPECT_EQ(done, call == 83);
        if (call == 83) {
            EXPECT_EQ(wipe_open_state, 0);
            EXPECT_EQ(wipe_open_offset, 0);
            for (int y = 0; y < screen_height; ++y) ASSERT_TRUE(row_shown(y));
            break;
        }
        const int offset = 2 * (call - 1);
        for (int y = 0; y < screen_height; ++y) {
            const bool shown = y >= 120 - offset && y <= 120 + offset;
            ASSERT_TRUE(shown ? row_shown(y) : row_black(y)) << "row " << y;
        }
        EXPECT_EQ(wipe_open_state, call >= 82 ? 2 : 1);
    }
    // A second use starts from the beginning again.
    fill_screen_from_sheet();
    EXPECT_FALSE(wipe_open());
    EXPECT_TRUE(row_shown(120));
    EXPECT_TRUE(row_black(119));
    EXPECT_TRUE(row_black(121));
}

TEST_F(DrawingTest, WipeCloseCoversFromBothEdgesAndBlacksTheScreenAtTheEnd) {
    for (int call = 1; call <= 83; ++call) {
        SCOPED_TRACE(call);
        fill_screen_from_sheet();
        const bool done = wipe_close();
        EXPECT_EQ(done, call == 83);
        const int offset = 2 * (call - 1);
        for (int y = 0; y < screen_height; ++y) {
            const bool covered = call == 83 || y < offset || y >= 240 - offset;
            ASSERT_TRUE(covered ? row_black(y) : row_shown(y)) << "row " << y;
        }
    }
    EXPECT_EQ(wipe_close_state, 0);
    fill_screen_from_sheet();
    EXPECT_FALSE(wipe_close());
    EXPECT_TRUE(row_shown(0));
    EXPECT_TRUE(row_shown(239));
}

TEST_F(DrawingTest, MosaicGrowsSquaresInEveryCellOfTheSheet) {
    std::vector<uint16_t> original(320 * 240);
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x) original[y * 320 + x] = sheet_pixel(x, y);

    for (int call = 1; call <= 19; ++call) {
        SCOPED_TRACE(call);
        const int side = call - 1;
        EXPECT_EQ(mosaic_out(), call == 19);
        // After this call every cell has a black square of this side centred on
        // its centre (the extra pixel of an odd side on the left and top); the
        // rest of the cell is untouched.
        const int low = 8 - (side + 1) / 2, high = 8 + side / 2;
        for (int y = 0; y < 240; ++y)
            for (int x = 0; x < 320; ++x) {
                const int cx = x % 16, cy = y % 16;
                const bool in_square = cx >= low && cx < high && cy >= low && cy < high;
                const bool blackened = side >= 16 || in_square;
                ASSERT_EQ(sheet_pixel(x, y), blackened ? 0 : original[y * 320 + x]) << x << "," << y;
            }
    }
    EXPECT_EQ(mosaic_step, 0);
}
