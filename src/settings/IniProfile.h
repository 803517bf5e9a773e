#pragma once
// The real settings file: PondelSet.ini in the work folder, accessed key by key through the
// Windows private-profile functions. Windows only.
#include <string>

#include "settings/Profile.h"

// Writes leave a file that is plainly no text file (control bytes) untouched.
class IniProfile : public Profile {
public:
    std::string read(const char* section, const char* key) override;
    void write(const char* section, const char* key, const char* value) override;
};

// The path of the settings file: the work folder followed by ".\PondelSet.ini". Rebuilt (and the
// work folder asked for again) on every call.
std::string SettingsFilePath();
