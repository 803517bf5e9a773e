#include <windows.h>

#include <cctype>
#include <cstring>

#include "assets/ResourcePack.h"
#include "settings/IniProfile.h"
#include "win/App.h"

std::string SettingsFilePath() { return ResourcePack::WorkFolder() + ".\\PondelSet.ini"; }

namespace {

// Room a rewrite may need beyond the file's own size: the longest value and then some.
constexpr ULONGLONG kRewriteRoom = 65536;

std::string Lower(const char* text) {
    std::string lower = text;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

std::string Id(const char* section, const char* key) { return Lower(section) + '\n' + Lower(key); }

std::string Trim(const std::string& text) {
    const char* blanks = " \t\r\n\v\f\x1a";
    const std::size_t first = text.find_first_not_of(blanks);
    return first == std::string::npos ? std::string() : text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// The value as the file holds it, without the values of saves that could not be made.
std::string FileValue(const std::string& path, const char* section, const char* key) {
    // Most values are short: start small and grow while the value fills the buffer.
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

// True unless the open file holds bytes no settings file has: NUL and the other control
// characters but tab, line feed, carriage return and end-of-file, within its first 64 KB (a file in
// UTF-16 with its byte-order mark is text).
bool LooksLikeText(HANDLE file) {
    static unsigned char head[65536];
    DWORD got = 0;
    if (!ReadFile(file, head, sizeof head, &got, nullptr) || (got >= 2 && head[0] == 0xFF && head[1] == 0xFE)) return true;
    for (DWORD i = 0; i < got; ++i)
        if (head[i] < 0x20 && head[i] != '\t' && head[i] != '\n' && head[i] != '\r' && head[i] != 0x1A) return false;
    return true;
}

void ShowReport(const std::string& text) {
    win::App* app = win::App::Current();
    MessageBoxA(GetActiveWindow(), text.c_str(), app ? app->AppName() : "NerithScr", MB_OK | MB_ICONEXCLAMATION);
}

// Every key of `section` with its value, as the file holds them: what reading each key on its own
// would give, in one look at the file.
std::vector<std::pair<std::string, std::string>> FileEntries(const std::string& path, const char* section) {
    std::string lines(16384, '\0');
    DWORD n;
    // A buffer too small for the whole section gives its size less two.
    while ((n = GetPrivateProfileSectionA(section, &lines[0], static_cast<DWORD>(lines.size()), path.c_str())) + 2 >=
               lines.size() && lines.size() < (1u << 28))
        lines.assign(lines.size() * 4, '\0');
    std::vector<std::pair<std::string, std::string>> all;
    std::map<std::string, std::size_t> at;  // by lower-case name
    for (std::size_t start = 0; start < n && lines[start] != '\0'; start += std::strlen(&lines[start]) + 1) {
        const std::string line = &lines[start];
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos) continue;  // no key: the profile functions read no value from it
        std::string name = Trim(line.substr(0, equals)), value = Trim(line.substr(equals + 1));
        // Quotes round a value are not part of it, as when it is read on its own.
        if (value.size() > 1 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
            value = value.substr(1, value.size() - 2);
        if (value.size() > kMaxProfileValue) value.resize(kMaxProfileValue);
        if (at.emplace(Lower(name.c_str()), all.size()).second) all.emplace_back(std::move(name), std::move(value));
    }
    return all;
}

}  // namespace

std::string IniProfile::read(const char* section, const char* key) {
    const auto unsaved = unsaved_.find(Id(section, key));
    if (unsaved != unsaved_.end()) return unsaved->second.value;
    return fileValue(SettingsFilePath(), section, key);
}

std::string IniProfile::fileValue(const std::string& path, const char* section, const char* key) {
    if (depth_ == 0) return FileValue(path, section, key);
    // During a save the file is read a section at a time, once (a list of a thousand entries
    // saved unchanged is one look at the file, not a thousand).
    if (sectionsRead_.insert(Lower(section)).second)
        for (auto& entry : FileEntries(path, section)) seen_.emplace(Id(section, entry.first.c_str()), std::move(entry.second));
    const auto found = seen_.find(Id(section, key));
    return found == seen_.end() ? std::string() : found->second;
}

std::vector<std::pair<std::string, std::string>> IniProfile::entries(const char* section) {
    std::vector<std::pair<std::string, std::string>> all = FileEntries(SettingsFilePath(), section);
    std::map<std::string, std::size_t> at;  // by lower-case name
    for (std::size_t i = 0; i < all.size(); ++i) at.emplace(Lower(all[i].first.c_str()), i);
    const std::string prefix = Lower(section) + '\n';
    for (const auto& entry : unsaved_) {
        if (entry.first.compare(0, prefix.size(), prefix) != 0) continue;
        const auto known = at.find(entry.first.substr(prefix.size()));
        if (known != at.end()) all[known->second].second = entry.second.value;
        else all.emplace_back(entry.second.key, entry.second.value);
    }
    return all;
}

void IniProfile::write(const char* section, const char* key, const char* value) {
    // A null value would delete the key; the program never deletes keys.
    const std::string text = value ? value : "";
    const std::string path = SettingsFilePath();
    const std::string id = Id(section, key);
    ProfileSave save(*this);  // a write on its own is a save of its own
    if (fileValue(path, section, key) == text) {
        unsaved_.erase(id);  // the file has it already: nothing to write
        return;
    }
    Problem problem = checkFile(path);
    if (problem == Problem::None) {
        if (WritePrivateProfileStringA(section, key, text.c_str(), path.c_str())) {
            unsaved_.erase(id);
            seen_[id] = text;
            return;
        }
        const DWORD error = GetLastError();
        switch (error) {
        case ERROR_ACCESS_DENIED: problem = Problem::ReadOnly; break;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION: problem = Problem::Locked; break;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL: problem = Problem::DiskFull; break;
        default: problem = Problem::Other; error_ = error; break;
        }
    }
    if (failed_ == Problem::None) failed_ = problem;
    unsaved_[id] = {section, key, text};
}

void IniProfile::beginSave() { ++depth_; }

void IniProfile::endSave() {
    if (depth_ == 0 || --depth_ > 0) return;
    checked_ = false;
    seen_.clear();
    sectionsRead_.clear();
    const Problem failed = failed_;
    failed_ = Problem::None;
    if (failed == Problem::None || reported_) return;
    reported_ = true;  // before the message box: saves made while it shows are not told again
    const std::string text = message(SettingsFilePath(), failed);
    (report_ ? report_ : ShowReport)(text);
}

IniProfile::Problem IniProfile::checkFile(const std::string& path) {
    if (checked_) return fileProblem_;
    checked_ = true;
    ++fileChecks_;
    fileProblem_ = Problem::None;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return fileProblem_;  // absent (made afresh), or held: the write tells
    LARGE_INTEGER size = {};
    GetFileSizeEx(file, &size);
    const bool text = LooksLikeText(file);
    CloseHandle(file);
    const DWORD attributes = GetFileAttributesA(path.c_str());
    ULARGE_INTEGER room = {};
    const std::string folder = path.substr(0, path.find_last_of('\\') + 1);
    if (!text) fileProblem_ = Problem::NotText;
    else if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) fileProblem_ = Problem::ReadOnly;
    else if (GetDiskFreeSpaceExA(folder.empty() ? nullptr : folder.c_str(), &room, nullptr, nullptr) &&
             room.QuadPart < static_cast<ULONGLONG>(size.QuadPart) + kRewriteRoom)
        fileProblem_ = Problem::DiskFull;
    return fileProblem_;
}

std::string IniProfile::message(const std::string& path, Problem problem) const {
    char full[MAX_PATH * 2];
    const DWORD n = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    std::string text = "Your settings could not be saved in\n" + (n > 0 && n < sizeof full ? std::string(full) : path) + "\n\n";
    switch (problem) {
    case Problem::NotText:
        text += "The file holds bytes that are not text, so it is left as it is. Repair or remove it to have "
                "the settings saved again.";
        break;
    case Problem::ReadOnly: text += "The file is read-only, or you may not change it."; break;
    case Problem::Locked: text += "Another program has the file open."; break;
    case Problem::DiskFull: text += "There is not enough room left on the disk."; break;
    default: text += "Windows reports error " + std::to_string(error_) + "."; break;
    }
    return text + "\n\nThe changes stay in effect until the program ends.";
}

Profile& IniAppProfile() {
    static IniProfile ini;
    return ini;
}
