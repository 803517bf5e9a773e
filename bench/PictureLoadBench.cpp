// The user's pictures through the program's route (flags 178) into an off-screen context, for a
// 1920 x 1080 screen: photos of 2, 12, 50 and 200 megapixels, with the time the calling (GL)
// thread spends, the whole time until the picture is in its texture (the worker's share
// included) and the peak memory of a load; and the memory of 100 add/remove rounds.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "../tests/host/OsMesa.h"
#include "backgrounds/PictureCycle.h"
#include "backgrounds/PictureTextures.h"

namespace {

// A photo-like baseline JPEG, written once by the bigphoto tool into the temporary folder (in
// its own process, so that making it adds nothing to the memory measured here).
std::string Photo(int w, int h) {
    const std::string path = "/tmp/nerith_bench_photo_" + std::to_string(w) + "x" + std::to_string(h) + ".jpg";
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        std::fclose(f);
        return path;
    }
    const std::string command = std::string(NERITH_BIGPHOTO) + " " + path + " " + std::to_string(w) + " " + std::to_string(h);
    return std::system(command.c_str()) == 0 ? path : std::string();
}

// The process's resident peak in MB since the last ResetPeak.
double PeakMb() {
    long kb = 0;
    if (FILE* f = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, f))
            if (std::strncmp(line, "VmHWM:", 6) == 0) kb = std::atol(line + 6);
        std::fclose(f);
    }
    return kb / 1024.0;
}

void ResetPeak() {
    if (FILE* f = std::fopen("/proc/self/clear_refs", "w")) {
        std::fputs("5", f);
        std::fclose(f);
    }
}

long ResidentKb() {
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return resident * 4;
}

using Clock = std::chrono::steady_clock;
double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// One load: LoadPicture and the upload when the worker is done (the GL thread's share), and the
// whole time until the texture holds the picture.
void BM_LoadUserPicture(benchmark::State& state) {
    const std::string path = Photo(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    OsMesaContext gl(16, 16);
    if (path.empty() || !gl.ok()) {
        state.SkipWithError("no picture or no context");
        return;
    }
    backgrounds::SetPictureScreen(1920, 1080);
    double glThread = 0, peak = 0, before = 0;
    for (auto _ : state) {
        before = ResidentKb() / 1024.0;
        ResetPeak();
        const Clock::time_point start = Clock::now();
        const unsigned texture = backgrounds::LoadPicture(path.c_str());
        Clock::duration onGlThread = Clock::now() - start;
        // The worker's share runs apart; the GL thread looks in now and then, as the dialog's
        // timer does, and puts the picture into its texture.
        while (texture && !backgrounds::PictureReady(texture)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            const Clock::time_point looked = Clock::now();
            if (!backgrounds::FinishPictures().empty()) state.SkipWithError("not decoded");
            glFinish();
            onGlThread += Clock::now() - looked;
        }
        glFinish();
        if (!texture) state.SkipWithError("not loaded");
        glThread = Ms(onGlThread);
        peak = PeakMb();
        backgrounds::ReleasePicture(texture);
    }
    backgrounds::SetPictureScreen(0, 0);
    state.counters["gl_thread_ms"] = glThread;
    state.counters["peak_MB"] = peak;
    state.counters["rss_before_MB"] = before;
}
BENCHMARK(BM_LoadUserPicture)
    ->Args({1920, 1080})
    ->Args({4000, 3000})
    ->Args({8160, 6120})
    ->Args({16320, 12240})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

// Ten pictures listed, then 100 rounds of removing one and adding one: the resident memory
// before and after the rounds.
void BM_AddRemoveRounds(benchmark::State& state) {
    const std::string path = Photo(1920, 1080);
    OsMesaContext gl(16, 16);
    for (auto _ : state) {
        backgrounds::PictureCycle cycle;
        while (cycle.pictureCount < 10) cycle.Append(backgrounds::LoadPicture(path.c_str()));
        backgrounds::WaitForPictures();
        glFinish();
        const long before = ResidentKb();
        for (int round = 0; round < 100; ++round) {
            backgrounds::ReleasePicture(cycle.RemoveRow(round % 10));
            cycle.Append(backgrounds::LoadPicture(path.c_str()));
        }
        backgrounds::WaitForPictures();
        glFinish();
        state.counters["rss_before_MB"] = before / 1024.0;
        state.counters["rss_after_MB"] = ResidentKb() / 1024.0;
        for (int i = 0; i < cycle.pictureCount; ++i) backgrounds::ReleasePicture(cycle.pictures[i]);
    }
}
BENCHMARK(BM_AddRemoveRounds)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
