#include "support/audio_files.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

void append_u16(Bytes* out, uint32_t value) {
    out->push_back(uint8_t(value));
    out->push_back(uint8_t(value >> 8));
}

void append_u32(Bytes* out, uint32_t value) {
    append_u16(out, value & 0xFFFF);
    append_u16(out, value >> 16);
}

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes riff_chunk(const char* id, const Bytes& body, int64_t declared) {
    Bytes out(id, id + 4);
    append_u32(&out, declared >= 0 ? uint32_t(declared) : uint32_t(body.size()));
    out = out + body;
    if (body.size() & 1) out.push_back(0);
    return out;
}

Bytes format_body(uint16_t channels, uint32_t rate, uint16_t bits, uint16_t tag, int size) {
    Bytes out;
    const uint16_t block = uint16_t(channels * bits / 8);
    append_u16(&out, tag);
    append_u16(&out, channels);
    append_u32(&out, rate);
    append_u32(&out, rate * block);
    append_u16(&out, block);
    append_u16(&out, bits);
    if (size == 18) append_u16(&out, 0);
    return out;
}

Bytes riff_wave(const Bytes& chunks) {
    Bytes out{'R', 'I', 'F', 'F'};
    append_u32(&out, uint32_t(chunks.size() + 4));
    return out + Bytes{'W', 'A', 'V', 'E'} + chunks;
}

Bytes constant_wave(uint16_t channels, uint32_t rate, uint16_t bits, uint32_t frames, int level) {
    Bytes samples;
    for (uint32_t i = 0; i < frames * channels; ++i) {
        if (bits == 8) samples.push_back(uint8_t(level));
        else append_u16(&samples, uint16_t(int16_t(level)));
    }
    return riff_wave(riff_chunk("fmt ", format_body(channels, rate, bits)) + riff_chunk("data", samples));
}

Bytes midi_file(const Bytes& events, uint16_t format, uint16_t tracks) {
    Bytes header{'M', 'T', 'h', 'd', 0, 0, 0, 6};
    header.push_back(uint8_t(format >> 8));
    header.push_back(uint8_t(format));
    header.push_back(uint8_t(tracks >> 8));
    header.push_back(uint8_t(tracks));
    header = header + Bytes{0x01, 0xE0};  // 480 ticks a quarter note
    const Bytes body = events + Bytes{0x00, 0xFF, 0x2F, 0x00};
    Bytes track{'M', 'T', 'r', 'k'};
    for (int shift = 24; shift >= 0; shift -= 8) track.push_back(uint8_t(body.size() >> shift));
    Bytes out = header;
    for (int i = 0; i < tracks; ++i) out = out + track + body;
    return out;
}

Bytes one_note_midi() {
    // Piano, middle C at velocity 100 for a quarter note (half a second at 120 bpm).
    return midi_file({0x00, 0xC0, 0x00, 0x00, 0x90, 60, 100, 0x83, 0x60, 0x80, 60, 0});
}

void write_bytes(const std::string& path, const Bytes& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                std::streamsize(bytes.size()));
}

void write_audio_data(const std::string& dir) {
    for (int slot = 0; slot < 7; ++slot) {
        char path[64];
        std::snprintf(path, sizeof path, "/wave/%02d.wav", slot);
        write_bytes(dir + path, constant_wave(1, 44100, 16, 44100, 1000 * (slot + 1)));
    }
    write_bytes(dir + "/voice/a.wav", constant_wave(1, 44100, 16, 22050, 7000));
    write_bytes(dir + "/midi/note.mid", one_note_midi());
}
