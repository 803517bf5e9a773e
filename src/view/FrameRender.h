#pragma once
// The parts of a frame that belong to the view itself: projection, camera, light and the
// back-wall colour layers.
#include "GL.h"
#include "fish/School.h"
#include "scene/RippleSurface.h"
#include "settings/Settings.h"
#include "scene/ViewLayout.h"

// The fixed OpenGL state of the scene: texturing, smooth shading, the clear values, depth test,
// light 1 (white, from the upper right front), colour material and blending.
void InitSceneState();

// Exponential white fog, as the scene starts with it.
void InitFog();

// The perspective for a screen of width x height: 0.4 is the half-size of the shorter side.
void ApplyFrameProjection(int width, int height);
// The same frustum multiplied onto the current matrix (picking puts its region in front of it).
void MultFrameFrustum(int width, int height);

// Eye at (0, 0, cameraOffset - 5) looking down -z.
void ApplyFrameCamera(float cameraOffset);

// (100 - lightIntensity) / 100: 1 at 0, 0 at 100.
float LightLevel(int lightIntensity);

// Light 1's ambient and diffuse from the light setting; switches lighting on.
void ApplyFrameLight(const Settings& settings);

// The fish and the background picture of one frame (`picture` may be null), in the order that
// draws least. The fish move first (their random draws come before the picture's) and their
// geometry is kept. When all of it lies in front of the picture, the picture is drawn first
// without the depth test, and the fish over it: the same pixels as drawing the fish first and the
// picture behind them, without a depth test for the largest surface of the frame. Otherwise the
// fish are drawn first. Where LitColourIsWhite, the textures replace the lit colour. `stage` is
// called with "fish_moves", "fish" and "picture" after each step (the instrumented build times
// them).
void DrawFishAndPicture(School& school, const Settings& settings, const GLuint skins[SpeciesCount], int mode,
                        RippleSurface* picture, GLuint pictureTexture, const PicturePlane& plane, int width,
                        int height, void (*stage)(const char*));

// A layer's four corner colours, in the order bottom-left, bottom-right, top-right, top-left.
struct WallColours {
    float rgb[4][3];
};

// The colours of the cycling layer at phase t.
WallColours CycleColours(float t);

// A rectangle of window pixels: columns x0 .. x1 - 1, rows y0 .. y1 - 1 (from the bottom).
struct PixelRect {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    bool Empty() const { return x1 <= x0 || y1 <= y0; }
    bool Whole(int width, int height) const { return x0 <= 0 && y0 <= 0 && x1 >= width && y1 >= height; }
};

// The pixels that a rectangle facing the camera (at depth z, from left to right and bottom to
// top) is certain to cover on a screen of width x height seen from the camera with
// `cameraOffset`: every pixel whose centre lies inside its outline by a quarter pixel.
PixelRect PlaneCover(int width, int height, float cameraOffset, float z, float left, float right, float bottom,
                     float top);

// The same for the background picture: the plane at z = -110 reaching plane.coverX to either
// side and plane.scaleY up and down.
PixelRect PictureCover(int width, int height, float cameraOffset, const PicturePlane& plane);

// False when the picture (drawn over `pictureCover`) or the back wall is certain to give every
// pixel its colour in this frame: each replaces the colour of every pixel it covers, so clearing
// the colour buffer first would change nothing. (The depth buffer is cleared whatever this says.)
bool ColourClearNeeded(const Settings& settings, const WallRect& wall, const PixelRect& pictureCover, int width,
                       int height, float cameraOffset);

// True when lighting leaves every vertex opaque white: the light at 85 % or more (its ambient
// part alone then reaches full strength) and the current colour opaque white. Modulating a
// texture by that colour changes nothing, so the texture's colours may simply replace it
// (GL_REPLACE), which spares a software rasteriser the colour at every pixel.
bool LitColourIsWhite(const Settings& settings);

// The back wall: up to three layers (solid, gradient, cycling) behind the tank.
class BackWall {
public:
    // Draws the layers the settings switch on; advances the cycling phase by one frame. Pixels
    // in `hidden` (where the background picture will be drawn over the wall in this frame) are
    // left out.
    void Draw(const Settings& settings, const WallRect& wall, const PixelRect& hidden = PixelRect());

    // Keeps the cycling phase to this wall: by default each frame's phase also goes to
    // backCyclePhase, which the Aquarium Settings dialog saves; only the main view's wall does that.
    void KeepPhasePrivate() { publishes_ = false; }

    // Some layer is switched on.
    static bool Shown(const Settings& settings);
    // The pixels the wall is certain to cover (where its layers are drawn).
    static PixelRect Cover(const WallRect& wall, int width, int height, float cameraOffset);

    // The cycling phase; initialised from "LOCKBACK ROT" the first time the layer is drawn.
    float Phase() const { return phase_; }
    bool Started() const { return started_; }

    // One frame of the cycling phase: +0.2 unless locked, back to 0 at 10000.
    static float AdvancePhase(float t, bool locked);

private:
    bool started_ = false;
    bool publishes_ = true;
    float phase_ = 0.0f;
};
