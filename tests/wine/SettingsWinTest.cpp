// The settings file on a real Windows profile file, and the volume in the registry.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "settings/IniProfile.h"
#include "settings/RegistryVolume.h"
#include "settings/SettingsFile.h"

namespace {

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Moves any existing settings file aside for the test and puts it back afterwards.
class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        path = SettingsFilePath();
        hadFile = GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
        saved = ReadWholeFile(path);
        DeleteFileA(path.c_str());
    }
    void TearDown() override {
        DeleteFileA(path.c_str());
        if (hadFile) {
            std::ofstream out(path, std::ios::binary);
            out << saved;
        }
    }
    std::string path;
    std::string saved;
    bool hadFile = false;
};

TEST_F(IniFileTest, ValuesRoundTripThroughTheFileAndEmptyOnesReadAsAbsent) {
    IniProfile ini;
    EXPECT_EQ(ini.read("Aquarium Settings", "QIPAONUM"), "");
    EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);

    ini.write("Aquarium Settings", "QIPAONUM", "100");
    ini.write("Custom Images", "ImageList0", "C:\\pics\\a b.jpg");
    EXPECT_EQ(ini.read("aquarium settings", "qipaonum"), "100");
    EXPECT_EQ(ini.read("Custom Images", "ImageList0"), "C:\\pics\\a b.jpg");

    ini.write("Aquarium Settings", "QIPAONUM", "");
    char raw[16] = "";
    GetPrivateProfileStringA("Aquarium Settings", "QIPAONUM", "<none>", raw, sizeof raw, path.c_str());
    EXPECT_STREQ(raw, "");  // the key exists, empty
    EXPECT_EQ(ini.read("Aquarium Settings", "QIPAONUM"), "");

    for (size_t length : {127u, 128u, 1000u}) {  // long paths come back whole
        ini.write("Custom Settings", "MusicList0", std::string(length, 'm').c_str());
        EXPECT_EQ(ini.read("Custom Settings", "MusicList0"), std::string(length, 'm'));
    }
}

std::vector<std::string> reports;
void Capture(const std::string& text) { reports.push_back(text); }

// A save that cannot be made leaves the file as it was, is told once per run, and its values read
// back for the rest of the run; once the file takes writes again, the next save of them is made.
TEST_F(IniFileTest, ASaveThatCannotBeMadeIsToldOnceAndItsValuesStay) {
    const char binary[] = "[Aquarium Settings]\r\nQIPAONUM=5\r\n\x7f\x00\x02\x01";
    const struct {
        std::string file;
        bool readOnly;
        const char* told;
    } cases[] = {{std::string(binary, sizeof binary - 1), false, "not text"},
                 {"[Aquarium Settings]\r\nQIPAONUM=5\r\n; \xe9t\xe9\r\n", true, "read-only"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.told);
        reports.clear();
        std::ofstream(path, std::ios::binary) << c.file;
        if (c.readOnly) SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
        IniProfile ini(Capture);
        ini.write("Aquarium Settings", "QIPAONUM", "5");  // what the file holds: nothing to write
        for (const char* bubbles : {"7", "8"}) {
            ProfileSave save(ini);
            ini.write("Aquarium Settings", "QIPAONUM", bubbles);
            ini.write("Custom Settings", "MusicList0", "C:\\a.wav");
        }
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(ReadWholeFile(path), c.file);
        ASSERT_EQ(reports.size(), 1u);
        EXPECT_NE(reports[0].find(c.told), std::string::npos) << reports[0];
        EXPECT_EQ(ini.fileChecks(), 2);  // once a save
        EXPECT_EQ(ini.read("aquarium settings", "qipaonum"), "8");
        EXPECT_EQ(ini.entries("Custom Settings"),
                  (std::vector<std::pair<std::string, std::string>>{{"MusicList0", "C:\\a.wav"}}));
        if (!c.readOnly) continue;
        ini.write("Aquarium Settings", "QIPAONUM", "9");  // writable again
        EXPECT_NE(ReadWholeFile(path).find("QIPAONUM=9"), std::string::npos);
        EXPECT_EQ(reports.size(), 1u);
    }
}

// A list is read a section at a time; each entry is what reading its key alone gives.
TEST_F(IniFileTest, ANumberedListReadsAsItsKeysOneByOne) {
    std::ofstream(path, std::ios::binary) << "[Custom Settings]\r\nMusicSum=5\r\nMusicList0=C:\\a.wav\r\n; a note\r\n"
                                              "musiclist3 = \"C:\\d.wav\" \r\nMusicList4\r\nMusicList0=x\r\n[Other]\r\nMusicList1=x\r\n";
    IniProfile ini;
    std::vector<std::string> paths;
    ReadPathList(ini, "Custom Settings", "MusicSum", "MusicList", 100, [&](const std::string& p) {
        paths.push_back(p);
        return true;
    });
    EXPECT_EQ(paths, (std::vector<std::string>{"C:\\a.wav", "", "", "C:\\d.wav"}));
    for (int i = 0; i < 4; ++i) EXPECT_EQ(ini.read("Custom Settings", ("MusicList" + std::to_string(i)).c_str()), paths[i]);
}

const char kVolumeKey[] = "Software\\Local AppWizard-Generated Applications\\NerithScr\\Settings";
const char kVendorKey[] = "Software\\Local AppWizard-Generated Applications";

// The program only reads "Volume"; the test adds the key and removes what it added.
TEST(RegistryVolume, ReadsADwordAndOtherwiseDefaultsTo1000) {
    HKEY key;
    const bool hadVendor = RegOpenKeyExA(HKEY_CURRENT_USER, kVendorKey, 0, KEY_READ, &key) == ERROR_SUCCESS;
    if (hadVendor) RegCloseKey(key);
    EXPECT_EQ(ReadProfileVolume(), 1000);
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kVolumeKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(ReadProfileVolume(), 1000);  // the key without the value
    for (DWORD value : {250u, 0u}) {
        RegSetValueExA(key, "Volume", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
        EXPECT_EQ(ReadProfileVolume(), static_cast<int>(value));
    }
    RegSetValueExA(key, "Volume", 0, REG_SZ, reinterpret_cast<const BYTE*>("250"), 4);
    EXPECT_EQ(ReadProfileVolume(), 1000);  // not a DWORD
    RegDeleteValueA(key, "Volume");
    RegCloseKey(key);
    if (!hadVendor) RegDeleteTreeA(HKEY_CURRENT_USER, kVendorKey);
}

}  // namespace
