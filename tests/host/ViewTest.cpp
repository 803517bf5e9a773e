// The view's own share of a frame: the screen-size tables, the probe strips, the light level and
// the back-wall colour layers, drawn through an off-screen context.
#include <gtest/gtest.h>

#include <climits>

#include "OsMesa.h"
#include "settings/Settings.h"
#include "view/FrameRender.h"
#include "scene/ViewLayout.h"

// Each probe column sweeps five units either way of its place, so neighbours may be at most ten
// apart and the last one must reach the right wall. A 98-wide tank used to get columns one unit
// apart that stopped in its middle.
TEST(ViewLayout, ScreenTablesTheirFallbacksAndProbeColumnsCoveringTheTank) {
    // width, height, resolution index, tank half width after widening; unlisted sizes fall back.
    // (1024 x 768, 1366 x 768 and 1920 x 1080 show in the whole-frame checksums and PictureCover.)
    const int cases[][4] = {{1280, 1024, 1, 49}, {1680, 1050, 2, 54}, {1440, 900, 3, 55}, {1280, 800, 4, 49},
                            {1600, 900, 5, 58},  {1152, 864, 1, 49},  {768, 1024, 1, 49}, {800, 600, 1, 49}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c[0] << "x" << c[1]);
        EXPECT_EQ(ResolutionIndexFor(c[0], c[1]), c[2]);
        const TankBox box = TankBoxFor(c[0], c[1]);
        EXPECT_FLOAT_EQ(box.left, -c[3]);
        EXPECT_FLOAT_EQ(box.right, c[3]);
        EXPECT_FLOAT_EQ(box.top - box.bottom, 42);
        ProbePoint columns[ProbeColumnCount];
        PlaceProbeColumns(box, columns);
        EXPECT_FLOAT_EQ(columns[0].x, box.left);
        EXPECT_FLOAT_EQ(columns[ProbeColumnCount - 1].x, box.right);
        for (int i = 1; i < ProbeColumnCount; ++i) {
            EXPECT_GT(columns[i].x, columns[i - 1].x);
            EXPECT_LE(columns[i].x - columns[i - 1].x, 10.0f);
        }
    }
    EXPECT_FLOAT_EQ(BackgroundScaleFor(-1), 49.9f);  // the listed ones show in PictureCover's rows
    // The rows rise from the bottom in steps of 7 (42 * 1.5 / 9, truncated).
    ProbePoint rows[ProbeRowCount];
    PlaceProbeRows(TankBoxFor(1680, 1050), rows);
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
void DrawWall(OsMesaContext& gl, BackWall& wall, const Settings& s, const TankBox& box) {
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
// gradient and cycling layers are in the whole-frame checksums and test_settings.sh). Checked at
// the top, middle and bottom of a 160 x 120 view.
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
        DrawWall(gl, wall, s, TankBoxFor(1024, 768));
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
    DrawWall(gl, wall, s, TankBoxFor(1024, 768));
    EXPECT_TRUE(wall.Started());
    EXPECT_FLOAT_EQ(wall.Phase(), 100.2f);
    EXPECT_FLOAT_EQ(backCyclePhase, 100.2f);  // (going on frame by frame shows in the checksums)
    s.lockBack = 1;  // locked: the colours stay at the stored phase
    DrawWall(gl, wall, s, TankBoxFor(1024, 768));
    EXPECT_FLOAT_EQ(wall.Phase(), 100.2f);
    EXPECT_FLOAT_EQ(BackWall::AdvancePhase(9999.9f, false), 0.0f);  // reaches 10000: back to 0
}
