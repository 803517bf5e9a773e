#include "assets/FileBytes.h"

#include <cstdio>

namespace nerith {

bool ReadFileBytes(const char* path, std::vector<std::uint8_t>& bytes, long long limit) {
    bytes.clear();
    if (!path) return false;
    std::FILE* f = std::fopen(path, "rb");
    if (!f) return false;
    // Read in chunks up to the end rather than trusting a size taken beforehand; that size only
    // saves the buffer's growing (the built-in picture is megabytes).
    if (std::fseek(f, 0, SEEK_END) == 0) {
        const long size = std::ftell(f);
        if (limit >= 0 && size > limit) {
            std::fclose(f);
            return false;
        }
        if (size > 0) bytes.reserve(static_cast<std::size_t>(size));
        std::rewind(f);
    }
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
