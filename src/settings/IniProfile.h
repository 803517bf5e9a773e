#pragma once
// The real settings file: PondelSet.ini in the work folder, accessed through the Windows
// private-profile functions, key by key, or a section at a time for the long lists and while a
// save asks what the file holds. Windows only.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "settings/Profile.h"

// A write that would change nothing is not made. A save that cannot be made is not forced: a file
// that is plainly no text file (control bytes) is left untouched, since the profile functions
// rewrite a file line by line and drop what they cannot represent; nor is a file written on a disk
// without room for a rewrite (its size and 64 KB), which the profile functions, rewriting it in
// place, would leave cut short. Such a save, and one the
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
    std::string fileValue(const std::string& path, const char* section, const char* key);
    Problem checkFile(const std::string& path);
    std::string message(const std::string& path, Problem problem) const;

    Reporter report_;
    std::map<std::string, Unsaved> unsaved_;  // by lower-case section and key
    std::map<std::string, std::string> seen_;  // the file's values as this save read them, by the same
    std::set<std::string> sectionsRead_;       // the sections read for this save, lower-case
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
