// Text made in a fixed buffer, without allocating or locking, so that a
// signal handler may make it: words, and numbers in decimal and hexadecimal.
#pragma once

#include <cstddef>
#include <cstdint>

struct PlainText {
    char text[256];
    size_t length = 0;
};

// What does not fit is left off.
inline void plain_add(PlainText* line, const char* words) {
    while (*words && line->length < sizeof line->text) line->text[line->length++] = *words++;
}

inline void plain_add_decimal(PlainText* line, uint64_t value) {
    char digits[20];
    int count = 0;
    do {
        digits[count++] = char('0' + value % 10);
        value /= 10;
    } while (value);
    while (count > 0 && line->length < sizeof line->text) line->text[line->length++] = digits[--count];
}

// Sixteen digits, leading zeros and all.
inline void plain_add_hex16(PlainText* line, uint64_t value) {
    for (int shift = 60; shift >= 0 && line->length < sizeof line->text; shift -= 4)
        line->text[line->length++] = "0123456789abcdef"[(value >> shift) & 15];
}
