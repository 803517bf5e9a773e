#include <windows.h>

#include "assets/ResourcePack.h"
#include "settings/IniProfile.h"

std::string SettingsFilePath() { return ResourcePack::WorkFolder() + ".\\PondelSet.ini"; }

namespace {

// True unless the file at `path` holds bytes no settings file has: NUL and the other control
// characters but tab, line feed, carriage return and end-of-file, within its first 64 KB (a file in
// UTF-16 with its byte-order mark is text). The profile functions rewrite a file line by line and
// drop what they cannot represent, so such a file is left alone and the program keeps its defaults.
bool LooksLikeText(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return true;  // absent: it is made afresh
    static unsigned char head[65536];
    DWORD got = 0;
    const BOOL ok = ReadFile(file, head, sizeof head, &got, nullptr);
    CloseHandle(file);
    if (!ok || (got >= 2 && head[0] == 0xFF && head[1] == 0xFE)) return true;
    for (DWORD i = 0; i < got; ++i)
        if (head[i] < 0x20 && head[i] != '\t' && head[i] != '\n' && head[i] != '\r' && head[i] != 0x1A) return false;
    return true;
}

}  // namespace

std::string IniProfile::read(const char* section, const char* key) {
    // Most values are short: start small and grow while the value fills the buffer.
    const std::string path = SettingsFilePath();
    std::string text(128, '\0');
    for (;;) {
        const DWORD n = GetPrivateProfileStringA(section, key, nullptr, &text[0],
                                                 static_cast<DWORD>(text.size()), path.c_str());
        if (n + 1 < text.size() || text.size() > kMaxProfileValue) {
            text.resize(n < kMaxProfileValue ? n : kMaxProfileValue);
            return text;
        }
        text.assign(text.size() * 2, '\0');
    }
}

void IniProfile::write(const char* section, const char* key, const char* value) {
    // A null value would delete the key; the program never deletes keys.
    const std::string path = SettingsFilePath();
    if (!LooksLikeText(path)) return;
    WritePrivateProfileStringA(section, key, value ? value : "", path.c_str());
}

Profile& IniAppProfile() {
    static IniProfile ini;
    return ini;
}
