#pragma once
// The real settings file: PondelSet.ini in the work folder, accessed key by key through the
// Windows private-profile functions. Windows only.
#include <map>
#include <string>
#include <vector>

#include "settings/Profile.h"

// A write that would change nothing is not made. A save that cannot be made is not forced: a file
// that is plainly no text file (control bytes) is left untouched, since the profile functions
// rewrite a file line by line and drop what they cannot represent; nor is a file written on a disk
// without room for it, which the profile functions would leave cut short. Such a save, and one the
// system refuses (a read-only or locked file), is told to the user once per run; its values read
// back as written for the rest of the run, and each later save of them tries again.
class IniProfile : public Profile {
public:
    // Tells the user about a save that could not be made.
    using Reporter = void (*)(const std::string& text);
    // nullptr: a message box captioned with the application's name.
    explicit IniProfile(Reporter report = nullptr) : report_(report) {}

    std::string read(const char* section, const char* key) override;
    void write(const char* section, const char* key, const char* value) override;
    std::vector<std::pair<std::string, std::string>> entries(const char* section) override;
    void beginSave() override;
    void endSave() override;

    // How many times the file has been looked over before writing: at most once per save.
    int fileChecks() const { return fileChecks_; }

private:
    enum class Problem { None, NotText, ReadOnly, Locked, DiskFull, Other };
    struct Unsaved {
        std::string section, key, value;
    };
    Problem checkFile(const std::string& path);
    std::string message(const std::string& path, Problem problem) const;

    Reporter report_;
    std::map<std::string, Unsaved> unsaved_;  // by lower-case section and key
    int depth_ = 0;
    bool checked_ = false;     // the file was looked over in this save
    Problem fileProblem_ = Problem::None;
    Problem failed_ = Problem::None;  // why a write of this save was not made
    unsigned long error_ = 0;         // the system's error code for Problem::Other
    bool reported_ = false;
    int fileChecks_ = 0;
};

// The path of the settings file: the work folder followed by ".\PondelSet.ini". Rebuilt (and the
// work folder asked for again) on every call.
std::string SettingsFilePath();
