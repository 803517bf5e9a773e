// The cost of resolving clicks in a frame, in an off-screen context the size of a 1024 x 768
// screen: the probe sweep idle (the strips only move) and with a feed click pending (60
// selection passes a frame), and the fish pick over twenty fish that all miss.
#include <benchmark/benchmark.h>

#include "../tests/host/OsMesa.h"
#include "Random.h"
#include "fish/School.h"
#include "view/FrameRender.h"
#include "view/Picking.h"
#include "scene/ViewLayout.h"

namespace {

constexpr int ScreenW = 1024, ScreenH = 768;
const int TwentyFish[SpeciesCount] = {2, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};

struct PickBench {
    OsMesaContext gl{ScreenW, ScreenH};
    SceneLayout layout = LayoutFor(ScreenW, ScreenH);
    ProbePoint columns[ProbeColumnCount];
    ProbePoint rows[ProbeRowCount];
    School school;
    PickState state;

    PickBench() {
        nerith::resetRandForTesting();
        InitSceneState();
        PlaceProbeStrips(layout, columns, rows);
        school.placeFish(layout);
        ApplyFrameProjection(ScreenW, ScreenH);
        ApplyFrameCamera(-5.0f);
        glViewport(0, 0, ScreenW, ScreenH);
        glDisable(GL_LIGHTING);
    }
};

// feedPending 0: no click; 1: a click far off the view, which stays pending for ever.
void BM_ProbeSweep(benchmark::State& state) {
    PickBench bench;
    if (!bench.gl.ok()) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    const bool pending = state.range(0) != 0;
    bool feedRequest = pending;
    for (auto _ : state) {
        const SweepOutcome o = ProbeSweep(bench.state, FeedFishCmd, 512, -3000, feedRequest, false, false,
                                          bench.columns, bench.rows, bench.layout, bench.school);
        benchmark::DoNotOptimize(o);
    }
    glFinish();
    if (pending && !feedRequest) state.SkipWithError("the click was resolved");
}
BENCHMARK(BM_ProbeSweep)->Arg(0)->Arg(1)->ArgName("pending");

// A touch click in open water: every one of the twenty fish is drawn in a selection pass.
void BM_FishPickMiss(benchmark::State& state) {
    PickBench bench;
    if (!bench.gl.ok()) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    bench.school.simulateFishPass(TwentyFish, TouchFishCmd);
    for (int i = 0; i < FishSlotCount; ++i) bench.school.fish(i).placeAt(-40.0f + 4.0f * i, 15.0f, -70.0f);
    int hits = 0;
    for (auto _ : state) {
        bool held = true;
        hits += FishPick(TouchFishCmd, 512, 700, held, bench.school) >= 0;
        for (int i = 0; i < FishSlotCount; ++i) bench.school.fish(i).placeAt(-40.0f + 4.0f * i, 15.0f, -70.0f);
    }
    glFinish();
    if (hits) state.SkipWithError("a fish was hit");
}
BENCHMARK(BM_FishPickMiss);

}  // namespace
