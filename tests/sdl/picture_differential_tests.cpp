// Our bitmap decoder, stretch and top-left copy against SDL's, pixel for pixel,
// over many generated pictures: every depth and header the check accepts, odd
// widths, short palettes, indices past the palette, known and unknown masks.
// (The bitmap fuzzer holds the decoder to SDL's on arbitrary bytes as well.)
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>

#include "graphics/picture.h"
#include "sdl/sdl_reference.h"

namespace {

using Bytes = std::vector<uint8_t>;

uint32_t draw(std::mt19937& random) { return static_cast<uint32_t>(random()); }

void put16(Bytes& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}
void put32(Bytes& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

struct Masks {
    uint32_t r, g, b, a;
};

// The layouts SDL knows, a red mask of 0 (which stands for the plain layout),
// and layouts it does not know.
const Masks masks16[] = {
    {0x7C00, 0x03E0, 0x001F, 0},      {0x001F, 0x03E0, 0x7C00, 0},      {0x0F00, 0x00F0, 0x000F, 0xF000},
    {0xF000, 0x0F00, 0x00F0, 0x000F}, {0x000F, 0x00F0, 0x0F00, 0xF000}, {0x00F0, 0x0F00, 0xF000, 0x000F},
    {0x7C00, 0x03E0, 0x001F, 0x8000}, {0xF800, 0x07C0, 0x003E, 0x0001}, {0x001F, 0x03E0, 0x7C00, 0x8000},
    {0x003E, 0x07C0, 0xF800, 0x0001}, {0xF800, 0x07E0, 0x001F, 0},      {0x001F, 0x07E0, 0xF800, 0},
    {0x003F, 0x07C0, 0xF800, 0},      {0, 0x1234, 0x0F, 0x8000},        {0x0F00, 0x00F0, 0x000F, 0},
    {0xFC00, 0x03E0, 0x001F, 0},      {0x7C00, 0x03E0, 0x001F, 0x0001}, {0xE000, 0x1C00, 0x0380, 0},
};
const Masks masks32[] = {
    {0x00FF0000, 0x0000FF00, 0x000000FF, 0},          {0xFF000000, 0x00FF0000, 0x0000FF00, 0},
    {0x000000FF, 0x0000FF00, 0x00FF0000, 0},          {0x0000FF00, 0x00FF0000, 0xFF000000, 0},
    {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000}, {0xFF000000, 0x00FF0000, 0x0000FF00, 0x000000FF},
    {0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000}, {0x0000FF00, 0x00FF0000, 0xFF000000, 0x000000FF},
    {0x3FF00000, 0x000FFC00, 0x000003FF, 0xC0000000}, {0, 0xF0F0, 0x0F, 0x12345678},
    {0x3FF00000, 0x000FFC00, 0x000003FF, 0},          {0x00FF0000, 0x0000FF00, 0x000000FF, 0x000000FF},
    {0x0000F800, 0x000007E0, 0x0000001F, 0},          {0x7FF00000, 0x000FFC00, 0x000003FF, 0x80000000},
};

// What one generated file is made of.
struct Shape {
    uint32_t header;  // 12, 40, 52, 56, 108 or 124
    uint32_t bits;
    bool bitfields;
    Masks masks;
    int width, height;
    bool top_down;
    uint32_t colours_used;   // 0: the full palette
    bool stray_indices;      // some indices at or past the palette's end
    uint32_t gap;            // bytes between the tables and the pixels
    uint32_t tail;           // bytes after the pixels
};

Bytes make_file(const Shape& s, std::mt19937& random) {
    const auto byte = [&random] { return uint8_t(draw(random)); };
    const bool core = s.header == 12;
    const uint32_t entry = core ? 3 : 4;
    const uint32_t palette_entries = s.bits <= 8 ? (s.colours_used ? s.colours_used : 1u << s.bits) : 0;
    const uint32_t mask_bytes = s.bitfields && s.header == 40 ? 12 : 0;
    const uint32_t offset = 14 + s.header + mask_bytes + palette_entries * entry + s.gap;
    const uint32_t row_bytes = ((uint32_t(s.width) * s.bits + 31) / 32) * 4;

    Bytes out{'B', 'M'};
    put32(out, offset + row_bytes * uint32_t(s.height) + s.tail);
    put32(out, draw(random));  // reserved words, ignored
    put32(out, offset);
    put32(out, s.header);
    if (core) {
        put16(out, uint32_t(s.width));
        put16(out, uint32_t(s.height));
        put16(out, 1);
        put16(out, s.bits);
    } else {
        put32(out, uint32_t(s.width));
        put32(out, uint32_t(s.top_down ? -s.height : s.height));
        put16(out, 1);
        put16(out, s.bits);
        put32(out, s.bitfields ? 3 : 0);
        for (int i = 0; i < 3; ++i) put32(out, draw(random));  // image size and resolution, ignored
        put32(out, s.colours_used);
        put32(out, draw(random));  // important colours, ignored
        // The masks, read only with bit fields; otherwise whatever lies there.
        const uint32_t masks[] = {s.masks.r, s.masks.g, s.masks.b, s.masks.a};
        for (uint32_t at = 40, i = 0; at < s.header + mask_bytes; at += 4, ++i)
            put32(out, s.bitfields && i < 4 ? masks[i] : uint32_t(draw(random)));
    }
    for (uint32_t i = 0; i < palette_entries * entry + s.gap; ++i) out.push_back(byte());
    for (int y = 0; y < s.height; ++y) {
        for (uint32_t i = 0; i < row_bytes; ++i) out.push_back(byte());
        if (s.bits > 8 || s.stray_indices) continue;
        // Indices inside the palette only (the row's padding keeps its noise).
        uint8_t* row = out.data() + out.size() - row_bytes;
        for (int x = 0; x < s.width; ++x) {
            const uint32_t bit = uint32_t(x) * s.bits, index = draw(random) % palette_entries;
            const uint32_t shift = 8 - s.bits - bit % 8;
            row[bit / 8] = uint8_t((row[bit / 8] & ~(((1u << s.bits) - 1) << shift)) | index << shift);
        }
    }
    for (uint32_t i = 0; i < s.tail; ++i) out.push_back(byte());
    return out;
}

Shape random_shape(std::mt19937& random) {
    const uint32_t headers[] = {12, 40, 52, 56, 108, 124};
    const uint32_t depths[] = {1, 4, 8, 16, 24, 32};
    Shape s{};
    s.header = headers[draw(random) % 6];
    s.bits = depths[draw(random) % 6];
    const bool core = s.header == 12;
    s.bitfields = !core && (s.bits == 16 || s.bits == 32) && draw(random) % 3 != 0;
    if (s.bitfields)
        s.masks = s.bits == 16 ? masks16[draw(random) % std::size(masks16)] : masks32[draw(random) % std::size(masks32)];
    s.width = 1 + int(draw(random) % (draw(random) % 8 == 0 ? 300 : 40));
    s.height = 1 + int(draw(random) % 12);
    s.top_down = !core && draw(random) % 2;
    if (!core && s.bits <= 8 && draw(random) % 2) s.colours_used = 1 + draw(random) % (1u << s.bits);
    s.stray_indices = s.bits <= 8 && draw(random) % 6 == 0;
    s.gap = draw(random) % 4 == 0 ? draw(random) % 40 : 0;
    s.tail = draw(random) % 4 == 0 ? draw(random) % 2000 : 0;
    return s;
}

std::string name_of(const Shape& s) {
    return std::to_string(s.bits) + (s.bitfields ? "-bit bit fields" : "-bit") + " header " +
           std::to_string(s.header);
}

}  // namespace

TEST(PictureDifferential, EveryGeneratedBitmapDecodesAsSdlDecodesIt) {
    std::mt19937 random(20240601);
    std::map<std::string, int> decoded, refused;
    for (int i = 0; i < 30000; ++i) {
        const Shape shape = random_shape(random);
        const Bytes file = make_file(shape, random);
        ASSERT_TRUE(bitmap_file_is_well_formed(file.data(), file.size())) << name_of(shape);
        Picture ours, theirs;
        const bool ours_ok = decode_bitmap_bytes(file.data(), file.size(), &ours);
        const bool theirs_ok = sdl_decode_bitmap(file.data(), file.size(), &theirs);
        ASSERT_EQ(ours_ok, theirs_ok) << "file " << i << ": " << name_of(shape);
        if (ours_ok) {
            ASSERT_TRUE(same_picture(ours, theirs)) << "file " << i << ": " << name_of(shape) << ", "
                                                    << shape.width << " x " << shape.height;
        }
        ++(ours_ok ? decoded : refused)[name_of(shape)];
    }
    // Every kind was really decoded, many times over.
    EXPECT_EQ(decoded.size(), 6u * 6 + 2u * 5) << "each depth with each header, and bit fields";
    for (const auto& [kind, count] : decoded) EXPECT_GE(count, 150) << kind;
    // Stray indices and unknown masks were refused by both.
    EXPECT_GE(refused["8-bit header 40"], 20);
    EXPECT_GE(refused["16-bit bit fields header 56"], 20);
    EXPECT_GE(refused["32-bit bit fields header 124"], 20);
}

TEST(PictureDifferential, StretchingMatchesSdlsBlitScaledOverManySizes) {
    std::mt19937 random(5);
    const auto noise = [&random](int32_t width, int32_t height) {
        Picture p = blank_picture(width, height);
        for (uint16_t& pixel : p.pixels) pixel = uint16_t(draw(random));
        return p;
    };
    // Onto the screen, as the game does, from every width and height up to
    // twice the screen's and a few much larger; then between assorted sizes.
    for (int32_t side = 1; side <= 640; ++side) {
        const Picture wide = noise(side, 1 + side % 7 * 40), tall = noise(1 + side % 9 * 37, side);
        for (const Picture* from : {&wide, &tall}) {
            if (from->width == 320 && from->height == 240) continue;
            Picture ours = noise(320, 240), theirs = ours;
            stretch_picture(*from, ours);
            sdl_stretch_picture(*from, theirs);
            ASSERT_TRUE(same_picture(ours, theirs)) << from->width << " x " << from->height;
        }
    }
    for (int i = 0; i < 400; ++i) {
        const int32_t big = i < 8 ? 8192 : 1200;
        const Picture from = noise(1 + int32_t(draw(random) % uint32_t(big)), 1 + int32_t(draw(random) % 900));
        Picture ours = noise(1 + int32_t(draw(random) % 700), 1 + int32_t(draw(random) % 500)), theirs = ours;
        if (from.width == ours.width && from.height == ours.height) continue;
        stretch_picture(from, ours);
        sdl_stretch_picture(from, theirs);
        ASSERT_TRUE(same_picture(ours, theirs)) << from.width << " x " << from.height << " onto " << ours.width
                                                << " x " << ours.height;
    }
}

TEST(PictureDifferential, TopLeftCopyMatchesSdlsBlitSurface) {
    std::mt19937 random(11);
    for (int i = 0; i < 2000; ++i) {
        Picture from = blank_picture(1 + int32_t(draw(random) % 400), 1 + int32_t(draw(random) % 300));
        for (uint16_t& pixel : from.pixels) pixel = uint16_t(draw(random) % 3 == 0 ? 0 : draw(random));
        Picture ours = blank_picture(1 + int32_t(draw(random) % 400), 1 + int32_t(draw(random) % 300));
        for (uint16_t& pixel : ours.pixels) pixel = uint16_t(draw(random));
        Picture theirs = ours;
        copy_top_left(from, ours);
        sdl_copy_top_left(from, theirs);
        ASSERT_TRUE(same_picture(ours, theirs)) << i;
    }
}
