#include <windows.h>

#include "assets/ResourcePack.h"
#include "settings/IniProfile.h"

std::string SettingsFilePath() { return ResourcePack::WorkFolder() + ".\\PondelSet.ini"; }

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
    WritePrivateProfileStringA(section, key, value ? value : "", path.c_str());
}

Profile& IniAppProfile() {
    static IniProfile ini;
    return ini;
}
