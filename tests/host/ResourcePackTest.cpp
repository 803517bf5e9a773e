// The pack's shared parts on the host: the key, names, descrambling and every generated asset.
// Extraction from the resources and the work folder, the Windows code, are in ResourcePackWinTest.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "TestBmp.h"
#include "assets/ResourcePack.h"
#include "assets/ScrambleKey.h"

namespace {

using namespace testbmp;
namespace fs = std::filesystem;

// A fresh folder per test, removed afterwards; `dir` ends in a slash like a work folder.
class ResourcePackTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/nerith_rp_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = std::string(pattern) + "/";
    }
    void TearDown() override {
        ResourcePack::SetHostFolders("", "");
        fs::remove_all(dir);
    }
    std::string dir;
};

}  // namespace

TEST(ResourcePackNames, MusicTakesWavOnlyWithItsExactNameAndTheTableEnds) {
    EXPECT_EQ(ResourcePack::OutputPath("C:\\WINDOWS\\", "Music"), "C:\\WINDOWS\\Music.wav");
    EXPECT_EQ(ResourcePack::OutputPath("C:\\WINDOWS\\", "music"), "C:\\WINDOWS\\music.bmp");
    EXPECT_EQ(ResourcePack::IntermediatePath("", "Music"), "Music.ad");
    // That the table agrees with the resource script shows in ResourcePackWinTest, which extracts
    // every linked entry and compares it with the art folder.
    EXPECT_STREQ(ResourcePack::EntryFileName(10019), "fish19.ad");
    EXPECT_EQ(ResourcePack::EntryFileName(153), nullptr);
    EXPECT_EQ(ResourcePack::EntryFileName(10020), nullptr);
}

TEST_F(ResourcePackTest, KeyStartsAtPositionOneAndWrapsEveryFiftyBytes) {
    unsigned char key[nerith::kScrambleKeySize];
    nerith::BuildScrambleKey(key);
    // Zero input bytes come out as the key bytes themselves.
    WriteBytes(dir + "zeros.ad", Bytes(120, 0));
    ResourcePack::Descramble(dir, "zeros");
    Bytes out = ReadFile(dir + "zeros.bmp");
    ASSERT_EQ(out.size(), 120u);
    for (int i = 0; i < 120; ++i) EXPECT_EQ(out[i], key[(i + 1) % 50]) << i;  // byte 1 takes key byte 1
    // Addition is modulo 256; an older, longer output is replaced; empty input gives empty output.
    WriteBytes(dir + "ff.ad", Bytes(3, 0xFF));
    WriteBytes(dir + "ff.bmp", Bytes(500, 0x55));
    ResourcePack::Descramble(dir, "ff");
    Bytes ff = ReadFile(dir + "ff.bmp");
    ASSERT_EQ(ff.size(), 3u);
    EXPECT_EQ(ff[0], static_cast<unsigned char>(key[1] + 0xFF));
    WriteBytes(dir + "empty.ad", {});
    ResourcePack::Descramble(dir, "empty");
    EXPECT_EQ(fs::file_size(dir + "empty.bmp"), 0u);  // throws if it is missing
}

TEST_F(ResourcePackTest, MissingInputOrUncreatableOutputEndsTheProcessQuietly) {
    // A fresh process: a forked copy of one with renderer threads running cannot exit cleanly.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // The dying process is a fresh run of this test with a work folder of its own, so its
    // standard output goes to a place both runs know.
    const std::string capture = ::testing::TempDir() + "nerith-descramble-stdout.txt";
    WriteBytes(dir + "blocked.ad", Bytes(5, 1));
    fs::create_directory(dir + "blocked.bmp");  // a folder in the output's place
    const struct {
        const char* base;
        const char* note;
    } cases[] = {{"nothing", "cannot open infile\n"}, {"blocked", " cannot open outfile\n"}};
    for (const auto& c : cases) {
        EXPECT_EXIT(
            {
                if (!std::freopen(capture.c_str(), "w", stdout)) std::_Exit(3);
                ResourcePack::Descramble(dir, c.base);
                std::_Exit(4);
            },
            ::testing::ExitedWithCode(0), "");
        Bytes text = ReadFile(capture);
        EXPECT_EQ(std::string(text.begin(), text.end()), c.note);
    }
    EXPECT_FALSE(fs::exists(dir + "nothing.bmp"));
}

// Every packed file differs from its plain file; descrambling it in memory or extracting it
// restores the plain file, and extraction leaves nothing behind once the caller removes both files.
TEST_F(ResourcePackTest, EveryGeneratedAssetRoundTrips) {
    ResourcePack::SetHostFolders(NERITH_ART_DIR, dir);
    std::vector<int> ids = {ResourcePack::kBackgroundId, ResourcePack::kParticleId, ResourcePack::kMusicId};
    for (int i = 0; i < ResourcePack::kFishCount; ++i) ids.push_back(ResourcePack::kFirstFishId + i);
    for (int id : ids) {
        std::string packedName = ResourcePack::EntryFileName(id);
        std::string base = packedName.substr(0, packedName.size() - 3);
        Bytes plain = ReadFile(ResourcePack::OutputPath(std::string(NERITH_ART_DIR) + "/", base));
        Bytes packed = ReadFile(std::string(NERITH_ART_DIR) + "/" + packedName);
        ASSERT_FALSE(plain.empty()) << base;
        ASSERT_EQ(plain.size(), packed.size()) << base;
        EXPECT_NE(plain, packed) << base;
        Bytes descrambled = packed;  // in memory, as the built-in music is read
        nerith::DescrambleBuffer(descrambled.data(), descrambled.size());
        EXPECT_EQ(descrambled, plain) << base;
        ASSERT_TRUE(ResourcePack::Extract(id, dir, base)) << id;
        EXPECT_EQ(ReadFile(ResourcePack::IntermediatePath(dir, base)), packed) << base;
        EXPECT_EQ(ReadFile(ResourcePack::OutputPath(dir, base)), plain) << base;
        std::remove(ResourcePack::IntermediatePath(dir, base).c_str());
        std::remove(ResourcePack::OutputPath(dir, base).c_str());
    }
    EXPECT_TRUE(fs::is_empty(dir));
}
