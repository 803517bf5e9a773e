// The resource pack on Windows: the RCAD entries linked into this test program (compared with the
// art folder NERITH_ART_DIR when scripts/test.sh sets it), the work folders.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "../host/TestBmp.h"
#include "assets/ResourcePack.h"
#include "assets/ResourcePack_win.h"

namespace {

using testbmp::Bytes;
using testbmp::WriteBytes;
const auto ReadBytes = testbmp::ReadFile;

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The art folder from the environment, as a Windows path ending in a backslash; empty if unset.
std::string ArtFolder() {
    const char* value = std::getenv("NERITH_ART_DIR");
    if (!value || !*value) return std::string();
    const std::string path = value;
    return path.back() == '\\' ? path : path + '\\';
}

DWORD EntrySize(int id) {
    HRSRC entry = FindResourceA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), "RCAD");
    return entry ? SizeofResource(GetModuleHandleA(nullptr), entry) : 0;
}

// Removes a folder tree made by a test (the folder given with its final backslash).
void RemoveTree(const std::string& folder) {
    std::error_code ignored;
    std::filesystem::remove_all(folder.substr(0, folder.size() - 1), ignored);
}

class ResourcePackWin : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH];
        ASSERT_GT(GetTempPathA(MAX_PATH, temp), 0u);
        folder = std::string(temp) + "nerith_rp_" + std::to_string(GetCurrentProcessId()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name() + "\\";
        RemoveTree(folder);
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    }
    void TearDown() override { RemoveTree(folder); }
    std::string folder;
};

}  // namespace

TEST_F(ResourcePackWin, EveryEntryIsLinkedAndExtractsToItsPlainFile) {
    const std::string art = ArtFolder();
    std::vector<int> ids = {ResourcePack::kBackgroundId, ResourcePack::kParticleId, ResourcePack::kMusicId};
    for (int i = 0; i < ResourcePack::kFishCount; ++i) ids.push_back(ResourcePack::kFirstFishId + i);
    for (int id : ids) {
        SCOPED_TRACE(id);
        const std::string packed = ResourcePack::EntryFileName(id);
        const std::string base = packed.substr(0, packed.size() - 3);  // without ".ad"
        const DWORD size = EntrySize(id);
        ASSERT_GT(size, 0u);
        ASSERT_TRUE(ResourcePack::Extract(id, folder, base));
        const std::string intermediate = ResourcePack::IntermediatePath(folder, base);
        const std::string output = ResourcePack::OutputPath(folder, base);
        Bytes intermediateBytes = ReadBytes(intermediate), plain = ReadBytes(output);
        EXPECT_EQ(intermediateBytes.size(), size);
        EXPECT_EQ(plain.size(), size);
        ASSERT_GE(plain.size(), 4u);
        const std::string magic = base == "Music" ? "RIFF" : "BM";
        EXPECT_EQ(std::string(plain.begin(), plain.begin() + magic.size()), magic);
        if (!art.empty()) {
            EXPECT_EQ(intermediateBytes, ReadBytes(art + packed));
            EXPECT_EQ(plain, ReadBytes(ResourcePack::OutputPath(art, base)));
        }
        // The callers delete both files right after use: neither may still be open.
        EXPECT_TRUE(DeleteFileA(intermediate.c_str()));
        EXPECT_TRUE(DeleteFileA(output.c_str()));
    }
}

TEST_F(ResourcePackWin, MissingEntryWritesNothingAndLeftoverFilesAreReplacedNotOverwrittenInPlace) {
    EXPECT_FALSE(ResourcePack::Extract(155, folder, "Nothing"));
    EXPECT_FALSE(FileExists(folder + "Nothing.ad"));
    EXPECT_FALSE(FileExists(folder + "Nothing.bmp"));
    const DWORD size = EntrySize(ResourcePack::kParticleId);
    ASSERT_GT(size, 0u);
    WriteBytes(folder + "Particle1.ad", Bytes(size * 5 + 17, 0xAB));
    WriteBytes(folder + "Particle1.bmp", Bytes(size * 3, 0xCD));
    ASSERT_TRUE(ResourcePack::Extract(ResourcePack::kParticleId, folder, "Particle1"));
    EXPECT_EQ(ReadBytes(folder + "Particle1.ad").size(), size);
    Bytes plain = ReadBytes(folder + "Particle1.bmp");
    EXPECT_EQ(plain.size(), size);
    const std::string art = ArtFolder();
    if (!art.empty()) {
        EXPECT_EQ(plain, ReadBytes(art + "Particle1.bmp"));
    }
}

TEST_F(ResourcePackWin, ExtractIntoTheCurrentDirectoryWhenTheFolderIsEmpty) {
    char previous[MAX_PATH];
    ASSERT_GT(GetCurrentDirectoryA(MAX_PATH, previous), 0u);
    ASSERT_TRUE(SetCurrentDirectoryA(folder.c_str()));
    const bool extracted = ResourcePack::Extract(ResourcePack::kParticleId, "", "Particle1");
    SetCurrentDirectoryA(previous);
    EXPECT_TRUE(extracted);
    EXPECT_TRUE(FileExists(folder + "Particle1.ad"));
    EXPECT_TRUE(FileExists(folder + "Particle1.bmp"));
}

TEST_F(ResourcePackWin, WritabilityProbeLeavesNothingBehind) {
    EXPECT_TRUE(nerith::IsFolderWritable(folder));
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*.tmp").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE);
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    EXPECT_FALSE(nerith::IsFolderWritable(folder + "no such folder\\"));
}

TEST_F(ResourcePackWin, PerUserFolderIsMadeOnDemandAndTakesOverTheSettings) {
    const std::string windows = folder + "windows\\";
    const std::string local = folder + "local";
    ASSERT_TRUE(CreateDirectoryA(windows.c_str(), nullptr));
    WriteBytes(windows + "PondelSet.ini", Bytes{'[', 'A', ']', '\r', '\n'});

    // The copy into a new per-user folder shows end to end (tests/e2e/test_winpaths.sh); an
    // existing per-user settings file is never replaced by the older one.
    const std::string made = nerith::PerUserWorkFolder(windows, local);
    EXPECT_EQ(made, local + "\\NerithScr\\");
    WriteBytes(made + "PondelSet.ini", Bytes{'[', 'B', ']'});
    EXPECT_EQ(nerith::PerUserWorkFolder(windows + "\\", local + "\\"), made);
    EXPECT_EQ(ReadBytes(made + "PondelSet.ini"), (Bytes{'[', 'B', ']'}));

    // Without a settings file to copy, the folder is still made.
    const std::string other = nerith::PerUserWorkFolder(folder + "nothing here\\", folder + "other");
    EXPECT_EQ(other, folder + "other\\NerithScr\\");
    EXPECT_TRUE(FileExists(other));
    EXPECT_FALSE(FileExists(other + "PondelSet.ini"));

    EXPECT_EQ(nerith::PerUserWorkFolder(windows, ""), "");
}
