// The view's own share of a frame: the screen-size tables, the probe strips, the light level and
// the back-wall colour layers, drawn through an off-screen context.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "OsMesa.h"
#include "settings/Settings.h"
#include "view/FrameRender.h"
#include "scene/ViewLayout.h"

// Screens people use, listed and not: the picture plane and the back wall cover the whole view,
// the picture is never stretched beyond what the listed sizes do, and the fish, the probe strips
// and the feed box reach every edge.
const int Screens[][2] = {{800, 600},   {1024, 768},  {1280, 1024}, {1366, 768},  {1440, 900},  {1536, 864},
                          {1600, 900},  {1680, 1050}, {1920, 1080}, {1920, 1200}, {2256, 1504}, {2560, 1080},
                          {2560, 1440}, {2560, 1600}, {3440, 1440}, {3840, 2160}, {5120, 1440}, {7680, 4320},
                          {1080, 1920}, {768, 1024},  {1200, 1920}, {152, 112},   {1000, 1000}};

TEST(ViewLayout, EveryScreenIsCoveredAndTheTankReachesItsEdges) {
    for (const auto& size : Screens) {
        const int w = size[0], h = size[1];
        SCOPED_TRACE(::testing::Message() << w << "x" << h);
        const SceneLayout l = LayoutFor(w, h);
        const PixelRect cover = PictureCover(w, h, -5.0f, l.picture);
        EXPECT_EQ((std::vector<int>{cover.x0, cover.y0, cover.x1, cover.y1}), (std::vector<int>{0, 0, w, h}));
        const float ratio = l.picture.scaleX / l.picture.scaleY;
        EXPECT_GE(ratio, 49.9f / 40 - 1e-4f);  // the narrowest listed picture: 1280 x 1024
        EXPECT_LE(ratio, 110.0f / 40 + 1e-4f);  // the widest: 1920 x 1080
        EXPECT_LE(l.picture.coverX, l.picture.scaleX * 1.005f);  // its edges stretched a sliver at most

        const Extent wall = VisibleAt(w, h, l.wall.z), fishFar = VisibleAt(w, h, -80.0f),
                     strips = VisibleAt(w, h, -70.0f);
        EXPECT_LE(l.wall.right, -l.wall.left + 1e-3f);
        EXPECT_GE(l.wall.right, wall.halfWidth);
        EXPECT_GE(l.wall.top, wall.halfHeight);
        EXPECT_LE(l.wall.bottom, -wall.halfHeight);
        EXPECT_GE(l.fishHalfWidth, fishFar.halfWidth - 0.25f);  // (1920 x 1080: 50 for 49.8)
        EXPECT_GE(l.tank.top + 4.0f, VisibleAt(w, h, -65.0f).halfHeight);  // the fish's top
        EXPECT_GE(l.feedBox.right, strips.halfWidth);
        EXPECT_LE(l.feedBox.left, -strips.halfWidth);
        EXPECT_GE(l.feedBox.top, strips.halfHeight);
        EXPECT_LE(l.feedBox.bottom, -strips.halfHeight);
        EXPECT_GE(l.columnHalfLength, strips.halfHeight);
        EXPECT_GE(l.rowHalfLength, strips.halfWidth);

        // Each strip sweeps five units either way: neighbours at most ten apart, the first and
        // last sweeping past the edges of the view.
        ProbePoint columns[ProbeColumnCount], rows[ProbeRowCount];
        PlaceProbeStrips(l, columns, rows);
        EXPECT_LE(columns[0].x - 5.0f, -strips.halfWidth);
        EXPECT_GE(columns[ProbeColumnCount - 1].x + 5.0f, strips.halfWidth);
        for (int i = 1; i < ProbeColumnCount; ++i) EXPECT_LE(columns[i].x - columns[i - 1].x, 10.0f);
        EXPECT_LE(rows[0].y - 5.0f, -strips.halfHeight + 1.0f);
        EXPECT_GE(rows[ProbeRowCount - 1].y + 5.0f, strips.halfHeight);
        EXPECT_LE(l.rowStep, 10);
    }
}

// The listed sizes keep the tables (the picture's plane only widened where it left the wall
// showing); other sizes look like the listed size of the nearest shape.
TEST(ViewLayout, ListedSizesKeepTheirTablesAndOthersLookLikeTheNearestShape) {
    const struct {
        int w, h, index;
        float scaleX, coverX, tankHalf;
    } cases[] = {
        {1680, 1050, 2, 64.0f, 64.0f, 54.0f},         {1920, 1080, 7, 110.0f, 110.0f, 49.0f},
        {1024, 768, 0, 53.1f, 160.0f / 3, 49.0f},     {1440, 900, 3, 64.0f, 64.0f, 55.0f},
        {1280, 1024, 1, 49.9f, 50.0f, 49.0f},         {1600, 900, 5, 71.0f, 640.0f / 9, 58.0f},
        {3840, 2160, 7, 110.0f, 110.0f, 49.0f},       {2560, 1600, 2, 64.0f, 64.0f, 54.0f},
        {1536, 864, 5, 71.0f, 640.0f / 9, 58.0f},     {800, 600, 0, 53.1f, 160.0f / 3, 49.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.w << "x" << c.h);
        const SceneLayout l = LayoutFor(c.w, c.h);
        EXPECT_EQ(l.resolutionIndex, c.index);
        EXPECT_FLOAT_EQ(l.picture.scaleX, c.scaleX);
        EXPECT_FLOAT_EQ(l.picture.coverX, c.coverX);
        EXPECT_FLOAT_EQ(l.picture.scaleY, 40.0f);
        EXPECT_FLOAT_EQ(l.tank.right, c.tankHalf);
        EXPECT_FLOAT_EQ(l.tank.left, -c.tankHalf);
        EXPECT_FLOAT_EQ(l.tank.top - l.tank.bottom, 42.0f);
        EXPECT_FLOAT_EQ(l.fishHalfWidth, 50.0f);
    }
    // The rows rise from the bottom in steps of 7 (42 * 1.5 / 9, truncated).
    ProbePoint columns[ProbeColumnCount], rows[ProbeRowCount];
    PlaceProbeStrips(LayoutFor(1680, 1050), columns, rows);
    for (int j = 0; j < ProbeRowCount; ++j) EXPECT_FLOAT_EQ(rows[j].y, -21.0f + 7.0f * j);
}

TEST(FrameLight, LevelFollowsTheLightSettingWithoutOverflow) {
    const struct {
        int setting;
        float level;
    } cases[] = {{0, 1.0f}, {100, 0.0f}, {25, 0.75f}, {INT_MIN, (100.0f - float(INT_MIN)) * 0.01f}};
    for (const auto& c : cases) EXPECT_FLOAT_EQ(LightLevel(c.setting), c.level) << c.setting;  // UBSan watches
}

namespace {

// Draws one frame's view part (projection, camera, light, back wall) as the view does.
void DrawWall(OsMesaContext& gl, BackWall& wall, const Settings& s, const WallRect& box) {
    InitSceneState();
    glViewport(0, 0, gl.width(), gl.height());
    ApplyFrameProjection(gl.width(), gl.height());
    ApplyFrameCamera(-5.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    ApplyFrameLight(s);
    wall.Draw(s, box);
    glDisable(GL_LIGHTING);
}

}  // namespace

// A solid green wall, darkened by the light setting, and no layer leaving the clear colour (the
// other layers: the whole-frame checksums and test_settings.sh).
TEST(BackWallRender, SolidLayerAndTheLightDarkening) {
    OsMesaContext gl(160, 120);
    ASSERT_TRUE(gl.ok());
    const struct {
        int fixed, light;
        char want;  // 'G' bright green alone, 'd' dark, '0' black
    } cases[] = {{1, 0, 'G'}, {1, 100, 'd'}, {0, 0, '0'}};  // no light: dark but for the global ambient
    for (const auto& c : cases) {
        Settings s = {};
        s.backFixed = c.fixed;
        s.backColor = 0x0000FF00;
        s.lightIntensity = c.light;
        BackWall wall;
        DrawWall(gl, wall, s, LayoutFor(1024, 768).wall);
        for (int row : {117, 60, 2}) {
            const auto p = gl.pixel(80, row);
            SCOPED_TRACE(::testing::Message() << c.want << " row " << row << ": " << int(p.r) << " "
                                              << int(p.g) << " " << int(p.b));
            if (c.want == 'G') { EXPECT_TRUE(p.g > 200 && p.r < 60 && p.b < 60); }
            if (c.want == 'd') { EXPECT_LT(p.g, 80); }
            if (c.want == '0') { EXPECT_EQ(p.r + p.g + p.b, 0); }
        }
    }
}

TEST(BackWallRender, CyclingStartsFromTheSavedPhasePublishesItAndWraps) {
    OsMesaContext gl(64, 48);
    ASSERT_TRUE(gl.ok());
    Settings s = {};
    s.backAuto = 1;
    s.lockBackPhase = 100.0f;
    BackWall wall;
    DrawWall(gl, wall, s, LayoutFor(1024, 768).wall);
    EXPECT_TRUE(wall.Started());
    EXPECT_FLOAT_EQ(wall.Phase(), 100.2f);
    EXPECT_FLOAT_EQ(backCyclePhase, 100.2f);  // (going on frame by frame shows in the checksums)
    s.lockBack = 1;  // locked: the colours stay at the stored phase
    DrawWall(gl, wall, s, LayoutFor(1024, 768).wall);
    EXPECT_FLOAT_EQ(wall.Phase(), 100.2f);
    EXPECT_FLOAT_EQ(BackWall::AdvancePhase(9999.9f, false), 0.0f);  // reaches 10000: back to 0
}
