// 64-bit FNV-1a: the hash of a frame's picture in traces and recordings, and
// of a piece of music in the web build's table of rendered pieces.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr uint64_t fnv1a_start = 0xcbf29ce484222325ull;

inline uint64_t fnv1a_add(uint64_t hash, uint8_t byte) { return (hash ^ byte) * 0x100000001b3ull; }

inline uint64_t fnv1a(const uint8_t* bytes, size_t size, uint64_t hash = fnv1a_start) {
    for (size_t i = 0; i < size; ++i) hash = fnv1a_add(hash, bytes[i]);
    return hash;
}
