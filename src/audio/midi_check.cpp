// Walks every event of every track of a standard MIDI file, bounds-checked.
#include "audio/midi_check.h"

#include <cstring>

namespace {

// A variable-length quantity: at most four bytes, seven bits each.
bool read_vlq(const uint8_t* data, size_t end, size_t* pos, uint32_t* value) {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) {
        if (*pos >= end) return false;
        const uint8_t byte = data[(*pos)++];
        v = v << 7 | (byte & 0x7F);
        if (!(byte & 0x80)) {
            *value = v;
            return true;
        }
    }
    return false;
}

// Data bytes of channel messages, by the high nibble of the status byte.
int channel_data_bytes(uint8_t status) {
    const uint8_t kind = status & 0xF0;
    return kind == 0xC0 || kind == 0xD0 ? 1 : 2;
}

}  // namespace

bool midi_track_is_well_formed(const uint8_t* data, size_t pos, size_t end,
                               bool (*accept)(uint8_t status, uint8_t meta_type, uint32_t length)) {
    uint8_t running_status = 0;
    for (;;) {
        uint32_t delta;
        if (!read_vlq(data, end, &pos, &delta)) return false;
        if (pos >= end) return false;
        uint8_t status = data[pos];
        if (status & 0x80) {
            ++pos;
        } else if (running_status) {
            status = running_status;  // the byte just seen is the first data byte
        } else {
            return false;
        }

        if (status < 0xF0) {
            running_status = status;
            const int count = channel_data_bytes(status);
            if (end - pos < size_t(count)) return false;
            for (int i = 0; i < count; ++i)
                if (data[pos + size_t(i)] & 0x80) return false;
            pos += size_t(count);
            continue;
        }

        running_status = 0;  // system exclusive and meta events cancel it
        uint8_t meta_type = 0;
        if (status == 0xFF) {
            if (pos >= end) return false;
            meta_type = data[pos++];
        } else if (status != 0xF0 && status != 0xF7) {
            return false;  // real-time and common messages have no place in a file
        }
        uint32_t length;
        if (!read_vlq(data, end, &pos, &length)) return false;
        if (end - pos < length) return false;
        if (accept && !accept(status, meta_type, length)) return false;
        pos += length;
        if (status == 0xFF && meta_type == 0x2F) return true;
    }
}

bool midi_file_is_well_formed(const uint8_t* data, size_t size) {
    if (size < 14 || std::memcmp(data, "MThd", 4) != 0) return false;
    const uint32_t header_size = midi_u32(data + 4);
    if (header_size < 6 || header_size > size - 8) return false;
    const uint32_t format = midi_u16(data + 8);
    const uint32_t tracks = midi_u16(data + 10);
    const uint32_t division = midi_u16(data + 12);
    if (format > 2 || tracks == 0 || division == 0) return false;
    // Time in SMPTE frames (the top bit set) loads but the synthesiser cannot
    // play it: such a piece would be silent while music stayed on.
    if (division & 0x8000) return false;
    if (format == 0 && tracks != 1) return false;

    size_t pos = 8 + size_t(header_size);
    uint32_t found = 0;
    while (found < tracks) {
        if (size - pos < 8) return false;
        const bool is_track = std::memcmp(data + pos, "MTrk", 4) == 0;
        const uint32_t length = midi_u32(data + pos + 4);
        pos += 8;
        if (size - pos < length) return false;
        if (is_track) {
            if (!midi_track_is_well_formed(data, pos, pos + length)) return false;
            ++found;
        }
        pos += length;
    }
    return true;
}
