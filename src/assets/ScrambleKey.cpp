#include "assets/ScrambleKey.h"

namespace nerith {

void BuildScrambleKey(unsigned char key[kScrambleKeySize]) {
    // A 32-bit linear congruential walk, whitened by a shift-xor, one byte per step.
    unsigned int state = 0x4E455249u;
    for (int i = 0; i < kScrambleKeySize; ++i) {
        state = state * 1664525u + 1013904223u + static_cast<unsigned int>(i) * 2654435761u;
        unsigned int mixed = state ^ (state >> 15);
        mixed *= 0x2C1B3C6Du;
        mixed ^= mixed >> 12;
        key[i] = static_cast<unsigned char>(mixed >> 17);
    }
}

void ScrambleBuffer(unsigned char* data, std::size_t size, std::size_t firstIndex) {
    unsigned char key[kScrambleKeySize];
    BuildScrambleKey(key);
    for (std::size_t i = 0; i < size; ++i)
        data[i] = static_cast<unsigned char>(data[i] - key[(firstIndex + i) % kScrambleKeySize]);
}

void DescrambleBuffer(unsigned char* data, std::size_t size, std::size_t firstIndex) {
    unsigned char key[kScrambleKeySize];
    BuildScrambleKey(key);
    for (std::size_t i = 0; i < size; ++i)
        data[i] = static_cast<unsigned char>(data[i] + key[(firstIndex + i) % kScrambleKeySize]);
}

}  // namespace nerith
