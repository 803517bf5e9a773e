// One frame's fish work for 20 fish: the simulation alone (steps, steering, avoidance), and the
// whole fish pass drawn into an off-screen context the size of a small screen.
#include <benchmark/benchmark.h>

#include <vector>

#include "../tests/host/OsMesa.h"
#include "Random.h"
#include "fish/School.h"
#include "scene/ViewLayout.h"

namespace {

const TankBox Tank = {-54.0f, 54.0f, 21.0f, -21.0f, -50.0f, 0.0f};
const int TwentyFish[SpeciesCount] = {2, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};

void BM_FishSimulationFrame(benchmark::State& state) {
    nerith::resetRandForTesting();
    School school;
    school.placeFish(Tank);
    for (int i = 0; i < 500; ++i) school.simulateFishPass(TwentyFish, FeedFishCmd);
    for (auto _ : state) {
        school.simulateFishPass(TwentyFish, FeedFishCmd);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 20);  // fish steps
}
BENCHMARK(BM_FishSimulationFrame);

// The aquarium's projection, camera, light and a skin per species.
void SetUpScene(int width, int height, std::vector<GLuint>& skins) {
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const double a = double(width) / height;
    glFrustum(-0.4 * a, 0.4 * a, -0.4, 0.4, 1, 1000);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const GLfloat one[4] = {1, 1, 1, 1}, pos[4] = {1000, -1000, 1000, 1};
    glLightfv(GL_LIGHT1, GL_AMBIENT, one);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, one);
    glLightfv(GL_LIGHT1, GL_POSITION, pos);
    glEnable(GL_LIGHT1);
    glEnable(GL_LIGHTING);
    glEnable(GL_COLOR_MATERIAL);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    gluLookAt(0, 0, -10, 0, 0, -500, 0, 1, 0);
    skins.resize(SpeciesCount);
    glGenTextures(SpeciesCount, skins.data());
    // Skins as the built-in ones: 512 x 256 with every mipmap level, sampled trilinearly.
    std::vector<unsigned char> pixels(512 * 256 * 3);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<unsigned char>(i * 7);
    for (GLuint skin : skins) {
        glBindTexture(GL_TEXTURE_2D, skin);
        gluBuild2DMipmaps(GL_TEXTURE_2D, 3, 512, 256, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    }
}

void BM_FishDrawnFrame(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
    OsMesaContext gl(width, height);
    if (!gl.ok()) {
        state.SkipWithError("no off-screen context");
        return;
    }
    std::vector<GLuint> skins;
    SetUpScene(width, height, skins);
    nerith::resetRandForTesting();
    School school;
    school.placeFish(Tank);
    school.setUpPellets();
    for (int i = 0; i < 100; ++i) school.simulateFishPass(TwentyFish, FeedFishCmd);
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        school.fishPass(TwentyFish, skins.data(), FeedFishCmd);
        glFinish();
    }
    state.SetItemsProcessed(state.iterations() * 20);
}
BENCHMARK(BM_FishDrawnFrame)->Args({640, 400})->Args({1680, 1050})->Unit(benchmark::kMillisecond);

// The vertices alone: the same pass into a 16 x 16 context, where next to nothing is rasterised,
// so what is left is building the frames and submitting about 20,000 vertices.
void BM_FishSubmittedFrame(benchmark::State& state) {
    OsMesaContext gl(16, 16);
    if (!gl.ok()) {
        state.SkipWithError("no off-screen context");
        return;
    }
    std::vector<GLuint> skins;
    SetUpScene(16, 16, skins);
    nerith::resetRandForTesting();
    School school;
    school.placeFish(Tank);
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        school.fishPass(TwentyFish, skins.data(), FeedFishCmd);
        glFinish();
    }
    state.SetItemsProcessed(state.iterations() * 20);
}
BENCHMARK(BM_FishSubmittedFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
