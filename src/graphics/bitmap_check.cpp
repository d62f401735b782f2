// Our own guard in front of the bitmap decoder: a malformed or hostile file
// (absurd sizes, truncated data, offsets pointing outside the file) is turned
// away before any decoding or allocation happens.
#include <cstring>

#include "graphics/picture.h"

namespace {

uint32_t read_u16(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8; }
uint32_t read_u32(const uint8_t* p) { return read_u16(p) | read_u16(p + 2) << 16; }

constexpr uint32_t file_header_size = 14;
constexpr int64_t max_side = 8192;
constexpr int64_t max_pixels = int64_t(4096) * 4096;

enum : uint32_t { bi_rgb = 0, bi_bitfields = 3 };

}  // namespace

bool bitmap_file_is_well_formed(const uint8_t* data, size_t size) {
    if (size < file_header_size + 12) return false;
    if (data[0] != 'B' || data[1] != 'M') return false;
    const uint64_t pixel_offset = read_u32(data + 10);
    const uint64_t info_size = read_u32(data + 14);
    const uint8_t* info = data + file_header_size;

    int64_t width, height;
    uint32_t planes, bits, compression = bi_rgb, colours_used = 0;
    uint64_t palette_entry_size = 4;
    if (info_size == 12) {  // the old OS/2 core header
        // Both sides unsigned, as the decoder reads them: such a picture is
        // always stored bottom-up.
        width = read_u16(info + 4);
        height = read_u16(info + 6);
        planes = read_u16(info + 8);
        bits = read_u16(info + 10);
        palette_entry_size = 3;
    } else if (info_size == 40 || info_size == 52 || info_size == 56 || info_size == 108 ||
               info_size == 124) {
        if (size < file_header_size + info_size) return false;
        width = int32_t(read_u32(info + 4));
        height = int32_t(read_u32(info + 8));
        planes = read_u16(info + 12);
        bits = read_u16(info + 14);
        compression = read_u32(info + 16);
        colours_used = read_u32(info + 32);
    } else {
        return false;
    }
    if (size < file_header_size + info_size) return false;

    const int64_t rows = height < 0 ? -height : height;
    if (width < 1 || width > max_side || rows < 1 || rows > max_side) return false;
    if (width * rows > max_pixels) return false;
    if (planes != 1) return false;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
    if (compression != bi_rgb && !(compression == bi_bitfields && (bits == 16 || bits == 32)))
        return false;

    uint64_t tables_end = file_header_size + info_size;
    if (compression == bi_bitfields && info_size == 40) tables_end += 12;  // the three masks
    if (bits <= 8) {
        const uint64_t full_palette = uint64_t(1) << bits;
        if (colours_used > full_palette) return false;
        tables_end += (colours_used ? colours_used : full_palette) * palette_entry_size;
    }
    if (tables_end > size) return false;

    const uint64_t row_bytes = ((uint64_t(width) * bits + 31) / 32) * 4;
    if (pixel_offset < file_header_size + info_size) return false;
    if (pixel_offset + row_bytes * uint64_t(rows) > size) return false;
    return true;
}
