// Load-time work of the built-in art and the texture loaders: descrambling the background
// picture, BMP decoding for it and a fish skin, the whole loads of the picture and a skin into an
// off-screen context, and SOIL's preparation of a user's picture with the background flags.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "../tests/host/OsMesa.h"
#include "../tests/host/TestBmp.h"
#include "assets/Bmp.h"
#include "assets/ResourcePack.h"
#include "assets/SoilLoader.h"
#include "assets/TextureLoader.h"

namespace {

void BM_DecodeMipmappedBackground(benchmark::State& state) {
    const testbmp::Bytes file = testbmp::Make24(2048, 1024, [](int x, int y) {
        return testbmp::Bgr{std::uint8_t(x), std::uint8_t(y), std::uint8_t(x ^ y)};
    });
    nerith::RgbaImage image;
    for (auto _ : state) {
        benchmark::DoNotOptimize(nerith::DecodeMipmappedBmp(file.data(), file.size(), image));
        benchmark::DoNotOptimize(image.rgba.data());
    }
}
BENCHMARK(BM_DecodeMipmappedBackground)->Unit(benchmark::kMicrosecond);

// A file of the benchmark's own in the temporary folder; empty when it cannot be written.
std::string WriteScratch(const std::string& name, const testbmp::Bytes& bytes) {
    const std::string path = "/tmp/nerith_bench_" + name;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return std::string();
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok ? path : std::string();
}

// The background picture's entry (6 MB) from the intermediate file to the output file.
void BM_DescrambleBackground(benchmark::State& state) {
    testbmp::Bytes stored(2048 * 1024 * 3 + 54);
    for (std::size_t i = 0; i < stored.size(); ++i) stored[i] = static_cast<std::uint8_t>(i * 131 + (i >> 9));
    if (WriteScratch("BackGround0.ad", stored).empty()) {
        state.SkipWithError("cannot write the intermediate file");
        return;
    }
    for (auto _ : state) ResourcePack::Descramble("/tmp/nerith_bench_", "BackGround0");
    std::remove("/tmp/nerith_bench_BackGround0.ad");
    std::remove("/tmp/nerith_bench_BackGround0.bmp");
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(stored.size()));
}
BENCHMARK(BM_DescrambleBackground)->Unit(benchmark::kMillisecond);

// The whole load of a picture of the built-in background's size (mipmapped loader) and of a
// skin's (the skins' route): reading, decoding, every mipmap level and the uploads.
void BM_LoadBuiltInTexture(benchmark::State& state) {
    const bool background = state.range(0) == 0;
    const int w = background ? 2048 : 512, h = background ? 1024 : 256;
    const std::string path = WriteScratch(background ? "background.bmp" : "skin.bmp", testbmp::Make24(w, h, [](int x, int y) {
        return testbmp::Bgr{std::uint8_t(x), std::uint8_t(y), std::uint8_t(x ^ y)};
    }));
    OsMesaContext gl(16, 16);
    if (path.empty() || !gl.ok()) {
        state.SkipWithError("no file or no context");
        return;
    }
    for (auto _ : state) {
        GLuint texture = 0;
        if (!(background ? LoadTextureMipmapped : LoadSkinTexture)(path.c_str(), &texture)) state.SkipWithError("not loaded");
        glFinish();
        glDeleteTextures(1, &texture);
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_LoadBuiltInTexture)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_DecodePlainEightBitSkin(benchmark::State& state) {
    std::vector<testbmp::Bgr> palette(256);
    for (int i = 0; i < 256; ++i) palette[i] = {std::uint8_t(i), std::uint8_t(255 - i), std::uint8_t(i / 2)};
    const testbmp::Bytes file =
        testbmp::Make8(256, 256, palette, 0, [](int x, int y) { return std::uint8_t(x + 7 * y); });
    nerith::BmpPicture picture;
    for (auto _ : state) {
        benchmark::DoNotOptimize(nerith::DecodePlainBmp(file.data(), file.size(), picture));
        benchmark::DoNotOptimize(picture.pixels.data());
    }
}
BENCHMARK(BM_DecodePlainEightBitSkin)->Unit(benchmark::kMicrosecond);

void BM_SoilPrepareUserPicture(benchmark::State& state) {
    nerith::SoilImage source;
    source.width = 1024;
    source.height = 768;
    source.channels = 3;
    source.pixels.resize(1024 * 768 * 3);
    for (std::size_t i = 0; i < source.pixels.size(); ++i) source.pixels[i] = std::uint8_t(i * 7);
    for (auto _ : state) {
        nerith::SoilImage image = source;
        nerith::PrepareSoilImage(image, 178, 16384, true);
        benchmark::DoNotOptimize(image.pixels.data());
    }
}
BENCHMARK(BM_SoilPrepareUserPicture)->Unit(benchmark::kMillisecond);

}  // namespace
