// The tank scenery per frame: the ripple model's Animate, and the background picture and bubble
// passes drawn into an off-screen context.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <memory>
#include <vector>

#include "../tests/host/OsMesa.h"
#include "../tests/host/RippleReference.h"
#include "Random.h"
#include "scene/Scenery.h"

namespace {

const int Offsets[9] = {-200, -150, -100, -50, 0, 50, 100, 150, 200};

// One frame's ripple start, as the background pass makes it.
void FrameStart(RippleSurface& surface, int width, int height) {
    nerith::rand();
    surface.StartRipple(width / 2 + Offsets[nerith::rand() % 9], height / 2 + 100);
}

// A 1024 x 768 surface after enough frames for every slot to be in use.
std::unique_ptr<RippleSurface> SteadySurface() {
    nerith::resetRandForTesting();
    std::unique_ptr<RippleSurface> surface(new RippleSurface);
    surface->Resize(1024, 768);
    for (int i = 0; i < 1000; ++i) {
        FrameStart(*surface, 1024, 768);
        surface->Animate();
    }
    return surface;
}

void BM_RippleAnimate(benchmark::State& state) {
    std::unique_ptr<RippleSurface> surface = SteadySurface();
    for (auto _ : state) {
        FrameStart(*surface, 1024, 768);
        surface->Animate();
        benchmark::DoNotOptimize(surface->Vertex(16, 16).s);
    }
}
BENCHMARK(BM_RippleAnimate);

// The same frames through the plain sweep over every vertex and every slot.
void BM_RippleAnimatePlainSweep(benchmark::State& state) {
    std::unique_ptr<RippleSurface> surface = SteadySurface();
    RippleCoords coords;
    for (auto _ : state) {
        FrameStart(*surface, 1024, 768);
        ReferenceAnimate(*surface, coords);
        surface->Animate();
        benchmark::DoNotOptimize(coords.s[16][16]);
    }
}
BENCHMARK(BM_RippleAnimatePlainSweep);

// The worst case: right after a resize to 800 x 480 every slot sits at the corner, old enough to
// reach the whole grid.
void BM_RippleAnimateAfterSmallResize(benchmark::State& state) {
    RippleSurface start;
    start.Resize(800, 480);
    std::unique_ptr<RippleSurface> surface(new RippleSurface);
    for (auto _ : state) {
        *surface = start;
        surface->Animate();
        benchmark::DoNotOptimize(surface->Vertex(31, 31).s);
    }
}
BENCHMARK(BM_RippleAnimateAfterSmallResize);

unsigned WhiteSprite() {
    return MakeTestTexture(4, 4, GL_LINEAR, [](int x, int y, std::uint8_t* p) {
        const std::uint8_t v = (x == 0 && y == 0) ? 255 : 0;
        p[0] = p[1] = p[2] = p[3] = v;
    });
}

GLuint Picture() {
    return MakeTestTexture(256, 256, GL_LINEAR, [](int x, int y, std::uint8_t* p) {
        const size_t i = (static_cast<size_t>(y) * 256 + x) * 4;
        for (int c = 0; c < 4; ++c) p[c] = static_cast<std::uint8_t>((i + c) * 7);
    });
}

// Background picture and bubble passes of one frame on a 1024 x 768 screen with the default 100
// bubbles, rendered (glFinish) by the software rasteriser at the given viewport size.
void BM_SceneryPass(benchmark::State& state) {
    const int size = static_cast<int>(state.range(0));
    OsMesaContext gl(size, size * 3 / 4);
    if (!gl.ok()) {
        state.SkipWithError("no OSMesa context");
        return;
    }
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
    glViewport(0, 0, size, size * 3 / 4);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-0.4 * 1024 / 768, 0.4 * 1024 / 768, -0.4, 0.4, 1, 1000);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(0, 0, -10, 0, 0, -500, 0, 1, 0);

    Settings settings{};
    settings.showTerra = 1;
    settings.bubbleSetting = 100;
    const TankBox box = TankBoxFor(1024, 768);
    TerrainGrid terrain;
    BubbleSystem bubbles;
    const BubbleEmitter emitter = SetUpTerrainAndBubbles(terrain, bubbles, box, WhiteSprite, settings.bubbleSetting);
    std::unique_ptr<RippleSurface> surface(CreateBackgroundPicture(1024, 768));
    const GLuint picture = Picture();
    for (int i = 0; i < 300; ++i) {
        DrawBackgroundPicture(settings, surface.get(), picture, LayoutFor(1024, 768).picture, 1024, 768);
        DrawBubbleColumn(bubbles, emitter, settings.bubbleSetting);
    }
    glFinish();

    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        DrawBackgroundPicture(settings, surface.get(), picture, LayoutFor(1024, 768).picture, 1024, 768);
        DrawBubbleColumn(bubbles, emitter, settings.bubbleSetting);
        glFinish();
    }
}
BENCHMARK(BM_SceneryPass)->Arg(256)->Arg(1024)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
