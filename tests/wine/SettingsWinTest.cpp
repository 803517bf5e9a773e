// The settings file on a real Windows profile file, and the volume in the registry.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

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

TEST_F(IniFileTest, AFileOfControlBytesIsNeverRewritten) {
    IniProfile ini;
    const char raw[] = "\x01\x00[Aquarium Settings]\r\nQIPAONUM=5\r\n\x7f\x00\x02";
    const std::string binary(raw, sizeof raw - 1);
    std::ofstream(path, std::ios::binary) << binary;
    ini.write("Aquarium Settings", "YINLIANG", "1");
    EXPECT_EQ(ReadWholeFile(path), binary);
    // Text with characters beyond ASCII is written as usual.
    std::ofstream(path, std::ios::binary) << "[Custom Images]\r\nImageList0=C:\\\xe9t\xe9.jpg\r\n";
    ini.write("Aquarium Settings", "YINLIANG", "1");
    const std::string bytes = ReadWholeFile(path);
    EXPECT_NE(bytes.find("ImageList0=C:\\\xe9t\xe9.jpg"), std::string::npos);
    EXPECT_NE(bytes.find("YINLIANG=1"), std::string::npos);
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
