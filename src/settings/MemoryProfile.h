#pragma once
// A settings file held in memory: sections and keys compared without regard to case, as the
// Windows profile functions do, values cut to kMaxProfileValue characters on reading. It records every read
// and write in order, and counts the saves, so callers can check what was accessed.
#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "settings/Profile.h"

class MemoryProfile : public Profile {
public:
    struct Access {
        std::string section;
        std::string key;
        std::string value;  // the text written, or the text returned by a read
    };

    std::string read(const char* section, const char* key) override;
    void write(const char* section, const char* key, const char* value) override;
    std::vector<std::pair<std::string, std::string>> entries(const char* section) override;  // logged as one read
    void beginSave() override { ++depth_; }
    void endSave() override;

    // Puts a value in place without logging it (to prepare a "file").
    void set(const char* section, const char* key, const std::string& value);
    // Whether the key exists at all (an empty value counts as existing here).
    bool has(const char* section, const char* key) const;
    // The stored text, uncut; "" when the key does not exist.
    std::string value(const char* section, const char* key) const;
    // Number of keys in a section.
    std::size_t keyCount(const char* section) const;

    const std::vector<Access>& reads() const { return reads_; }
    const std::vector<Access>& writes() const { return writes_; }
    // How many times the file would have been written: once for each outermost save that wrote
    // anything, once for each write outside a save.
    int saves() const { return saves_; }
    void clearLog();

private:
    struct NoCase {
        bool operator()(const std::string& a, const std::string& b) const;
    };
    using Section = std::map<std::string, std::string, NoCase>;
    std::map<std::string, Section, NoCase> sections_;
    std::vector<Access> reads_;
    std::vector<Access> writes_;
    int depth_ = 0;
    bool wroteInSave_ = false;
    int saves_ = 0;
};
