#include "assets/ResourcePack.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "assets/ScrambleKey.h"

std::string ResourcePack::IntermediatePath(const std::string& folder, const std::string& baseName) {
    return folder + baseName + ".ad";
}

std::string ResourcePack::OutputPath(const std::string& folder, const std::string& baseName) {
    return folder + baseName + (baseName == "Music" ? ".wav" : ".bmp");
}

const char* ResourcePack::EntryFileName(int id) {
    static const char* const fishNames[kFishCount] = {
        "fish0.ad",  "fish1.ad",  "fish2.ad",  "fish3.ad",  "fish4.ad",  "fish5.ad",  "fish6.ad",
        "fish7.ad",  "fish8.ad",  "fish9.ad",  "fish10.ad", "fish11.ad", "fish12.ad", "fish13.ad",
        "fish14.ad", "fish15.ad", "fish16.ad", "fish17.ad", "fish18.ad", "fish19.ad"};
    if (id == kBackgroundId) return "BackGround0.ad";
    if (id == kParticleId) return "Particle1.ad";
    if (id == kMusicId) return "Music.ad";
    if (id >= kFirstFishId && id < kFirstFishId + kFishCount) return fishNames[id - kFirstFishId];
    return nullptr;
}

void ResourcePack::Descramble(const std::string& folder, const std::string& baseName) {
    unsigned char key[nerith::kScrambleKeySize];
    nerith::BuildScrambleKey(key);

    std::FILE* in = std::fopen(IntermediatePath(folder, baseName).c_str(), "rb");
    if (!in) {
        std::printf("cannot open infile\n");
        std::exit(0);
    }
    std::FILE* out = std::fopen(OutputPath(folder, baseName).c_str(), "wb");
    if (!out) {
        std::printf(" cannot open outfile\n");
        std::exit(0);
    }
    // Byte n of the file (counting from 1) takes key[n mod 50]. Read and written a block at a
    // time; a block is a whole number of key lengths, so every block starts at key[1] and takes
    // the key laid out once along it (a loop the compiler turns into wide additions).
    constexpr std::size_t kBlock = nerith::kScrambleKeySize * 1311;  // 65,550 bytes
    std::vector<unsigned char> block(kBlock), keyRun(kBlock);
    for (std::size_t i = 0; i < kBlock; ++i) keyRun[i] = key[(i + 1) % nerith::kScrambleKeySize];
    std::size_t got;
    while ((got = std::fread(block.data(), 1, kBlock, in)) > 0) {
        for (std::size_t i = 0; i < got; ++i) block[i] = static_cast<unsigned char>(block[i] + keyRun[i]);
        std::fwrite(block.data(), 1, got, out);
    }
    std::fclose(in);
    std::fclose(out);
}

#ifndef _WIN32
// Host stand-ins for the resource section and the Windows directory.
namespace {
std::string hostResourceFolder;
std::string hostWorkFolder;
}  // namespace

void ResourcePack::SetHostFolders(const std::string& resourceFolder, const std::string& workFolder) {
    hostResourceFolder = resourceFolder;
    hostWorkFolder = workFolder;
}

std::string ResourcePack::WorkFolder() { return hostWorkFolder; }

bool ResourcePack::Extract(int id, const std::string& folder, const std::string& baseName) {
    const char* entry = EntryFileName(id);
    if (!entry) return false;
    std::string source = hostResourceFolder;
    if (!source.empty() && source.back() != '/') source += '/';
    std::FILE* in = std::fopen((source + entry).c_str(), "rb");
    if (!in) return false;
    // The intermediate file is truncated, so it holds exactly the entry's bytes.
    std::FILE* out = std::fopen(IntermediatePath(folder, baseName).c_str(), "wb");
    if (out) {
        char buffer[16384];
        std::size_t got;
        while ((got = std::fread(buffer, 1, sizeof buffer, in)) > 0) std::fwrite(buffer, 1, got, out);
        std::fclose(out);
    }
    std::fclose(in);
    Descramble(folder, baseName);
    return true;
}
#endif
