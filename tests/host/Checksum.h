#pragma once
// FNV-1a over the bytes of values: long replays are compared with a recorded checksum.
#include <cstdint>
#include <cstring>

struct Checksum {
    uint64_t h = 1469598103934665603ull;
    void bytes(const void* p, size_t n) {
        for (size_t i = 0; i < n; ++i) h = (h ^ static_cast<const unsigned char*>(p)[i]) * 1099511628211ull;
    }
    template <class T> void add(const T& v) { bytes(&v, sizeof v); }
};
