#include "assets/FileBytes.h"

#include <windows.h>

namespace nerith {

bool ReadFileWithSystemCalls(const char* path, std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    if (!path) return false;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    // Read up to the end rather than trusting a size taken beforehand; that size only saves the
    // buffer's growing.
    LARGE_INTEGER size;
    if (GetFileSizeEx(file, &size) && size.QuadPart > 0 && size.QuadPart < (1LL << 31))
        bytes.reserve(static_cast<std::size_t>(size.QuadPart));
    std::uint8_t chunk[16384];
    bool ok = true;
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file, chunk, sizeof chunk, &got, nullptr)) {
            ok = false;
            break;
        }
        if (got == 0) break;
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    CloseHandle(file);
    if (!ok) bytes.clear();
    return ok;
}

}  // namespace nerith
