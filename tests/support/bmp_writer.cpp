#include "support/bmp_writer.h"

#include <algorithm>
#include <fstream>

namespace {

void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}
void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

int bits_of(BmpFormat format) {
    switch (format) {
    case BmpFormat::pal1: return 1;
    case BmpFormat::pal4: return 4;
    case BmpFormat::pal8: case BmpFormat::os2_pal8: return 8;
    case BmpFormat::rgb555: case BmpFormat::rgb565_bitfields: return 16;
    case BmpFormat::rgb24: return 24;
    case BmpFormat::rgb32: return 32;
    }
    return 24;
}

bool same(Rgb a, Rgb b) { return a.r == b.r && a.g == b.g && a.b == b.b; }

}  // namespace

std::vector<uint8_t> make_bmp(BmpFormat format, int width, int height, const std::vector<Rgb>& pixels,
                              bool top_down) {
    const int bits = bits_of(format);
    const bool os2 = format == BmpFormat::os2_pal8;
    std::vector<Rgb> palette;
    if (bits <= 8) {
        for (const Rgb& c : pixels)
            if (std::none_of(palette.begin(), palette.end(), [&](Rgb p) { return same(p, c); }))
                palette.push_back(c);
        palette.resize(size_t(1) << bits, Rgb{0, 0, 0});
    }
    const uint32_t info_size = os2 ? 12 : 40;
    const uint32_t masks = format == BmpFormat::rgb565_bitfields ? 12 : 0;
    const uint32_t palette_bytes = uint32_t(palette.size()) * (os2 ? 3 : 4);
    const uint32_t offset = 14 + info_size + masks + palette_bytes;
    const uint32_t row_bytes = ((uint32_t(width) * bits + 31) / 32) * 4;

    std::vector<uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    put32(out, offset + row_bytes * height);
    put32(out, 0);
    put32(out, offset);
    put32(out, info_size);
    if (os2) {
        put16(out, width);
        put16(out, height);
        put16(out, 1);
        put16(out, bits);
    } else {
        put32(out, width);
        put32(out, uint32_t(top_down ? -height : height));
        put16(out, 1);
        put16(out, bits);
        put32(out, masks ? 3 : 0);
        put32(out, row_bytes * height);
        put32(out, 2835);
        put32(out, 2835);
        put32(out, 0);
        put32(out, 0);
    }
    if (masks) {
        put32(out, 0xF800);
        put32(out, 0x07E0);
        put32(out, 0x001F);
    }
    for (const Rgb& c : palette) {
        out.push_back(c.b);
        out.push_back(c.g);
        out.push_back(c.r);
        if (!os2) out.push_back(0);
    }
    for (int row = 0; row < height; ++row) {
        const int y = top_down ? row : height - 1 - row;
        std::vector<uint8_t> line(row_bytes, 0);
        for (int x = 0; x < width; ++x) {
            const Rgb c = pixels[size_t(y) * width + x];
            if (bits <= 8) {
                const auto index = uint32_t(
                    std::find_if(palette.begin(), palette.end(), [&](Rgb p) { return same(p, c); }) -
                    palette.begin());
                const int bit = x * bits;
                line[bit / 8] |= uint8_t(index << (8 - bits - bit % 8));
            } else if (bits == 16) {
                const uint16_t v = format == BmpFormat::rgb555
                                       ? uint16_t((c.r >> 3) << 10 | (c.g >> 3) << 5 | (c.b >> 3))
                                       : rgb565(c);
                line[x * 2] = uint8_t(v);
                line[x * 2 + 1] = uint8_t(v >> 8);
            } else {
                const int bytes = bits / 8;
                line[x * bytes] = c.b;
                line[x * bytes + 1] = c.g;
                line[x * bytes + 2] = c.r;
                if (bytes == 4) line[x * bytes + 3] = 0;
            }
        }
        out.insert(out.end(), line.begin(), line.end());
    }
    return out;
}

bool write_file(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(file);
}
