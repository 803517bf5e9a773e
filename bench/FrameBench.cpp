// One whole frame of the scene at full load (20 fish, 200 bubbles, the picture) through OSMesa,
// set up and rendered as the view does it.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "../tests/host/FrameScene.h"

namespace {

void BM_FullLoadFrame(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0)), height = width * 3 / 4;
    FrameScene scene(width, height, FullLoadSettings());
    if (!scene.ok()) {
        state.SkipWithError("no OSMesa context");
        return;
    }
    for (auto _ : state) scene.Render();
}
// FRAME_BENCH_FRAMES=N renders exactly N frames (for counting instructions or GL calls: the
// difference of two runs with different N is the cost of that many frames, set-up excluded).
benchmark::internal::Benchmark* const fullLoad = [] {
    benchmark::internal::Benchmark* b =
        benchmark::RegisterBenchmark("BM_FullLoadFrame", BM_FullLoadFrame)->Arg(1024)->Unit(benchmark::kMillisecond);
    if (const char* frames = std::getenv("FRAME_BENCH_FRAMES")) b->Iterations(std::atoi(frames));
    return b;
}();

}  // namespace
