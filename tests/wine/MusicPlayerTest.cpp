// The user-music player over an MCI window: one window at a time however many files it opens,
// and a file that cannot be played reported as such.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "music/MusicPlayer.h"

namespace {

// A one-second 8 kHz mono tone as a WAVE file in the temporary folder.
std::string WriteTone(const char* name) {
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + name;
    const unsigned rate = 8000, count = 8000;
    std::vector<unsigned char> wav(44 + count);
    auto put32 = [&](size_t at, unsigned v) { for (int i = 0; i < 4; ++i) wav[at + i] = (v >> (8 * i)) & 0xFF; };
    auto put16 = [&](size_t at, unsigned v) { wav[at] = v & 0xFF; wav[at + 1] = (v >> 8) & 0xFF; };
    std::memcpy(&wav[0], "RIFF", 4); put32(4, 36 + count); std::memcpy(&wav[8], "WAVEfmt ", 8);
    put32(16, 16); put16(20, 1); put16(22, 1); put32(24, rate); put32(28, rate); put16(32, 1); put16(34, 8);
    std::memcpy(&wav[36], "data", 4); put32(40, count);
    for (unsigned i = 0; i < count; ++i) wav[44 + i] = static_cast<unsigned char>(128 + ((i / 8) % 2 ? 60 : -60));
    FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(wav.data(), 1, wav.size(), f);
    std::fclose(f);
    return path;
}

int ChildCount(HWND parent) {
    int n = 0;
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) ++n;
    return n;
}

}  // namespace

TEST(MusicPlayer, KeepsOneMciWindowAndTellsUnplayableFiles) {
    HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(parent, nullptr);
    const std::string tone = WriteTone("nerith-player-tone.wav");
    {
        MusicPlayer player;
        player.SetParentWindow(parent);
        player.Open();  // no file yet: a window without a device
        EXPECT_FALSE(player.canPlay);
        for (int i = 0; i < 6; ++i) {  // missing, tone, missing, ..., tone
            player.Stop();
            player.Close();
            player.SetFileName(i % 2 ? tone : "C:\\no\\such\\file.wav");
            player.Open();
            EXPECT_EQ(player.canPlay, i % 2 == 1) << i;
            EXPECT_EQ(ChildCount(parent), 1) << "after open " << i;
        }
        EXPECT_NEAR(player.GetLength(), 1000, 5);
        EXPECT_TRUE(player.IsStopped());
    }
    EXPECT_EQ(ChildCount(parent), 0);  // the player closes its window
    DestroyWindow(parent);
    std::remove(tone.c_str());
}
