#pragma once
// Key-by-key access to the settings file. The program reads and writes PondelSet.ini one key at a
// time, without keeping a copy of the file; everything that touches the file goes through this
// interface so the logic can run against an in-memory file in tests.
#include <cstddef>
#include <string>

constexpr std::size_t kMaxProfileValue = 32767;

class Profile {
public:
    virtual ~Profile();

    // The value of `key` in `section`, or "" when the key is absent. An empty value and a missing
    // key are the same thing. At most kMaxProfileValue characters come back, enough for any path
    // Windows can name.
    virtual std::string read(const char* section, const char* key) = 0;

    // Writes `value` as the text of `key` in `section`, creating section and file as needed.
    // Failures are ignored.
    virtual void write(const char* section, const char* key, const char* value) = 0;
};

// The profile the program uses. The Windows program uses the real PondelSet.ini unless something
// else was installed; elsewhere it is an in-memory file.
Profile& AppProfile();

// Installs `profile` as the program's profile (nullptr restores the default) and returns the
// previous one as installed (nullptr when the default was in use). Tests install a MemoryProfile.
Profile* SetAppProfile(Profile* profile);

// Section names of PondelSet.ini.
extern const char kAquariumSection[];       // "Aquarium Settings"
extern const char kFishNumberSection[];     // "Fish Number"
extern const char kCustomImagesSection[];   // "Custom Images"
extern const char kCustomSettingsSection[]; // "Custom Settings"
