// The RIFF WAVE reader on files of the kinds we meet and on broken ones.
#include <gtest/gtest.h>

#include "audio/wave_reader.h"
#include "support/audio_files.h"

namespace {

bool parse(const Bytes& file, WaveClip* clip) { return parse_wave(file.data(), file.size(), clip); }

Bytes samples(size_t count, uint8_t value = 0x55) { return Bytes(count, value); }

}  // namespace

TEST(WaveReader, ReadsPlainFilesOfEveryWidthLayoutAndRate) {
    const struct {
        uint16_t channels;
        uint32_t rate;
        uint16_t bits;
    } kinds[] = {{1, 11025, 8}, {2, 11025, 16}, {1, 22050, 16}, {2, 22050, 8}, {1, 44100, 16}, {2, 48000, 16}};
    for (const auto& kind : kinds) {
        const Bytes file = constant_wave(kind.channels, kind.rate, kind.bits, 100, 3);
        WaveClip clip;
        ASSERT_TRUE(parse(file, &clip)) << kind.rate << " " << kind.bits;
        EXPECT_EQ(clip.format.format_tag, wave_format_pcm);
        EXPECT_EQ(clip.format.channels, kind.channels);
        EXPECT_EQ(clip.format.samples_per_sec, kind.rate);
        EXPECT_EQ(clip.format.bits_per_sample, kind.bits);
        EXPECT_EQ(clip.format.block_align, kind.channels * kind.bits / 8);
        EXPECT_EQ(clip.data_offset, 44u);
        EXPECT_EQ(clip.data_size, 100u * kind.channels * kind.bits / 8);
    }
}

TEST(WaveReader, TheEighteenthFormatByteComesFromWhatFollowsAShortFormatChunk) {
    // A 16-byte format chunk: the extra-format size is read from the next chunk's id.
    WaveClip clip;
    ASSERT_TRUE(parse(constant_wave(1, 22050, 16, 10, 0), &clip));
    EXPECT_EQ(clip.format.extra_size, 'd' | 'a' << 8);

    const Bytes full = riff_wave(riff_chunk("fmt ", format_body(1, 22050, 16, 1, 18)) +
                                 riff_chunk("data", samples(20)));
    ASSERT_TRUE(parse(full, &clip));
    EXPECT_EQ(clip.format.extra_size, 0);
    EXPECT_EQ(clip.data_offset, 46u);
}

TEST(WaveReader, SkipsOtherChunksBeforeAndBetweenIncludingOddOnesWithTheirPadByte) {
    const Bytes list = riff_chunk("LIST", Bytes{'I', 'N', 'F', 'O', 'I', 'N', 'A', 'M', 3, 0, 0, 0, 'a', 'b', 0});
    const Bytes fact = riff_chunk("fact", Bytes{100, 0, 0, 0});
    const Bytes odd = riff_chunk("junk", samples(5, 'd'));  // pad byte follows
    const Bytes format = riff_chunk("fmt ", format_body(2, 44100, 16));
    const Bytes data = riff_chunk("data", samples(400, 7));

    const Bytes layouts[] = {list + format + data, format + fact + data, odd + format + odd + data,
                             list + odd + format + fact + list + data};
    for (const Bytes& chunks : layouts) {
        WaveClip clip;
        const Bytes file = riff_wave(chunks);
        ASSERT_TRUE(parse(file, &clip));
        EXPECT_EQ(clip.format.channels, 2);
        EXPECT_EQ(clip.data_size, 400u);
        EXPECT_EQ(clip.data_offset + clip.data_size, file.size()) << "the data chunk is the last one";
        EXPECT_EQ(file[clip.data_offset], 7);
    }

    // An odd data chunk itself: its declared size, not its padded one.
    WaveClip clip;
    const Bytes odd_data = riff_wave(riff_chunk("fmt ", format_body(1, 11025, 8)) + riff_chunk("data", samples(7)));
    ASSERT_TRUE(parse(odd_data, &clip));
    EXPECT_EQ(clip.data_size, 7u);
}

TEST(WaveReader, AFormatChunkWithAnOddSizeIsLeftPastItsPadByte) {
    // 17 declared bytes: the data chunk starts after the pad byte, at an even offset.
    Bytes body = format_body(1, 22050, 8, 1, 16) + Bytes{0};
    const Bytes file = riff_wave(riff_chunk("fmt ", body) + riff_chunk("data", samples(10)));
    WaveClip clip;
    ASSERT_TRUE(parse(file, &clip));
    EXPECT_EQ(clip.data_offset, 12u + 8 + 18 + 8);
}

TEST(WaveReader, ARiffChunkOfAnotherFormIsSkippedForTheWaveOneAfterIt) {
    const Bytes other = Bytes{'R', 'I', 'F', 'F', 4, 0, 0, 0, 'A', 'V', 'I', ' '};
    const Bytes file = other + constant_wave(1, 11025, 8, 6, 128);
    WaveClip clip;
    ASSERT_TRUE(parse(file, &clip));
    EXPECT_EQ(clip.data_size, 6u);
    EXPECT_EQ(clip.data_offset, other.size() + 44);
}

TEST(WaveReader, RefusesBrokenFiles) {
    const Bytes format = riff_chunk("fmt ", format_body(1, 22050, 16));
    const Bytes data = riff_chunk("data", samples(64));
    Bytes truncated = riff_wave(format + data);
    truncated.resize(truncated.size() - 1);
    Bytes truncated_format = riff_wave(format);
    truncated_format.resize(12 + 8 + 10);
    const Bytes huge = riff_wave(format + riff_chunk("data", samples(64), 0x7FFFFFF0));
    const Bytes wrap = riff_wave(format + riff_chunk("data", samples(64), 0xFFFFFFFF));
    const Bytes huge_skip = riff_wave(riff_chunk("LIST", samples(4), 0xFFFFFFF0) + format + data);

    const struct {
        const char* what;
        Bytes file;
    } cases[] = {
        {"empty file", {}},
        {"no RIFF header", format + data},
        {"RIFF of another form", Bytes{'R', 'I', 'F', 'F', 76, 0, 0, 0, 'A', 'V', 'I', ' '} + format + data},
        {"data before fmt", riff_wave(data + format)},
        {"no data", riff_wave(format + riff_chunk("fact", samples(4)))},
        {"no fmt", riff_wave(data)},
        {"not PCM", riff_wave(riff_chunk("fmt ", format_body(1, 22050, 16, 2)) + data)},
        {"IEEE float", riff_wave(riff_chunk("fmt ", format_body(1, 22050, 32, 3)) + data)},
        {"data one byte short", truncated},
        {"format cut short", truncated_format},
        {"declared size far beyond the file", huge},
        {"declared size of 4 GiB", wrap},
        {"a chunk to skip larger than the file", huge_skip},
        {"header only", Bytes{'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'}},
        {"RIFF cut inside its header", Bytes{'R', 'I', 'F', 'F', 4, 0}},
    };
    for (const auto& c : cases) {
        WaveClip clip;
        EXPECT_FALSE(parse(c.file, &clip)) << c.what;
    }
}

TEST(WaveReader, ChunksAreLookedForOnlyInsideTheRiffChunk) {
    // The RIFF chunk declares only the format; the data chunk lies after it.
    const Bytes format = riff_chunk("fmt ", format_body(1, 22050, 16));
    Bytes file{'R', 'I', 'F', 'F'};
    append_u32(&file, uint32_t(4 + format.size()));
    file = file + Bytes{'W', 'A', 'V', 'E'} + format + riff_chunk("data", samples(8));
    WaveClip clip;
    EXPECT_FALSE(parse(file, &clip));
}
