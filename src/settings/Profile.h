#pragma once
// Key-by-key access to the settings file. The program reads and writes PondelSet.ini one key at a
// time, without keeping a copy of the file; everything that touches the file goes through this
// interface so the logic can run against an in-memory file in tests.
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

constexpr std::size_t kMaxProfileValue = 32767;

class Profile {
public:
    virtual ~Profile();

    // The value of `key` in `section`, or "" when the key is absent. An empty value and a missing
    // key are the same thing. At most kMaxProfileValue characters come back, enough for any path
    // Windows can name.
    virtual std::string read(const char* section, const char* key) = 0;

    // Writes `value` as the text of `key` in `section`, creating section and file as needed. A
    // write that cannot be made is no error for the caller: the value reads back all the same
    // for the rest of the run (the real file tells the user once, see IniProfile).
    virtual void write(const char* section, const char* key, const char* value) = 0;

    // Every key `section` holds, as the file spells it, with the value read() gives for it; a key
    // that appears twice counts once. All of a section in one go, for the long lists.
    virtual std::vector<std::pair<std::string, std::string>> entries(const char* section) = 0;

    // The writes between beginSave and endSave are one save (a dialog's section, the defaults
    // written at start-up): the file is looked at once for all of them, and a save that cannot be
    // made is told once. Saves may nest; the outermost one counts. Use ProfileSave.
    virtual void beginSave() {}
    virtual void endSave() {}
};

// One save of `profile` for as long as it lives.
class ProfileSave {
public:
    explicit ProfileSave(Profile& profile) : profile_(profile) { profile_.beginSave(); }
    ~ProfileSave() { profile_.endSave(); }
    ProfileSave(const ProfileSave&) = delete;
    ProfileSave& operator=(const ProfileSave&) = delete;

private:
    Profile& profile_;
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
