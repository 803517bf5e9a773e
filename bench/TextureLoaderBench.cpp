// Load-time conversion of the texture loaders: BMP decoding for the background picture and a
// fish skin, and SOIL's preparation of a user's picture with the background flags.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "../tests/host/TestBmp.h"
#include "assets/Bmp.h"
#include "assets/SoilLoader.h"

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
