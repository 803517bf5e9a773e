#pragma once
// Reads a whole file into memory, for the loaders that parse files themselves.
#include <cstdint>
#include <vector>

namespace nerith {

// Fills `bytes` with the contents of the file at `path`. Returns false, with `bytes` empty,
// when the file cannot be opened or read, or (with `limit` 0 or more) is larger than `limit` bytes.
bool ReadFileBytes(const char* path, std::vector<std::uint8_t>& bytes, long long limit = -1);

// The same through the operating system's own file calls (on Windows: read access, shared
// reading, existing files only); elsewhere it is ReadFileBytes.
bool ReadFileWithSystemCalls(const char* path, std::vector<std::uint8_t>& bytes);

}  // namespace nerith
