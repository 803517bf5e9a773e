// The settings file on a real Windows profile file, and the volume in the registry.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "Random.h"
#include "assets/ResourcePack.h"
#include "settings/IniProfile.h"
#include "settings/RegistryVolume.h"
#include "settings/SettingsFile.h"

namespace {

bool ReadWholeFile(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream s;
    s << in.rdbuf();
    bytes = s.str();
    return true;
}

// Moves any existing settings file aside for the test and puts it back afterwards.
class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        path = SettingsFilePath();
        hadFile = ReadWholeFile(path, saved);
        DeleteFileA(path.c_str());
        gSettings = Settings{};
        nerith::resetRandForTesting();
        SetAppProfile(nullptr);
    }
    void TearDown() override {
        DeleteFileA(path.c_str());
        if (hadFile) {
            std::ofstream out(path, std::ios::binary);
            out << saved;
        }
        gSettings = Settings{};
    }
    std::string raw(const char* section, const char* key) {
        char text[256] = "";
        GetPrivateProfileStringA(section, key, "<none>", text, sizeof text, path.c_str());
        return text;
    }
    int keyCount(const char* section) {
        char names[4096] = "";
        DWORD n = GetPrivateProfileStringA(section, nullptr, "", names, sizeof names, path.c_str());
        int count = 0;
        for (DWORD i = 0; i < n; ++i)
            if (names[i] == '\0') ++count;
        return count;
    }
    std::string path;
    std::string saved;
    bool hadFile = false;
};

TEST_F(IniFileTest, PathIsTheWorkFolderFile) {
    EXPECT_EQ(path, ResourcePack::WorkFolder() + ".\\PondelSet.ini");
    EXPECT_EQ(SettingsFilePath(), path);
}

TEST_F(IniFileTest, ValuesRoundTripThroughTheFile) {
    IniProfile ini;
    EXPECT_EQ(ini.read("Aquarium Settings", "QIPAONUM"), "");
    EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);

    ini.write("Aquarium Settings", "QIPAONUM", "100");
    ini.write("Fish Number", "Fish3", "-35");
    ini.write("Custom Images", "ImageList0", "C:\\pics\\a b.jpg");
    EXPECT_NE(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(ini.read("Aquarium Settings", "QIPAONUM"), "100");
    EXPECT_EQ(ini.read("aquarium settings", "qipaonum"), "100");
    EXPECT_EQ(ini.read("Fish Number", "Fish3"), "-35");
    EXPECT_EQ(ini.read("Custom Images", "ImageList0"), "C:\\pics\\a b.jpg");

    std::string text;
    ASSERT_TRUE(ReadWholeFile(path, text));
    EXPECT_NE(text.find("[Aquarium Settings]"), std::string::npos);
    EXPECT_NE(text.find("QIPAONUM=100"), std::string::npos);

    ini.write("Aquarium Settings", "QIPAONUM", "7");
    EXPECT_EQ(ini.read("Aquarium Settings", "QIPAONUM"), "7");
}

TEST_F(IniFileTest, EmptyValueReadsAsAbsentAndLongPathsComeBackWhole) {
    IniProfile ini;
    ini.write("Aquarium Settings", "QIPAONUM", "");
    EXPECT_EQ(raw("Aquarium Settings", "QIPAONUM"), "");  // the key exists, empty
    EXPECT_EQ(ini.read("Aquarium Settings", "QIPAONUM"), "");
    EXPECT_EQ(ini.read("Aquarium Settings", "NOSUCHKEY"), "");

    for (size_t length : {127u, 128u, 200u, 1000u}) {
        ini.write("Custom Settings", "MusicList0", std::string(length, 'm').c_str());
        EXPECT_EQ(ini.read("Custom Settings", "MusicList0"), std::string(length, 'm'));
    }
}

TEST_F(IniFileTest, LoadingWithoutAFileWritesEveryDefault) {
    EXPECT_NE(dynamic_cast<IniProfile*>(&AppProfile()), nullptr);
    LoadSettings();

    EXPECT_EQ(keyCount("Aquarium Settings"), 27);
    EXPECT_EQ(keyCount("Fish Number"), 20);
    EXPECT_EQ(raw("Aquarium Settings", "Show Water"), "0");
    EXPECT_EQ(raw("Aquarium Settings", "BACK GUDING"), "1");
    EXPECT_EQ(raw("Aquarium Settings", "YINLIANG"), "32767.5");
    EXPECT_EQ(raw("Aquarium Settings", "BACK COLOR1"), "65280");
    EXPECT_EQ(raw("Aquarium Settings", "FOGNONGDU"), "25");
    EXPECT_EQ(gSettings.volume, 32767);
    EXPECT_EQ(gSettings.backColor1, 0x0000FF00u);
    nerith::resetRandForTesting();
    for (int i = 0; i < 20; ++i) {
        int expected = nerith::rand() % 2;
        EXPECT_EQ(raw("Fish Number", FishKey(i).c_str()), std::to_string(expected));
        EXPECT_EQ(gSettings.fishCounts[i], expected);
    }

    // A save followed by a load keeps the values (phases to their integer part).
    Settings s = gSettings;
    s.lockFrontPhase = 123.4f;
    s.frontColor = 0xFFFFFFFF;
    s.fogDensity = 3;
    SaveAquariumSettings(s);
    EXPECT_EQ(raw("Aquarium Settings", "LOCKFORE ROT"), "123.400002");
    EXPECT_EQ(raw("Aquarium Settings", "FRONTCOLOR"), "-1");
    gSettings = Settings{};
    LoadSettings();
    EXPECT_EQ(gSettings.lockFrontPhase, 123.0f);
    EXPECT_EQ(gSettings.frontColor, 0xFFFFFFFFu);
    EXPECT_EQ(gSettings.fogDensity, 3);
}

const char kVolumeKey[] = "Software\\Local AppWizard-Generated Applications\\NerithScr\\Settings";
const char kVendorKey[] = "Software\\Local AppWizard-Generated Applications";

// Removes any "Volume" value for the test and restores it afterwards; keys the test had to create
// are removed again.
class RegistryVolumeTest : public ::testing::Test {
protected:
    void SetUp() override {
        HKEY vendor;
        vendorExisted = RegOpenKeyExA(HKEY_CURRENT_USER, kVendorKey, 0, KEY_READ, &vendor) == ERROR_SUCCESS;
        if (vendorExisted) RegCloseKey(vendor);
        HKEY key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kVolumeKey, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
            savedSize = sizeof saved;
            hadValue = RegQueryValueExA(key, "Volume", nullptr, &savedType, saved, &savedSize) == ERROR_SUCCESS;
            RegDeleteValueA(key, "Volume");
            RegCloseKey(key);
        }
    }
    void TearDown() override {
        HKEY key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kVolumeKey, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
            RegDeleteValueA(key, "Volume");
            if (hadValue) RegSetValueExA(key, "Volume", 0, savedType, saved, savedSize);
            RegCloseKey(key);
        }
        if (!vendorExisted) {
            RegDeleteKeyA(HKEY_CURRENT_USER, kVolumeKey);
            RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Local AppWizard-Generated Applications\\NerithScr");
            RegDeleteKeyA(HKEY_CURRENT_USER, kVendorKey);
        }
    }
    void setValue(DWORD type, const void* data, DWORD size) {
        HKEY key;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kVolumeKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                  nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueExA(key, "Volume", 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
        RegCloseKey(key);
    }
    bool vendorExisted = false;
    bool hadValue = false;
    DWORD savedType = 0;
    BYTE saved[256];
    DWORD savedSize = 0;
};

TEST_F(RegistryVolumeTest, DefaultsTo1000WhenAbsent) {
    EXPECT_EQ(ReadProfileVolume(), 1000);
    // The key without the value.
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kVolumeKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(ReadProfileVolume(), 1000);
}

TEST_F(RegistryVolumeTest, ReadsAWrittenDword) {
    DWORD value = 250;
    setValue(REG_DWORD, &value, sizeof value);
    EXPECT_EQ(ReadProfileVolume(), 250);
    value = 0;
    setValue(REG_DWORD, &value, sizeof value);
    EXPECT_EQ(ReadProfileVolume(), 0);
}

TEST_F(RegistryVolumeTest, IgnoresAValueThatIsNotADword) {
    setValue(REG_SZ, "250", 4);
    EXPECT_EQ(ReadProfileVolume(), 1000);
}

}  // namespace
