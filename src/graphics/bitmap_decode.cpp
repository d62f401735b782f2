// Decoding a Windows bitmap file held in memory into RGB565. Every colour
// comes out as SDL 2.26 gave it when it loaded the file and converted it to
// RGB565 (the game's pictures and traces were made that way): a channel
// narrower than 8 bits is first widened to 0..255 by scaling, rounding down,
// a wider one keeps its top 8 bits, and the 8-bit value is then truncated.
// Alpha never shows. Our own check runs first, so every header, palette entry
// and pixel row read here lies inside the bytes.
#include <utility>

#include "graphics/picture.h"

namespace {

uint32_t read_u16(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8; }
uint32_t read_u32(const uint8_t* p) { return read_u16(p) | read_u16(p + 2) << 16; }

constexpr size_t file_header_size = 14;
constexpr uint32_t bi_bitfields = 3;

uint16_t rgb565(uint32_t r, uint32_t g, uint32_t b) { return uint16_t((r >> 3) << 11 | (g >> 2) << 5 | b >> 3); }

// The red, green and blue masks of a 16 or 32-bit pixel.
struct Masks {
    uint32_t red, green, blue;
};

// The masks of the pixel layouts SDL knows, by the masks a file gives (alpha
// included); false for any other combination, which SDL refuses. A red mask
// of 0 means the plain layout whatever the others are; one odd 16-bit layout
// is read as plain RGB565.
bool known_layout(uint32_t bits, uint32_t r, uint32_t g, uint32_t b, uint32_t a, Masks* masks) {
    struct Layout {
        uint32_t r, g, b, a;
    };
    static const Layout layouts16[] = {
        {0x7C00, 0x03E0, 0x001F, 0},      {0x001F, 0x03E0, 0x7C00, 0},      {0x0F00, 0x00F0, 0x000F, 0xF000},
        {0xF000, 0x0F00, 0x00F0, 0x000F}, {0x000F, 0x00F0, 0x0F00, 0xF000}, {0x00F0, 0x0F00, 0xF000, 0x000F},
        {0x7C00, 0x03E0, 0x001F, 0x8000}, {0xF800, 0x07C0, 0x003E, 0x0001}, {0x001F, 0x03E0, 0x7C00, 0x8000},
        {0x003E, 0x07C0, 0xF800, 0x0001}, {0xF800, 0x07E0, 0x001F, 0},      {0x001F, 0x07E0, 0xF800, 0},
    };
    static const Layout layouts32[] = {
        {0x00FF0000, 0x0000FF00, 0x000000FF, 0},          {0xFF000000, 0x00FF0000, 0x0000FF00, 0},
        {0x000000FF, 0x0000FF00, 0x00FF0000, 0},          {0x0000FF00, 0x00FF0000, 0xFF000000, 0},
        {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000}, {0xFF000000, 0x00FF0000, 0x0000FF00, 0x000000FF},
        {0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000}, {0x0000FF00, 0x00FF0000, 0xFF000000, 0x000000FF},
        {0x3FF00000, 0x000FFC00, 0x000003FF, 0xC0000000},
    };
    if (bits == 16) {
        if (r == 0 || (r == 0x003F && g == 0x07C0 && b == 0xF800 && a == 0)) {
            *masks = Masks{0xF800, 0x07E0, 0x001F};
            return true;
        }
        for (const Layout& l : layouts16)
            if (l.r == r && l.g == g && l.b == b && l.a == a) {
                *masks = Masks{r, g, b};
                return true;
            }
        return false;
    }
    if (r == 0) {
        *masks = Masks{0x00FF0000, 0x0000FF00, 0x000000FF};
        return true;
    }
    for (const Layout& l : layouts32)
        if (l.r == r && l.g == g && l.b == b && l.a == a) {
            *masks = Masks{r, g, b};
            return true;
        }
    return false;
}

// One channel of a pixel value, turned straight into its RGB565 bits through
// a table over every value the channel can take.
struct Channel {
    uint32_t mask;
    int shift;
    std::vector<uint16_t> table;
};

Channel make_channel(uint32_t mask, int kept_bits, int place) {
    Channel c{mask, 0, {}};
    while (!(mask >> c.shift & 1)) ++c.shift;
    int bits = 0;
    while (c.shift + bits < 32 && (mask >> (c.shift + bits) & 1)) ++bits;
    const uint32_t top = (1u << bits) - 1;
    c.table.resize(size_t(top) + 1);
    for (uint32_t v = 0; v <= top; ++v) {
        const uint32_t wide = bits >= 8 ? v >> (bits - 8) : v * 255 / top;
        c.table[v] = uint16_t((wide >> (8 - kept_bits)) << place);
    }
    return c;
}

uint16_t convert(const Channel* channels, uint32_t value) {
    uint16_t out = 0;
    for (int i = 0; i < 3; ++i)
        out = uint16_t(out | channels[i].table[(value & channels[i].mask) >> channels[i].shift]);
    return out;
}

}  // namespace

bool decode_bitmap_bytes(const uint8_t* data, size_t size, Picture* picture) {
    if (!bitmap_file_is_well_formed(data, size)) return false;
    const uint8_t* info = data + file_header_size;
    const uint32_t info_size = read_u32(info);
    const uint32_t pixel_offset = read_u32(data + 10);
    const bool core = info_size == 12;  // the OS/2 header, with 3-byte palette entries

    int32_t width, height;
    uint32_t bits, compression = 0, colours_used = 0;
    bool top_down = false;
    if (core) {
        width = int32_t(read_u16(info + 4));
        height = int32_t(read_u16(info + 6));
        bits = read_u16(info + 10);
    } else {
        width = int32_t(read_u32(info + 4));
        height = int32_t(read_u32(info + 8));
        bits = read_u16(info + 14);
        compression = read_u32(info + 16);
        colours_used = read_u32(info + 32);
        if (height < 0) {
            top_down = true;
            height = -height;
        }
    }
    const size_t row_bytes = ((size_t(width) * bits + 31) / 32) * 4;

    // Palette entries as RGB565. Without a count the palette is read as 256
    // entries long, whatever the depth; an index at or past the count refuses
    // the whole file.
    uint16_t palette[256] = {};
    uint32_t palette_size = 0;
    Channel channels[3];
    if (bits <= 8) {
        palette_size = colours_used ? colours_used : 256;
        const size_t entry_size = core ? 3 : 4;
        const uint8_t* entry = info + info_size;
        const uint32_t readable = palette_size < (1u << bits) ? palette_size : 1u << bits;
        for (uint32_t i = 0; i < readable; ++i, entry += entry_size) palette[i] = rgb565(entry[2], entry[1], entry[0]);
    } else {
        Masks masks{0x00FF0000, 0x0000FF00, 0x000000FF};  // 24 and 32-bit without masks
        if (bits == 16) masks = Masks{0x7C00, 0x03E0, 0x001F};
        if (compression == bi_bitfields) {
            const uint32_t alpha = info_size >= 56 ? read_u32(info + 52) : 0;
            if (!known_layout(bits, read_u32(info + 40), read_u32(info + 44), read_u32(info + 48), alpha, &masks))
                return false;
        }
        channels[0] = make_channel(masks.red, 5, 11);
        channels[1] = make_channel(masks.green, 6, 5);
        channels[2] = make_channel(masks.blue, 5, 0);
    }

    Picture decoded{width, height, Pixels(size_t(width) * size_t(height))};
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* row = data + pixel_offset + size_t(top_down ? y : height - 1 - y) * row_bytes;
        uint16_t* out = decoded.pixels.data() + size_t(y) * size_t(width);
        if (bits <= 8) {
            const uint32_t per_byte = 8 / bits, index_mask = (1u << bits) - 1;
            for (int32_t x = 0; x < width; ++x) {
                const uint32_t shift = 8 - bits - (uint32_t(x) % per_byte) * bits;
                const uint32_t index = uint32_t(row[uint32_t(x) / per_byte]) >> shift & index_mask;
                if (index >= palette_size) return false;
                out[x] = palette[index];
            }
        } else if (bits == 16) {
            for (int32_t x = 0; x < width; ++x) out[x] = convert(channels, read_u16(row + 2 * x));
        } else if (bits == 24) {
            for (int32_t x = 0; x < width; ++x) {
                const uint8_t* p = row + 3 * x;
                out[x] = convert(channels, uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16);
            }
        } else {
            for (int32_t x = 0; x < width; ++x) out[x] = convert(channels, read_u32(row + 4 * x));
        }
    }
    *picture = std::move(decoded);
    return true;
}
