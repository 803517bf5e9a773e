#include "settings/MemoryProfile.h"

#include <cctype>

bool MemoryProfile::NoCase::operator()(const std::string& a, const std::string& b) const {
    std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        int ca = std::tolower(static_cast<unsigned char>(a[i]));
        int cb = std::tolower(static_cast<unsigned char>(b[i]));
        if (ca != cb) return ca < cb;
    }
    return a.size() < b.size();
}

std::string MemoryProfile::read(const char* section, const char* key) {
    std::string text = value(section, key);
    if (text.size() > kMaxProfileValue) text.resize(kMaxProfileValue);
    reads_.push_back({section, key, text});
    return text;
}

void MemoryProfile::write(const char* section, const char* key, const char* value) {
    std::string text = value ? value : "";
    sections_[section][key] = text;
    writes_.push_back({section, key, text});
    if (depth_ == 0) ++saves_;
    else wroteInSave_ = true;
}

std::vector<std::pair<std::string, std::string>> MemoryProfile::entries(const char* section) {
    std::vector<std::pair<std::string, std::string>> all;
    auto s = sections_.find(section);
    if (s != sections_.end())
        for (const auto& entry : s->second)
            all.emplace_back(entry.first, entry.second.substr(0, kMaxProfileValue));
    reads_.push_back({section, std::string(), std::string()});
    return all;
}

void MemoryProfile::endSave() {
    if (depth_ > 0 && --depth_ == 0 && wroteInSave_) {
        ++saves_;
        wroteInSave_ = false;
    }
}

void MemoryProfile::set(const char* section, const char* key, const std::string& value) {
    sections_[section][key] = value;
}

bool MemoryProfile::has(const char* section, const char* key) const {
    auto s = sections_.find(section);
    return s != sections_.end() && s->second.count(key) != 0;
}

std::string MemoryProfile::value(const char* section, const char* key) const {
    auto s = sections_.find(section);
    if (s == sections_.end()) return std::string();
    auto k = s->second.find(key);
    return k == s->second.end() ? std::string() : k->second;
}

std::size_t MemoryProfile::keyCount(const char* section) const {
    auto s = sections_.find(section);
    return s == sections_.end() ? 0 : s->second.size();
}

void MemoryProfile::clearLog() {
    reads_.clear();
    writes_.clear();
    saves_ = 0;
}
