// Clicks resolved by selection-mode picking, in an off-screen context set up as the view sets up
// each frame: feed clicks against the probe strips, touch and zoom clicks against the fish, the
// marker cone and the screen-copy magnifier.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "OsMesa.h"
#include "Random.h"
#include "assets/TextureLoader.h"
#include "fish/School.h"
#include "scene/RippleSurface.h"
#include "view/FrameRender.h"
#include "view/Picking.h"
#include "scene/ViewLayout.h"

namespace {

constexpr int ScreenW = 1024, ScreenH = 768;
constexpr float CameraOffset = -5.0f;

// The world point under a mouse point on the strips' plane (z = -69, 59 in front of the eye) of a
// w x h view, as the frame's perspective shows it: 0.4 at distance 1 is half the shorter side.
struct StripPlane {
    int w, h;
    double UnitsPerPixel() const { return 59.0 * 0.4 / (std::min(w, h) / 2.0); }
    float WorldXAt(int mouseX) const { return static_cast<float>((mouseX - w / 2.0) * UnitsPerPixel()); }
    float WorldYAt(int mouseY) const { return static_cast<float>((h / 2.0 - mouseY) * UnitsPerPixel()); }
};

// The mouse point (client pixels, y downwards) over a world point at z = -70.
std::pair<int, int> MouseOver(float x, float y) {
    GLdouble model[16], proj[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, proj);
    glGetIntegerv(GL_VIEWPORT, viewport);
    GLdouble wx, wy, wz;
    gluProject(x, y, -70.0, model, proj, viewport, &wx, &wy, &wz);
    return {static_cast<int>(std::lround(wx)), ScreenH - static_cast<int>(std::lround(wy))};
}

int ActivePellets(const School& school) {
    int n = 0;
    for (int i = 0; i < PelletSlotCount; ++i) n += school.pellet(i).IsActive();
    return n;
}

// The stack depths, matrix mode, render mode and both matrices, to compare before and after.
std::vector<float> ReadStacks() {
    const GLenum ints[] = {GL_MODELVIEW_STACK_DEPTH, GL_PROJECTION_STACK_DEPTH, GL_NAME_STACK_DEPTH,
                           GL_MATRIX_MODE, GL_RENDER_MODE};
    std::vector<float> d(5 + 32);
    for (int k = 0; k < 5; ++k) glGetFloatv(ints[k], &d[k]);
    glGetFloatv(GL_MODELVIEW_MATRIX, &d[5]);
    glGetFloatv(GL_PROJECTION_MATRIX, &d[21]);
    return d;
}

// A w x h screen with its tank, strips, school and pick state, each frame begun as the view does.
class PickingWorld {
public:
    PickingWorld(int w, int h) : gl(w, h), plane{w, h}, layout(LayoutFor(w, h)), tank(layout.tank) {
        nerith::resetRandForTesting();
        InitSceneState();
        PlaceProbeStrips(layout, columns, rows);
        school.placeFish(layout);
        mouseX = w / 2;
        mouseY = h / 2;
        BeginFrame();
    }

    void BeginFrame() {
        ApplyFrameProjection(plane.w, plane.h);
        ApplyFrameCamera(CameraOffset);
        glViewport(0, 0, plane.w, plane.h);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glDisable(GL_LIGHTING);
    }

    SweepOutcome Sweep(int mode = FeedFishCmd) {
        BeginFrame();
        return ProbeSweep(state, mode, mouseX, mouseY, feedRequest, probeRequest, markerRequest, columns,
                          rows, layout, school);
    }

    // A feed click at (x, y); the frames it took until it was resolved, or -1 after `limit`.
    int FeedClick(int x, int y, int limit = 200, SweepOutcome* last = nullptr) {
        mouseX = x;
        mouseY = y;
        feedRequest = true;
        for (int frame = 1; frame <= limit; ++frame) {
            const SweepOutcome o = Sweep();
            if (!feedRequest) {
                if (last) *last = o;
                return frame;
            }
        }
        return -1;
    }

    // A click in mode `cmd` at (x, y) on the fish, with the button held.
    int FishClick(int cmd, int x, int y) {
        buttonHeld = true;
        return FishPick(cmd, x, y, buttonHeld, school);
    }

    // `count` live fish of species 0, each given a place.
    void LiveFish(int count) {
        int counts[SpeciesCount] = {};
        counts[0] = count;
        school.simulateFishPass(counts, TouchFishCmd);
        ASSERT_EQ(school.liveFish(), count);
    }

    OsMesaContext gl;
    StripPlane plane;
    SceneLayout layout;
    TankBox tank;
    ProbePoint columns[ProbeColumnCount];
    ProbePoint rows[ProbeRowCount];
    School school;
    PickState state;
    int mouseX = 0, mouseY = 0;
    bool feedRequest = false, probeRequest = false, markerRequest = false, buttonHeld = false;
};

class PickingScene : public ::testing::Test, public PickingWorld {
protected:
    PickingScene() : PickingWorld(ScreenW, ScreenH) {}
    void SetUp() override { ASSERT_TRUE(gl.ok()); }
};

}  // namespace

// A grid of points over the whole view, each resolved before the next, with the strips going on
// sweeping from where they were: every click becomes a pellet under the pointer, on a listed
// screen, a portrait one and a super-wide one.
TEST(FeedClicks, AnywhereOnTheViewBecomeAPelletThereWithinASweep) {
    for (const auto& [w, h] : {std::pair(1024, 768), std::pair(540, 960), std::pair(1280, 360)}) {
        SCOPED_TRACE(::testing::Message() << w << "x" << h);
        PickingWorld world(w, h);
        ASSERT_TRUE(world.gl.ok());
        int worst = 0;
        for (int my = 2; my < h; my += h / 9) {
            for (int mx = 2; mx < w; mx += w / 11) {
                for (int i = 0; i < PelletSlotCount; ++i) world.school.pellet(i).SetActive(false);
                SweepOutcome o;
                const int frames = world.FeedClick(mx, my, 200, &o);
                ASSERT_GT(frames, 0) << "no pellet for the click at " << mx << ", " << my;
                SCOPED_TRACE(::testing::Message() << mx << ", " << my);
                EXPECT_FALSE(world.state.pickedXFound || world.state.pickedYFound);  // ready for the next
                worst = std::max(worst, frames);
                ASSERT_EQ(ActivePellets(world.school), 1);
                const FoodPellet& p = world.school.pellet(0);
                EXPECT_FLOAT_EQ(p.AnchorZ(), -70.0f);
                // Within the strip's half width and the pick region's half side of the pointer.
                const double near = 0.5 + 8 * world.plane.UnitsPerPixel();
                EXPECT_NEAR(p.AnchorX(), world.plane.WorldXAt(mx), near);
                EXPECT_NEAR(p.AnchorY() + 2.0f, world.plane.WorldYAt(my), near);
            }
        }
        // A point that one strip alone passes waits at most for its sweep there and back.
        EXPECT_LE(worst, 42);
    }
}

// The top rows of the screen lie above the tank's top wall: a click there still feeds, where it was
// once left pending. With ten pellets falling, the eleventh quick click is used up.
TEST_F(PickingScene, ClickAboveTheTankTopFeedsThereAndTheEleventhQuickClickIsUsedUp) {
    ASSERT_GT(plane.WorldYAt(10), tank.top + 1.0f);  // above the top wall, still on screen
    SweepOutcome o;
    ASSERT_GT(FeedClick(512, 10, 300, &o), 0);
    EXPECT_TRUE(o.dropped);
    EXPECT_GT(school.pellet(0).AnchorY() + 2.0f, tank.top);
    for (int i = 1; i < 10; ++i) ASSERT_TRUE(school.dropPellet(0.0f, 0.0f));
    ASSERT_GT(FeedClick(400, 450, 200, &o), 0);  // resolved: the request is gone ...
    EXPECT_FALSE(o.dropped);                     // ... without a pellet
    EXPECT_TRUE(o.usedUp);
    EXPECT_EQ(ActivePellets(school), 10);
    EXPECT_FALSE(state.pickedXFound || state.pickedYFound);
}

TEST_F(PickingScene, OtherModesNeitherSweepNorPickAndProbeModeGoesOnPicking) {
    const float before = columns[0].x;
    feedRequest = true;  // at the middle of the screen
    for (int frame = 0; frame < 30; ++frame) EXPECT_FALSE(Sweep(TouchFishCmd).picked);
    EXPECT_FLOAT_EQ(columns[0].x, before);
    EXPECT_TRUE(feedRequest);
    feedRequest = false;

    probeRequest = true;
    int found = 0;
    for (int frame = 0; frame < 100; ++frame) {
        const SweepOutcome o = Sweep(ProbeMode);
        EXPECT_TRUE(o.picked && !o.dropped);
        found += state.pickedXFound && state.pickedYFound;
    }
    EXPECT_TRUE(probeRequest);  // never cleared
    EXPECT_GT(found, 0);
    EXPECT_EQ(ActivePellets(school), 0);
}

TEST_F(PickingScene, MarkerConeIsCompiledOnceAndDrawnAtThePickedPoint) {
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    markerRequest = true;  // at the middle of the screen
    GLuint list = 0;
    int drawn = 0;
    for (int frame = 0; frame < 200 && drawn < 3; ++frame) {
        const SweepOutcome o = Sweep(MarkerMode);
        if (!o.markerDrawn) continue;
        ++drawn;
        if (drawn == 1) list = state.markerList;
        EXPECT_EQ(state.markerList, list);
        EXPECT_EQ(glIsList(list), GL_TRUE);
        // Black wire lines around the point below the picked one.
        const auto [markX, markY] = MouseOver(state.pickedX, state.pickedY - 2.0f);
        int dark = 0;
        for (int y = ScreenH - markY - 40; y <= ScreenH - markY + 40; ++y)
            for (int x = markX - 40; x <= markX + 40; ++x) {
                const auto p = gl.pixel(x, y);
                dark += p.r + p.g + p.b < 60;
            }
        EXPECT_GT(dark, 30);
    }
    ASSERT_EQ(drawn, 3);
    EXPECT_TRUE(markerRequest);  // the marker mode goes on marking
    // No other list was made after the first one.
    const GLuint next = glGenLists(1);
    EXPECT_EQ(next, list + 1);
    glDeleteLists(next, 1);
}

TEST_F(PickingScene, FishPickHitsTheFishUnderTheCursorMissesEmptyWaterAndZooms) {
    LiveFish(3);
    school.fish(0).placeAt(-20.0f, 12.0f, -70.0f);
    school.fish(1).placeAt(0.0f, 0.0f, -70.0f);
    school.fish(2).placeAt(20.0f, -12.0f, -70.0f);
    const auto [touchX, touchY] = MouseOver(20.0f, -12.0f);
    EXPECT_EQ(FishClick(TouchFishCmd, touchX, touchY), 2);
    EXPECT_FALSE(buttonHeld);

    BeginFrame();
    const auto [waterX, waterY] = MouseOver(0.0f, -18.0f);  // open water below the middle fish
    EXPECT_EQ(FishClick(ZoomInCmd, waterX, waterY), -1);
    EXPECT_FALSE(buttonHeld);  // the click is used up

    // Nothing happens without a held button, nor in a mode without a fish click.
    buttonHeld = false;
    EXPECT_EQ(FishPick(ZoomInCmd, 512, 384, buttonHeld, school), -1);
    EXPECT_EQ(FishClick(FeedFishCmd, 512, 384), -1);
    EXPECT_TRUE(buttonHeld);

    // Zoom in thrice, then out to the minimum; with no live fish nothing is picked.
    Fish& fish = school.fish(1);
    const std::pair<int, float> steps[] = {{ZoomInCmd, 9.0f},  {ZoomInCmd, 10.0f}, {ZoomInCmd, 10.0f},
                                           {ZoomOutCmd, 8.0f}, {ZoomOutCmd, 6.0f}, {ZoomOutCmd, 4.0f},
                                           {ZoomOutCmd, 4.0f}};
    for (const auto& step : steps) {
        BeginFrame();
        fish.placeAt(0.0f, 0.0f, -70.0f);
        EXPECT_EQ(FishClick(step.first, 512, 384), 1);
        EXPECT_FLOAT_EQ(fish.size(), step.second);
    }
    LiveFish(0);
    EXPECT_EQ(FishClick(TouchFishCmd, 512, 384), -1);
    EXPECT_FALSE(buttonHeld);
}

TEST_F(PickingScene, PicksLeaveTheMatrixAndNameStacksAsTheyFoundThem) {
    LiveFish(2);
    school.fish(1).placeAt(0.0f, 0.0f, -70.0f);
    school.fish(0).placeAt(-25.0f, 15.0f, -70.0f);
    BeginFrame();
    const auto before = ReadStacks();
    EXPECT_EQ(FishClick(TouchFishCmd, 512, 384), 1);  // any slip shows after a single hit or miss
    EXPECT_EQ(FishClick(TouchFishCmd, 900, 700), -1);
    EXPECT_EQ(ReadStacks(), before);

    // The strip picks, hit and miss alike, many times over.
    for (int frame = 0; frame < 60; ++frame) {
        feedRequest = true;  // in the tank, then above it
        const int y = frame % 2 ? 384 : 5;
        ProbeSweep(state, FeedFishCmd, 512, y, feedRequest, false, false, columns, rows, layout, school);
        ProbeSweep(state, ProbeMode, 3000, -3000, feedRequest, true, false, columns, rows, layout, school);
    }
    EXPECT_GT(ActivePellets(school), 0);
    EXPECT_EQ(ReadStacks(), before);

    // And a test inside the caller's own pushed matrices.
    glPushMatrix();
    glTranslatef(1.0f, 2.0f, 3.0f);
    const auto nested = ReadStacks();
    EXPECT_TRUE(PickTest(512, 384, ProbePickRegion, 0.0f, 0.0f, -70.0f, [] { glRectf(-5, -5, 5, 5); }));
    EXPECT_EQ(ReadStacks(), nested);
    glPopMatrix();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// The magnifier copies what fits of the screen into its blank 128 x 128 texture; not in its mode,
// or without a texture, it does nothing, and raises no error either way.
TEST(Magnifier, CopiesWhatFitsWithoutAnError) {
    for (const auto& [w, h] : {std::pair(1024, 768), std::pair(100, 60)}) {
        SCOPED_TRACE(w);
        OsMesaContext gl(w, h);
        ASSERT_TRUE(gl.ok());
        const GLuint texture = CreateBlankTexture();
        RippleSurface surface;
        surface.Resize(w, h);
        glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
        glViewport(0, 0, w, h);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        const int ageBefore = surface.Age(0);
        DrawMagnifier(FeedFishCmd, texture, w, h, CameraOffset, &surface);
        EXPECT_EQ(surface.Age(0), ageBefore);
        DrawMagnifier(RippleMode, texture, w, h, CameraOffset, &surface);
        EXPECT_EQ(surface.Age(0), ageBefore + 1);  // the ripples went on one frame
        DrawMagnifier(RippleMode, 0, w, h, CameraOffset, nullptr);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        glBindTexture(GL_TEXTURE_2D, texture);
        EXPECT_EQ(BoundTexParam(GL_TEXTURE_MIN_FILTER), GL_LINEAR);
        const std::vector<std::uint8_t> texels = BoundTexels();
        ASSERT_EQ(texels.size(), 128u * 128 * 4);
        const int inX = std::min(w, 128) - 1, inY = std::min(h, 128) - 1;
        EXPECT_EQ(texels[(inY * 128 + inX) * 4 + 2], 255);  // inside the copy: blue
        if (w < 128) { EXPECT_EQ(texels[((inY + 1) * 128 + inX + 1) * 4 + 2], 0); }  // beyond it: still clear
    }
}
