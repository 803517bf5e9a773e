#include <windows.h>

#include "assets/ResourcePack.h"
#include "settings/IniProfile.h"

std::string SettingsFilePath() { return ResourcePack::WorkFolder() + ".\\PondelSet.ini"; }

std::string IniProfile::read(const char* section, const char* key) {
    char text[128];
    text[0] = '\0';
    const std::string path = SettingsFilePath();
    GetPrivateProfileStringA(section, key, nullptr, text, sizeof text, path.c_str());
    return text;
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
