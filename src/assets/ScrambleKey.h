#pragma once
// The 50-byte key of the built-in art. The packed art is stored as
//   stored byte = (plain byte - key[n mod 50]) mod 256
// with n counting the bytes of a file from 1, and turned back by adding the same key byte.
// The key is computed by a small generator each time it is needed; it never exists as one
// constant table in the program.
#include <cstddef>

namespace nerith {

constexpr int kScrambleKeySize = 50;

// Fills key[0..49].
void BuildScrambleKey(unsigned char key[kScrambleKeySize]);

// Scrambles or descrambles `size` bytes in place. `firstIndex` is the 1-based number of data[0]
// within its file, so a file can be processed in several pieces (1 for a whole file).
void ScrambleBuffer(unsigned char* data, std::size_t size, std::size_t firstIndex = 1);
void DescrambleBuffer(unsigned char* data, std::size_t size, std::size_t firstIndex = 1);

}  // namespace nerith
