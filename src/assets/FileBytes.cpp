#include "assets/FileBytes.h"

#include <cstdio>

namespace nerith {

bool ReadFileBytes(const char* path, std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    if (!path) return false;
    std::FILE* f = std::fopen(path, "rb");
    if (!f) return false;
    // Read in chunks up to the end rather than trusting a size taken beforehand.
    std::uint8_t chunk[16384];
    bool ok = true;
    for (;;) {
        const std::size_t n = std::fread(chunk, 1, sizeof chunk, f);
        bytes.insert(bytes.end(), chunk, chunk + n);
        if (n < sizeof chunk) {
            ok = !std::ferror(f);
            break;
        }
    }
    std::fclose(f);
    if (!ok) bytes.clear();
    return ok;
}

#ifndef _WIN32
bool ReadFileWithSystemCalls(const char* path, std::vector<std::uint8_t>& bytes) {
    return ReadFileBytes(path, bytes);
}
#endif

}  // namespace nerith
