// The user's pictures through the checked SOIL route (flags 178) into an off-screen context: a
// full-HD and a 12-megapixel JPEG; and the memory of 100 add/remove rounds.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "../tests/host/OsMesa.h"
#include "backgrounds/PictureCycle.h"
#include "backgrounds/PictureTextures.h"

namespace {

// A photo-like JPEG written once by ImageMagick into the temporary folder.
std::string Photo(int w, int h) {
    const std::string path = "/tmp/nerith_bench_" + std::to_string(w) + "x" + std::to_string(h) + ".jpg";
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        std::fclose(f);
        return path;
    }
    const std::string command = "convert -size " + std::to_string(w) + "x" + std::to_string(h) +
                                " plasma:fractal -quality 90 " + path + " 2>/dev/null";
    return std::system(command.c_str()) == 0 ? path : std::string();
}

void BM_LoadUserPicture(benchmark::State& state) {
    const std::string path = Photo(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    OsMesaContext gl(16, 16);
    if (path.empty() || !gl.ok()) {
        state.SkipWithError("no picture or no context");
        return;
    }
    for (auto _ : state) {
        const unsigned texture = backgrounds::LoadPicture(path.c_str());
        if (!texture) state.SkipWithError("not loaded");
        glFinish();
        backgrounds::ReleasePicture(texture);
    }
}
BENCHMARK(BM_LoadUserPicture)->Args({1920, 1080})->Args({4000, 3000})->Unit(benchmark::kMillisecond);

long ResidentKb() {
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return resident * 4;
}

// Ten pictures listed, then 100 rounds of removing one and adding one: the resident memory
// before and after the rounds.
void BM_AddRemoveRounds(benchmark::State& state) {
    const std::string path = Photo(1920, 1080);
    OsMesaContext gl(16, 16);
    for (auto _ : state) {
        backgrounds::PictureCycle cycle;
        while (cycle.pictureCount < 10) cycle.Append(backgrounds::LoadPicture(path.c_str()));
        glFinish();
        const long before = ResidentKb();
        for (int round = 0; round < 100; ++round) {
            backgrounds::ReleasePicture(cycle.RemoveRow(round % 10));
            cycle.Append(backgrounds::LoadPicture(path.c_str()));
        }
        glFinish();
        state.counters["rss_before_MB"] = before / 1024.0;
        state.counters["rss_after_MB"] = ResidentKb() / 1024.0;
        for (int i = 0; i < cycle.pictureCount; ++i) backgrounds::ReleasePicture(cycle.pictures[i]);
    }
}
BENCHMARK(BM_AddRemoveRounds)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
